#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// What Kartavo knows about picture formats by their file name: which it lists, which
// are camera RAW files, which it can write, and where a sidecar goes.
namespace PictureFormats {

// Lower-case extensions, without the dot, of every picture ExifTool can write.
const QStringList& WritableExtensions();
// The camera RAW formats among them.
const QStringList& RawExtensions();
// Pictures that are listed but cannot hold a position of their own.
const QStringList& UnwritableExtensions();

// Patterns for a folder scan (QDir name filters, any letter case) and for a file
// dialog ("*.[jJ][pP][gG]" form), of every listed picture.
QStringList ScanPatterns();
QString DialogPatterns();

// The extension of path, lower case, without the dot.
QString Extension(const QByteArray& path);
bool IsListed(const QByteArray& path);
bool IsRaw(const QByteArray& path);
// HEIC, HEIF and AVIF: pictures libheif decodes.
bool IsHeif(const QByteArray& path);
// Formats the photo page shows as they are; the rest need a preview made for them.
bool PageShows(const QByteArray& path);
// Why a position cannot be written into path itself, or empty when it can.
QString UnwritableReason(const QByteArray& path);

enum class WriteTarget { Picture, Sidecar, PictureExceptRaw };
enum class SidecarName { Base /* NAME.xmp */, Full /* NAME.EXT.xmp */ };

struct WriteSetting {
    WriteTarget target = WriteTarget::PictureExceptRaw;
    SidecarName name = SidecarName::Base;
};

// In the settings file's group "Pictures.Formats"; a missing or unknown value is the default.
WriteSetting ReadWriteSetting();
void SaveWriteSetting(const WriteSetting& setting);

// The sidecar of picture under that naming.
QByteArray SidecarPath(const QByteArray& picture, SidecarName name);
// Both sidecar names, the chosen one first: where a position may be read from.
QList<QByteArray> SidecarCandidates(const QByteArray& picture, SidecarName preferred);
// True when a position for picture goes into its sidecar under setting. An unwritable
// picture gets one only when the setting asks for sidecars.
bool WritesSidecar(const QByteArray& picture, const WriteSetting& setting);

} // namespace PictureFormats
