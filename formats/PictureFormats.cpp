#include "formats/PictureFormats.h"

#include "base/SettingsFile.h"

#include <QSettings>

namespace PictureFormats {

namespace {

const QString kGroup = QStringLiteral("Formats");
const QString kTargetKey = QStringLiteral("WriteInto");
const QString kNameKey = QStringLiteral("SidecarName");

struct Choice {
    const char* stored;
    int value;
};
constexpr Choice kTargets[] = {{"picture", int(WriteTarget::Picture)},
                               {"sidecar", int(WriteTarget::Sidecar)},
                               {"picture-except-raw", int(WriteTarget::PictureExceptRaw)}};
constexpr Choice kNames[] = {{"NAME.xmp", int(SidecarName::Base)},
                             {"NAME.EXT.xmp", int(SidecarName::Full)}};

template <std::size_t N> int Parse(const Choice (&choices)[N], const QString& text, int fallback) {
    for (const Choice& choice : choices) {
        if (text == QLatin1String(choice.stored))
            return choice.value;
    }
    return fallback;
}

template <std::size_t N> QString Stored(const Choice (&choices)[N], int value) {
    for (const Choice& choice : choices) {
        if (choice.value == value)
            return QLatin1String(choice.stored);
    }
    return QString();
}

// "*.[jJ][pP][gG]": the dialog's patterns match in any letter case.
QString AnyCasePattern(const QString& extension) {
    QString pattern = QStringLiteral("*.");
    for (const QChar c : extension) {
        if (c.isLetter())
            pattern += QLatin1Char('[') + c.toLower() + c.toUpper() + QLatin1Char(']');
        else
            pattern += c;
    }
    return pattern;
}

// The name without its folder.
QByteArray FileName(const QByteArray& path) {
    return path.mid(path.lastIndexOf('/') + 1);
}

} // namespace

const QStringList& RawExtensions() {
    static const QStringList raw{"dng", "cr2", "cr3", "crw", "nef", "nrw", "arw", "arq",
                                 "sr2", "orf", "ori", "rw2", "rwl", "pef", "raf", "srw",
                                 "mrw", "erf", "x3f", "iiq", "mef", "mos", "fff"};
    return raw;
}

const QStringList& WritableExtensions() {
    static const QStringList writable = QStringList{"jpg",  "jpeg", "jpe",  "tif", "tiff", "png",
                                                    "webp", "heic", "heif", "hif", "avif"} +
                                        RawExtensions();
    return writable;
}

const QStringList& UnwritableExtensions() {
    static const QStringList unwritable{"bmp", "dib", "gif"};
    return unwritable;
}

QStringList ScanPatterns() {
    QStringList patterns;
    for (const QString& extension : WritableExtensions() + UnwritableExtensions())
        patterns << QStringLiteral("*.") + extension;
    return patterns;
}

QString DialogPatterns() {
    QStringList patterns;
    for (const QString& extension : WritableExtensions() + UnwritableExtensions())
        patterns << AnyCasePattern(extension);
    return patterns.join(QLatin1Char(' '));
}

QString Extension(const QByteArray& path) {
    const QByteArray name = FileName(path);
    const int dot = name.lastIndexOf('.');
    // ".xmp" alone is a hidden file's name, not an extension.
    return dot <= 0 ? QString() : QString::fromUtf8(name.mid(dot + 1)).toLower();
}

bool IsListed(const QByteArray& path) {
    const QString extension = Extension(path);
    return WritableExtensions().contains(extension) || UnwritableExtensions().contains(extension);
}

bool IsRaw(const QByteArray& path) {
    return RawExtensions().contains(Extension(path));
}

bool IsHeif(const QByteArray& path) {
    static const QStringList heif{"heic", "heif", "hif", "avif"};
    return heif.contains(Extension(path));
}

bool PageShows(const QByteArray& path) {
    static const QStringList shown{"jpg", "jpeg", "jpe", "png", "webp", "gif", "bmp", "dib"};
    return shown.contains(Extension(path));
}

QString UnwritableReason(const QByteArray& path) {
    const QString extension = Extension(path);
    if (WritableExtensions().contains(extension))
        return QString();
    if (extension == QLatin1String("bmp") || extension == QLatin1String("dib"))
        return QStringLiteral("BMP pictures have no place for a position; "
                              "choose an XMP sidecar to keep one beside it");
    if (extension == QLatin1String("gif"))
        return QStringLiteral("GIF pictures have no place for GPS tags; "
                              "choose an XMP sidecar to keep one beside it");
    return QStringLiteral("A position cannot be written into this kind of file");
}

WriteSetting ReadWriteSetting() {
    QSettings settings = OpenSettingsFile();
    settings.beginGroup(kGroup);
    WriteSetting setting;
    setting.target =
        WriteTarget(Parse(kTargets, settings.value(kTargetKey).toString(), int(setting.target)));
    setting.name =
        SidecarName(Parse(kNames, settings.value(kNameKey).toString(), int(setting.name)));
    return setting;
}

void SaveWriteSetting(const WriteSetting& setting) {
    QSettings settings = OpenSettingsFile();
    settings.beginGroup(kGroup);
    settings.setValue(kTargetKey, Stored(kTargets, int(setting.target)));
    settings.setValue(kNameKey, Stored(kNames, int(setting.name)));
    settings.endGroup();
    settings.sync();
}

QByteArray SidecarPath(const QByteArray& picture, SidecarName name) {
    if (name == SidecarName::Full)
        return picture + ".xmp";
    const int slash = picture.lastIndexOf('/');
    const int dot = picture.lastIndexOf('.');
    // A dot that starts the name or lies in a folder's name is no extension's.
    const QByteArray base = dot > slash + 1 ? picture.left(dot) : picture;
    return base + ".xmp";
}

QList<QByteArray> SidecarCandidates(const QByteArray& picture, SidecarName preferred) {
    const SidecarName other =
        preferred == SidecarName::Base ? SidecarName::Full : SidecarName::Base;
    return {SidecarPath(picture, preferred), SidecarPath(picture, other)};
}

bool WritesSidecar(const QByteArray& picture, const WriteSetting& setting) {
    switch (setting.target) {
    case WriteTarget::Sidecar:
        return true;
    case WriteTarget::PictureExceptRaw:
        return IsRaw(picture);
    case WriteTarget::Picture:
        break;
    }
    return false;
}

} // namespace PictureFormats
