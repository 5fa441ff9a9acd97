#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QtEndian>

// Pictures of every format for the tests, made by the tests: ImageMagick and libheif's
// encoder for the formats, ExifTool for their tags, and a small camera RAW file with an
// embedded JPEG preview written here byte by byte.
namespace FormatPictures {

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

inline Run RunTool(const QString& program, const QStringList& args, const QByteArray& input = {}) {
    QProcess process;
    process.start(program, args);
    Run run;
    if (!process.waitForStarted(10000))
        return run;
    if (!input.isEmpty())
        process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(120000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

// A picture with some detail, so that its image data is not trivial.
inline QImage Drawing(int width, int height, const QColor& ground = Qt::darkCyan) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(ground);
    QPainter painter(&image);
    painter.fillRect(width / 8, height / 6, width / 2, height / 3, Qt::yellow);
    painter.setPen(Qt::red);
    painter.drawLine(0, height - 1, width - 1, 0);
    painter.end();
    return image;
}

// Camera-like tags, so that a write can be seen to keep what was there.
inline bool TagLikeACamera(const QString& path) {
    return RunTool("exiftool", {"-q", "-overwrite_original", "-Make=TestMaker", "-Model=Model 7",
                                "-DateTimeOriginal=2021:06:05 14:30:00", "-Artist=Kim",
                                "-ImageDescription=kept", path})
               .exitCode == 0;
}

// format: an ImageMagick format (tiff, png, webp, bmp, gif) or heic (libheif's encoder).
inline bool Make(const QString& path, const QString& format, bool tags = true) {
    const QString source = path + ".source.png";
    if (!Drawing(96, 64).save(source, "PNG"))
        return false;
    Run made = format == "heic" ? RunTool("heif-enc", {"-q", "80", "-o", path, source})
                                : RunTool("convert", {source, format + ':' + path});
    QFile::remove(source);
    if (made.exitCode != 0) {
        qWarning("could not make %s: %s", qPrintable(path), made.err.constData());
        return false;
    }
    const bool canTag = format != "bmp" && format != "gif";
    return !tags || !canTag || TagLikeACamera(path);
}

// A DNG as a small TIFF given the DNG tags.
inline bool MakeDngFromTiff(const QString& path) {
    return Make(path, "tiff") &&
           RunTool("exiftool", {"-q", "-overwrite_original", "-DNGVersion=1.4.0.0",
                                "-DNGBackwardVersion=1.1.0.0", "-UniqueCameraModel=Model 7", path})
                   .exitCode == 0;
}

namespace detail {

struct Entry {
    quint16 tag;
    quint16 type; // 1 byte, 2 ASCII, 3 short, 4 long
    quint32 count;
    QByteArray value;
};

inline Entry Long(quint16 tag, quint32 value) {
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return {tag, 4, 1, bytes};
}

inline Entry Shorts(quint16 tag, const QList<quint16>& values) {
    QByteArray bytes(2 * values.size(), '\0');
    for (int i = 0; i < values.size(); ++i)
        qToLittleEndian(values[i], bytes.data() + 2 * i);
    return {tag, 3, quint32(values.size()), bytes};
}

inline Entry Ascii(quint16 tag, const QByteArray& text) {
    return {tag, 2, quint32(text.size() + 1), text + '\0'};
}

// An IFD placed at offset, its longer values right after it; entries in tag order.
inline QByteArray Ifd(const QList<Entry>& entries, quint32 offset) {
    const quint32 size = 2 + 12 * entries.size() + 4;
    QByteArray ifd(int(size), '\0');
    QByteArray overflow;
    qToLittleEndian(quint16(entries.size()), ifd.data());
    for (int i = 0; i < entries.size(); ++i) {
        char* at = ifd.data() + 2 + 12 * i;
        qToLittleEndian(entries[i].tag, at);
        qToLittleEndian(entries[i].type, at + 2);
        qToLittleEndian(entries[i].count, at + 4);
        if (entries[i].value.size() <= 4) {
            memcpy(at + 8, entries[i].value.constData(), size_t(entries[i].value.size()));
        } else {
            qToLittleEndian(quint32(offset + size + overflow.size()), at + 8);
            overflow += entries[i].value;
            if (overflow.size() % 2)
                overflow += '\0';
        }
    }
    return ifd + overflow;
}

} // namespace detail

// A small camera RAW file: a DNG whose plain RGB picture is width x height and whose
// SubIFD holds preview (a whole JPEG) the way cameras keep their JpgFromRaw.
// Orientation is the file's own Exif orientation; a thumbnail (a whole JPEG) goes into
// IFD1, as cameras keep theirs.
inline QByteArray RawWithPreview(const QByteArray& preview, int width = 48, int height = 32,
                                 quint16 orientation = 1, const QByteArray& thumbnail = {}) {
    using namespace detail;
    QByteArray pixels;
    const QImage drawing = Drawing(width, height, Qt::darkGreen);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const QRgb rgb = drawing.pixel(x, y);
            pixels += char(qRed(rgb));
            pixels += char(qGreen(rgb));
            pixels += char(qBlue(rgb));
        }
    }
    QByteArray jpeg = preview;
    if (jpeg.size() % 2)
        jpeg += '\0';
    const quint32 pixelsAt = 8;
    const quint32 jpegAt = pixelsAt + quint32(pixels.size());
    const quint32 subIfdAt = jpegAt + quint32(jpeg.size());
    const QImage previewImage = QImage::fromData(preview, "JPG");
    const QByteArray subIfd = Ifd({Long(0xFE, 1), Long(0x100, quint32(previewImage.width())),
                                   Long(0x101, quint32(previewImage.height())), Shorts(0x103, {6}),
                                   Long(0x201, jpegAt), Long(0x202, quint32(preview.size()))},
                                  subIfdAt);
    const quint32 ifd0At = subIfdAt + quint32(subIfd.size());
    const QByteArray ifd0 = Ifd({Long(0xFE, 0),
                                 Long(0x100, quint32(width)),
                                 Long(0x101, quint32(height)),
                                 Shorts(0x102, {8, 8, 8}),
                                 Shorts(0x103, {1}),
                                 Shorts(0x106, {2}),
                                 Ascii(0x10F, "TestMaker"),
                                 Ascii(0x110, "Model 7"),
                                 Long(0x111, pixelsAt),
                                 Shorts(0x112, {orientation}),
                                 Shorts(0x115, {3}),
                                 Long(0x116, quint32(height)),
                                 Long(0x117, quint32(pixels.size())),
                                 Shorts(0x11C, {1}),
                                 Long(0x14A, subIfdAt),
                                 {0xC612, 1, 4, QByteArray("\x01\x04\x00\x00", 4)},
                                 Ascii(0xC614, "Model 7")},
                                ifd0At);
    QByteArray header("II*\0", 4);
    header += QByteArray(4, '\0');
    qToLittleEndian(ifd0At, header.data() + 4);
    QByteArray file = header + pixels + jpeg + subIfd + ifd0;
    if (!thumbnail.isEmpty()) {
        const quint32 thumbAt = quint32(file.size());
        const quint32 ifd1At = thumbAt + quint32(thumbnail.size() + thumbnail.size() % 2);
        const quint16 ifd0Entries = qFromLittleEndian<quint16>(ifd0.constData());
        qToLittleEndian(ifd1At, file.data() + ifd0At + 2 + 12 * ifd0Entries);
        file += thumbnail + QByteArray(thumbnail.size() % 2, '\0');
        file +=
            Ifd({Shorts(0x103, {6}), Long(0x201, thumbAt), Long(0x202, quint32(thumbnail.size()))},
                ifd1At);
    }
    return file;
}

