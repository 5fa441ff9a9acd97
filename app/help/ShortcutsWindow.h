#pragma once

#include <QList>
#include <QString>

class QWidget;

struct ShortcutEntry {
    QString where;   // the menu bar, or the window the shortcut works in
    QString command; // "File > Exit", or the action's or button's own text
    QString keys;    // as the desktop writes them, several separated by ", "
};

// Every shortcut the program has now, read from the main window's menus and from the
// actions and buttons of every window made so far, so the list never goes stale.
QList<ShortcutEntry> CollectShortcuts(QWidget* mainWindow);

// One window listing them, made anew each time it is shown.
void ShowShortcutsWindow(QWidget* mainWindow);
