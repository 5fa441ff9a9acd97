#include "app/FeatureMenus.h"

#include "app/LastFolder.h"
#include "app/trip/TracksWindow.h"

#include <QAction>
#include <QFileDialog>
#include <QMenu>
#include <QWidget>

void AddTrackMenu(QWidget* mainWindow) {
    QMenu* menu = MainMenu(mainWindow, QObject::tr("&Track"));
    if (menu == nullptr)
        return;
    QObject::connect(AddMenuEntry(menu, QObject::tr("&Open Track..."), "openTrack",
                                  QKeySequence(Qt::CTRL | Qt::Key_T)),
                     &QAction::triggered, menu, [mainWindow] {
                         const QStringList files = QFileDialog::getOpenFileNames(
                             mainWindow, QObject::tr("Open Track"),
                             LastFolder(QStringLiteral("Tracks")), TrackFileFilter());
                         if (files.isEmpty())
                             return;
                         RememberFolder(QStringLiteral("Tracks"), files.first());
                         if (TracksWindow* window = ShowTracksWindow())
                             window->OpenFiles(files);
                     });
    QObject::connect(AddMenuEntry(menu, QObject::tr("&Tracks Window"), "showTracksWindow"),
                     &QAction::triggered, menu, [] { ShowTracksWindow(); });
    menu->addSeparator();
    QObject::connect(AddMenuEntry(menu, QObject::tr("&Match to Track..."), "matchToTrackMenu",
                                  QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M)),
                     &QAction::triggered, menu, [] {
                         if (TracksWindow* window = ShowTracksWindow())
                             window->MatchToTrack();
                     });
    QObject::connect(
        AddMenuEntry(menu, QObject::tr("Set &Clock from This Picture"), "setClockMenu"),
        &QAction::triggered, menu, [] {
            if (TracksWindow* window = ShowTracksWindow())
                window->SetClockFromPicture();
        });
}
