#include "formats/PicturePreview.h"

#include "formats/EmbeddedPreview.h"
#include "formats/HeifDecoder.h"
#include "formats/PictureFormats.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>
#include <QTransform>

#include <algorithm>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace PicturePreview {

namespace {

const QString kNothing = QStringLiteral("No preview in this file");
// The photo view is small; a cached preview needs no more than this.
const QSize kCachedBound(1600, 1600);
constexpr int kCacheFiles = 300;

bool IsRegularFile(const QByteArray& path) {
    struct stat info {};
    return stat(path.constData(), &info) == 0 && S_ISREG(info.st_mode);
}

// Exif orientation 2 to 8 turned into an upright picture.
QImage Upright(const QImage& image, int orientation) {
    const bool mirror =
        orientation == 2 || orientation == 4 || orientation == 5 || orientation == 7;
    QImage out = mirror ? image.mirrored(true, false) : image;
    int degrees = 0;
    switch (orientation) {
    case 3:
        degrees = 180;
        break;
    case 4:
        degrees = 180; // mirrored, then turned half: mirrored top to bottom
        break;
    case 5:
    case 8:
        degrees = 270;
        break;
    case 6:
    case 7:
        degrees = 90;
        break;
    default:
        break;
    }
    return degrees == 0 ? out : out.transformed(QTransform().rotate(degrees));
}

QImage Read(QImageReader& reader, QSize bound) {
    const QSize size = reader.size();
    if (bound.isValid() && size.isValid() &&
        (size.width() > bound.width() || size.height() > bound.height()))
        reader.setScaledSize(size.scaled(bound, Qt::KeepAspectRatio));
    QImage image = reader.read();
    if (!image.isNull() && bound.isValid() &&
        (image.width() > bound.width() || image.height() > bound.height()))
        image = image.scaled(bound, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image;
}

QImage FromJpeg(const QByteArray& data, int orientation, QSize bound) {
    if (data.isEmpty())
        return QImage();
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "jpeg");
    // The file's own orientation counts, not that of the picture inside it.
    reader.setAutoTransform(false);
    if (orientation >= 5 && bound.isValid()) // turned a quarter: the bound turns too
        bound.transpose();
    return Upright(Read(reader, bound), orientation);
}

// Decodes path with Qt's own readers; opened by its bytes, so every name works.
QImage Decode(const QByteArray& path, QSize bound) {
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return QImage();
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return QImage();
    }
    QImageReader reader(&file);
    reader.setAutoTransform(true);
    return Read(reader, bound);
}

// One colour all over (within JPEG's noise): a placeholder some cameras keep.
bool IsFlat(const QImage& image) {
    if (image.isNull())
        return false;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const QRgb first = rgb.pixel(0, 0);
    const int stepX = std::max(1, rgb.width() / 64), stepY = std::max(1, rgb.height() / 64);
    for (int y = 0; y < rgb.height(); y += stepY)
        for (int x = 0; x < rgb.width(); x += stepX) {
            const QRgb pixel = rgb.pixel(x, y);
            if (std::abs(qRed(pixel) - qRed(first)) > 4 ||
                std::abs(qGreen(pixel) - qGreen(first)) > 4 ||
                std::abs(qBlue(pixel) - qBlue(first)) > 4)
                return false;
        }
    return true;
}

// The best of a file's JPEGs that shows something: not one flat colour, and not smaller
// than bound when a larger one is there; a flat or small one only when all are.
QImage Shown(const EmbeddedPreview::Jpeg& found, QSize bound) {
    QImage fallback;
    for (const QByteArray& data : QList<QByteArray>{found.data} + found.others) {
        const QImage image = FromJpeg(data, found.orientation, bound);
        if (image.isNull())
            continue;
        const bool flat = IsFlat(image);
        const bool small =
            bound.isValid() && image.width() < bound.width() && image.height() < bound.height();
        if (!flat && !small)
            return image;
        if (fallback.isNull() || (IsFlat(fallback) && !flat))
            fallback = image;
    }
    return fallback;
}

QImage Embedded(const QByteArray& path, EmbeddedPreview::Size size, QSize bound) {
    const QList<EmbeddedPreview::Jpeg> found = EmbeddedPreview::Extract({path}, size);
    return found.isEmpty() ? QImage() : Shown(found[0], bound);
}

