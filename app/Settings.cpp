#include "app/Settings.h"

#include "base/SettingsFile.h"

#include <QSettings>

#include <cstdio>

StoredSettings ReadSettings() {
    StoredSettings stored;
    QSettings settings = OpenSettingsFile();
    settings.beginGroup(QStringLiteral("Kartavo"));
    // A value that is not a number counts as absent, like a missing key.
    stored.xPos = settings.value(QStringLiteral("xPos"), 0).toInt();
    stored.yPos = settings.value(QStringLiteral("yPos"), 0).toInt();
    const QByteArray position = settings.value(QStringLiteral("Position")).toString().toUtf8();
    snprintf(stored.szPosition, sizeof stored.szPosition, "%s", position.constData());
    return stored;
}

void SaveSettings(int xPos, int yPos, const std::optional<std::string>& position) {
    QSettings settings = OpenSettingsFile();
    settings.beginGroup(QStringLiteral("Kartavo"));
    settings.setValue(QStringLiteral("xPos"), QString::number(xPos));
    settings.setValue(QStringLiteral("yPos"), QString::number(yPos));
    if (position)
        settings.setValue(QStringLiteral("Position"), QString::fromStdString(*position));
    else
        settings.remove(QStringLiteral("Position"));
    settings.endGroup();
    settings.sync();
}

std::string SettingsFilePath() {
    return OpenSettingsFile().fileName().toStdString();
}
