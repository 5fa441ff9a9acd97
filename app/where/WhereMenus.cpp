#include "app/FeatureMenus.h"

#include "app/placenames/PlaceNamesWindow.h"
#include "app/where/LocationHistoryDialog.h"
#include "app/where/PicturesAsTrack.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

void AddWhereMenus(QWidget* mainWindow) {
    QMenu* track = MainMenu(mainWindow, QObject::tr("&Track"));
    if (track == nullptr)
        return;
    track->addSeparator();
    QObject::connect(
        AddMenuEntry(track, QObject::tr("Open &Location History..."), "openLocationHistory"),
        &QAction::triggered, track, [mainWindow] { OpenLocationHistory(mainWindow); });
    QObject::connect(AddMenuEntry(track, QObject::tr("Use &Pictures with Positions as a Track"),
                                  "picturesAsTrack"),
                     &QAction::triggered, track, [] { UsePicturesAsTrack(); });
    if (QMenu* picture = MainMenu(mainWindow, QStringLiteral("&Picture")))
        QObject::connect(AddMenuEntry(picture, QObject::tr("Name the Pl&aces..."), "nameThePlaces"),
                         &QAction::triggered, picture, [] { ShowPlaceNamesWindow(); });
}
