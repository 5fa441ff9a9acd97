#include "app/FeatureMenus.h"

#include "app/FindPlaceBox.h"
#include "app/PlacesDialog.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QPointer>

void AddPlacesMenu(QWidget* mainWindow) {
    QMenu* menu = MainMenu(mainWindow, QObject::tr("&Map"));
    if (menu == nullptr)
        return;
    QPointer<QWidget> main(mainWindow);
    QAction* find =
        menu->addAction(QObject::tr("&Find Place..."), mainWindow, [] { ShowFindPlaceBox(); });
    find->setObjectName(QStringLiteral("actionFindPlace"));
    find->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    QAction* save = menu->addAction(QObject::tr("&Save This Place..."), mainWindow,
                                    [main] { SaveThisPlace(main); });
    save->setObjectName(QStringLiteral("actionSavePlace"));
    QAction* places =
        menu->addAction(QObject::tr("&Places..."), mainWindow, [main] { ShowPlacesDialog(main); });
    places->setObjectName(QStringLiteral("actionPlaces"));
}
