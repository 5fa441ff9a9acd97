#pragma once

#include <QByteArray>
#include <QTemporaryFile>

#include <memory>

// The embedded thumbnails of a batch read, kept in a temporary file rather than in
// memory: a year of pictures carries hundreds of megabytes of them (a RAW file's preview
// may be a quarter of a megabyte), while the list shows a screenful. The file goes with
// the last thumbnail that points into it.
class ThumbnailStore {
public:
    // A new empty file in the temporary folder, or nullptr when none can be made.
    static std::shared_ptr<const ThumbnailStore> Make();

    QString Path() const { return m_file.fileName(); }
    // Safe from any thread; empty when the bytes cannot be read.
    QByteArray Read(qint64 offset, qint64 length) const;

private:
    ThumbnailStore() = default;
    QTemporaryFile m_file;
};

// A picture's embedded thumbnail: its bytes in hand, or where they are, in a store or in
// the picture itself.
struct EmbeddedThumbnail {
    QByteArray bytes;
    std::shared_ptr<const ThumbnailStore> store;
    QByteArray picture; // the file's name, as its own bytes
    qint64 offset = 0;
    qint64 length = 0;

    bool IsEmpty() const { return bytes.isEmpty() && length <= 0; }
    // Empty when they cannot be read, or are no JPEG picture.
    QByteArray Bytes() const;
};
