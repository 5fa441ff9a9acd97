#include "app/LastFolder.h"

#include "base/SettingsFile.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString Key(const QString& kind) {
    return QStringLiteral("Folders/") + kind;
}

} // namespace

QString LastFolder(const QString& kind) {
    const QString folder = OpenSettingsFile().value(Key(kind)).toString();
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QString();
}

void RememberFolder(const QString& kind, const QString& path, bool isFolder) {
    if (path.isEmpty())
        return;
    const QString folder = isFolder ? path : QFileInfo(path).absolutePath();
    OpenSettingsFile().setValue(Key(kind), QDir::cleanPath(folder));
}
