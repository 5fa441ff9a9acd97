#pragma once

#include <QSettings>

// The one settings file, Kartavo/Kartavo.ini under the user's configuration folder; each
// area keeps its keys in a group of its own.
QSettings OpenSettingsFile();
