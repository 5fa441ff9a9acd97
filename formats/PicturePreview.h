#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

// A picture to look at for any listed format: the embedded preview of a RAW file, a
// decoded TIFF, PNG or WebP, a HEIC decoded by libheif or its embedded thumbnail. Each
// call may run child processes and decode large files: call it off the user-interface
// thread.
namespace PicturePreview {

struct Result {
    QImage image; // upright; null when the file holds nothing to show
    QString why;  // when image is null
};

// The picture at full size, or scaled to fit within bound when bound is valid.
Result Make(const QByteArray& path, QSize bound = QSize());

// Thumbnails of many files, fitting within bound; one ExifTool run for all the files
// whose thumbnail comes from inside them.
QList<QImage> Thumbnails(const QList<QByteArray>& paths, QSize bound);

// The preview as a JPEG file in the private cache folder, made once per version of the
// picture (its name, size and change time); empty with why when there is nothing to show.
QString CachedPreviewFile(const QByteArray& path, QString* why);

} // namespace PicturePreview
