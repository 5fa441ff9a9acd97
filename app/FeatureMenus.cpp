#include "app/FeatureMenus.h"

#include "app/help/HelpMenu.h"

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
    // Help stays last, also for a menu added after it.
    auto* menu = new QMenu(title, menuBar);
    QAction* help = menuBar->findChild<QAction*>(QStringLiteral("helpMenu"));
    menuBar->insertMenu(help, menu);
    return menu;
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
    AddFormatsMenu(mainWindow);
    AddHelpMenu(mainWindow);
}
