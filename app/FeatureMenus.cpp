#include "app/FeatureMenus.h"

#include "app/help/HelpMenu.h"

#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QString>
#include <QWidget>

QMenu* MainMenu(QWidget* mainWindow, const QString& englishOrShownTitle) {
    auto* menuBar = mainWindow->findChild<QMenuBar*>(QStringLiteral("menuBar"));
    if (menuBar == nullptr)
        return nullptr;
    // Menus are found by the title they show, in the user's language.
    const QString title =
        QCoreApplication::translate("QObject", englishOrShownTitle.toUtf8().constData());
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
    AddHelpMenu(mainWindow);
}
