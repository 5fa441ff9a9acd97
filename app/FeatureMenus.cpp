#include "app/FeatureMenus.h"

#include <QMenu>
#include <QMenuBar>
#include <QString>
#include <QWidget>

QMenu* MainMenu(QWidget* mainWindow, const QString& title) {
    auto* menuBar = mainWindow->findChild<QMenuBar*>(QStringLiteral("menuBar"));
    if (menuBar == nullptr)
        return nullptr;
    for (QAction* action : menuBar->actions()) {
        if (action->menu() != nullptr && action->text() == title)
            return action->menu();
    }
    return menuBar->addMenu(title);
}

QAction* AddMenuEntry(QMenu* menu, const QString& text, const char* objectName,
                      const QKeySequence& shortcut) {
    QAction* action = menu->addAction(text);
    action->setObjectName(QString::fromLatin1(objectName));
    if (!shortcut.isEmpty()) {
        action->setShortcut(shortcut);
        // The trip window has no menu bar of its own: the same keys work there.
        action->setShortcutContext(Qt::ApplicationShortcut);
    }
    return action;
}

void AddFeatureMenus(QWidget* mainWindow) {
    AddPicturesMenu(mainWindow);
    AddPlacesMenu(mainWindow);
    AddTrackMenu(mainWindow);
    AddWhereMenus(mainWindow);
    AddFormatsMenu(mainWindow);
}