// Keeps the cache small: the oldest previews go first.
void Trim(const QString& folder) {
    QDir dir(folder);
    const QFileInfoList files =
        dir.entryInfoList({QStringLiteral("*.jpg")}, QDir::Files, QDir::Time | QDir::Reversed);
    for (int i = 0; i + kCacheFiles < files.size(); ++i)
        QFile::remove(files[i].filePath());
}

} // namespace

Result Make(const QByteArray& path, QSize bound) {
    Result result;
    if (!IsRegularFile(path)) {
        result.why = kNothing;
        return result;
    }
    QString decoderWhy;
    if (PictureFormats::IsHeif(path)) {
        const HeifDecoder::Result decoded = HeifDecoder::Picture(path, bound);
        result.image = decoded.image;
        decoderWhy = decoded.why;
        if (result.image.isNull())
            result.image = Embedded(path, EmbeddedPreview::Size::Largest, bound);
    } else if (PictureFormats::IsRaw(path)) {
        result.image = Embedded(path, EmbeddedPreview::Size::Largest, bound);
        if (result.image.isNull())
            result.image = Decode(path, bound);
    } else {
        result.image = Decode(path, bound);
        if (result.image.isNull())
            result.image = Embedded(path, EmbeddedPreview::Size::Largest, bound);
    }
    if (result.image.isNull())
        result.why =
            decoderWhy.isEmpty() ? kNothing : kNothing + QStringLiteral(" (") + decoderWhy + ')';
    return result;
}

QList<QImage> Thumbnails(const QList<QByteArray>& paths, QSize bound) {
    QList<QImage> thumbnails(paths.size());
    QList<QByteArray> inside;
    QList<int> insideRows;
    for (int row = 0; row < paths.size(); ++row) {
        const QByteArray& path = paths[row];
        if (!IsRegularFile(path))
            continue;
        if (PictureFormats::IsHeif(path)) {
            thumbnails[row] = HeifDecoder::Thumbnail(path, bound).image;
        } else if (!PictureFormats::IsRaw(path)) {
            thumbnails[row] = Decode(path, bound);
        }
        if (thumbnails[row].isNull()) {
            inside << path;
            insideRows << row;
        }
    }
    const QList<EmbeddedPreview::Jpeg> found =
        EmbeddedPreview::Extract(inside, EmbeddedPreview::Size::Smallest);
    for (int i = 0; i < found.size(); ++i) {
        QImage image = Shown(found[i], bound);
        // A RAW file whose only picture is a plain one that Qt reads.
        if (image.isNull() && PictureFormats::IsRaw(inside[i]))
            image = Decode(inside[i], bound);
        thumbnails[insideRows[i]] = image;
    }
    return thumbnails;
}

QString CachedPreviewFile(const QByteArray& path, QString* why) {
    struct stat info {};
    if (stat(path.constData(), &info) != 0 || !S_ISREG(info.st_mode)) {
        if (why)
            *why = kNothing;
        return QString();
    }
    const QString folder = EmbeddedPreview::CacheFolder();
    if (folder.isEmpty()) {
        if (why)
            *why = QStringLiteral("No private folder for previews could be made");
        return QString();
    }
    // A new version of the picture (written, replaced) gets a preview of its own.
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(path);
    hash.addData(QByteArray::number(qint64(info.st_size)) + ' ' +
                 QByteArray::number(qint64(info.st_mtim.tv_sec)) + '.' +
                 QByteArray::number(qint64(info.st_mtim.tv_nsec)) + ' ' +
                 QByteArray::number(qulonglong(info.st_ino)));
    const QString file = folder + '/' + QString::fromLatin1(hash.result().toHex()) + ".jpg";
    if (QFileInfo::exists(file))
        return file;
    const Result made = Make(path, kCachedBound);
    if (made.image.isNull()) {
        if (why)
            *why = made.why;
        return QString();
    }
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || !made.image.save(&out, "JPG", 90) || !out.commit()) {
        if (why)
            *why = QStringLiteral("The preview could not be saved in ") + folder;
        return QString();
    }
    Trim(folder);
    return file;
}

} // namespace PicturePreview
