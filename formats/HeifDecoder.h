#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

// HEIC, HEIF and AVIF pictures decoded by libheif in this process, as the file says to
// show them (turned, mirrored and cropped). A whole picture takes a moment to decode:
// call these off the window's thread. Safe to call from several threads at once.
namespace HeifDecoder {

struct Result {
    QImage image; // null when the file cannot be decoded
    QString why;  // libheif's reason, when image is null
};

// The file's main picture, scaled to fit within bound when bound is valid.
Result Picture(const QByteArray& path, QSize bound = QSize());

// A picture fitting within bound, from the smallest thumbnail the file carries that fills
// bound; the main picture decoded when it has none.
Result Thumbnail(const QByteArray& path, QSize bound);

} // namespace HeifDecoder
