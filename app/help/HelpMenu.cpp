#include "app/help/HelpMenu.h"

#include "app/FeatureMenus.h"
#include "app/help/AboutDialog.h"
#include "app/help/ShortcutsWindow.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

void AddHelpMenu(QWidget* mainWindow) {
    auto* menuBar = mainWindow->findChild<QMenuBar*>(QStringLiteral("menuBar"));
    if (menuBar == nullptr)
        return;
    QMenu* menu = menuBar->addMenu(QObject::tr("&Help"));
    menu->menuAction()->setObjectName(QStringLiteral("helpMenu"));
    QPointer<QWidget> main(mainWindow);
    QObject::connect(AddMenuEntry(menu, QObject::tr("&Keyboard Shortcuts"), "keyboardShortcuts"),
                     &QAction::triggered, menu, [main] { ShowShortcutsWindow(main); });
    QObject::connect(AddMenuEntry(menu, QObject::tr("&About Kartavo"), "aboutKartavo"),
                     &QAction::triggered, menu, [main] { ShowAboutDialog(main); });
}
