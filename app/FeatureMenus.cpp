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

QAction* AddMenuEntry(QMenu* menu, const QString& text, const char* objectName) {
    QAction* action = menu->addAction(text);
    action->setObjectName(QString::fromLatin1(objectName));
    return action;
}

void AddFeatureMenus(QWidget* mainWindow) {
    AddPicturesMenu(mainWindow);
    AddPlacesMenu(mainWindow);
    AddTrackMenu(mainWindow);
    AddWhereMenus(mainWindow);
    AddFormatsMenu(mainWindow);
}
