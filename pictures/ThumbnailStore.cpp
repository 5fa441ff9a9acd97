#include "pictures/ThumbnailStore.h"

#include <QDir>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr qint64 kLargest = 16 * 1024 * 1024;

// pread, not QFile::read: the thumbnail makers read from several threads at once.
QByteArray ReadAt(int fd, qint64 offset, qint64 length) {
    if (fd < 0 || offset < 0 || length <= 0 || length > kLargest)
        return QByteArray();
    QByteArray bytes(length, Qt::Uninitialized);
    qint64 done = 0;
    while (done < length) {
        const ssize_t n = pread(fd, bytes.data() + done, static_cast<size_t>(length - done),
                                static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return QByteArray();
        done += n;
    }
    return bytes;
}

} // namespace

std::shared_ptr<const ThumbnailStore> ThumbnailStore::Make() {
    std::shared_ptr<ThumbnailStore> store(new ThumbnailStore);
    store->m_file.setFileTemplate(QDir::tempPath() + QStringLiteral("/kartavo-thumbnails-XXXXXX"));
    if (!store->m_file.open())
        return nullptr;
    return store;
}

QByteArray ThumbnailStore::Read(qint64 offset, qint64 length) const {
    return ReadAt(m_file.handle(), offset, length);
}

QByteArray EmbeddedThumbnail::Bytes() const {
    if (length <= 0)
        return bytes;
    if (store)
        return store->Read(offset, length);
    const int fd = open(picture.constData(), O_RDONLY | O_CLOEXEC);
    QByteArray found = ReadAt(fd, offset, length);
    if (fd >= 0)
        close(fd);
    // As ExifTool takes an embedded picture: a JPEG, or one whose first byte was lost.
    if (found.size() >= 4 && found.at(0) != '\xff' && found.mid(1, 3) == "\xd8\xff\xdb")
        found[0] = '\xff';
    return found.startsWith("\xff\xd8\xff") ? found : QByteArray();
}
