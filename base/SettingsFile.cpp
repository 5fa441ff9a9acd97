#include "base/SettingsFile.h"

QSettings OpenSettingsFile() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Kartavo"),
                     QStringLiteral("Kartavo"));
}