inline QByteArray JpegOf(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 90);
    return bytes;
}

inline bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// ExifTool's FileType of path ("DNG", "HEIC", ...).
inline QString FileType(const QString& path) {
    return QString::fromUtf8(RunTool("exiftool", {"-s3", "-FileType", path}).out).trimmed();
}

// Every tag ExifTool sees, with its group, but those a position write may change: the
// GPS tags, the file system's own, and ExifTool's derived ones.
inline QStringList TagsButPosition(const QString& path) {
    const QStringList lines =
        QString::fromUtf8(RunTool("exiftool", {"-a", "-G1", "-s", "-n", "--System:all",
                                               "--File:all", "--Composite:all", path})
                              .out)
            .split('\n', Qt::SkipEmptyParts);
    QStringList kept;
    for (const QString& line : lines) {
        if (!line.startsWith("[GPS]") && !line.contains(" GPS") && !line.startsWith("[ExifTool]") &&
            !line.startsWith("[XMP-x]"))
            kept << line;
    }
    return kept;
}

// ImageMagick's digest of the decoded pixels; a DNG's own picture is read as the TIFF it is.
inline QString PixelDigest(const QString& path) {
    const QString coder = path.endsWith(".dng") ? "tiff:" : "";
    return QString::fromUtf8(RunTool("identify", {"-format", "%#\n", coder + path}).out)
        .split('\n')
        .value(0);
}

} // namespace FormatPictures
