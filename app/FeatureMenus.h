#pragma once

#include <QKeySequence>

class QAction;
class QMenu;
class QString;
class QWidget;

// The main window's menu of that title (in English or as shown), added before Help when
// it is not there yet.
QMenu* MainMenu(QWidget* mainWindow, const QString& englishOrShownTitle);

// A new entry at the end of menu, with an object name for tests and accessibility, and a
// shortcut that works in every window of the program.
QAction* AddMenuEntry(QMenu* menu, const QString& text, const char* objectName,
                      const QKeySequence& shortcut = QKeySequence());

// Each area beside the main window adds its own menu entries; called once at start-up.
void AddFeatureMenus(QWidget* mainWindow);

// One per area, each in its own file.
void AddPicturesMenu(QWidget* mainWindow);
void AddPlacesMenu(QWidget* mainWindow);
void AddTrackMenu(QWidget* mainWindow);
// Other sources of where pictures were taken, and the names of those places.
void AddWhereMenus(QWidget* mainWindow);
// Picture formats: where positions are written, below the Picture menu's entries.
void AddFormatsMenu(QWidget* mainWindow);
