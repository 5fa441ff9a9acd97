#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Pictures that files carry inside them (the preview of a RAW file, a thumbnail); without
// a window. Each call runs a child process and waits for it: call it off the
// user-interface thread.
namespace EmbeddedPreview {

struct Jpeg {
    QByteArray data;     // a whole JPEG, or empty when the file holds none
    int orientation = 1; // the file's own Exif orientation (1 to 8), for data to follow
    // The file's other JPEGs, next best first, should data be a blank placeholder.
    QList<QByteArray> others;
};

enum class Size { Largest, Smallest };

// The embedded JPEG of each path (the largest in pixels of PreviewImage, JpgFromRaw,
// OtherImage and ThumbnailImage, or the smallest for thumbnails), one ExifTool run for
// all of them. Empty entries where there is none or the run failed; error says why a run
// failed.
QList<Jpeg> Extract(const QList<QByteArray>& paths, Size size, QString* error = nullptr);

// A folder of the user's own (mode 0700) for made previews: under the cache folder, or
// the temporary folder when that cannot be made. Empty when neither can.
QString CacheFolder();

} // namespace EmbeddedPreview
