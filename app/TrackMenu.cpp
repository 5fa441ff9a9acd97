#include "app/FeatureMenus.h"

#include "app/TracksWindow.h"

#include <QAction>
#include <QFileDialog>
#include <QMenu>
#include <QWidget>

namespace {

QAction* AddEntry(QMenu* menu, const QString& text, const char* name) {
    QAction* action = menu->addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

} // namespace

void AddTrackMenu(QWidget* mainWindow) {
    QMenu* menu = MainMenu(mainWindow, QStringLiteral("&Track"));
    if (menu == nullptr)
        return;
    QObject::connect(AddEntry(menu, QObject::tr("&Open Track..."), "openTrack"),
                     &QAction::triggered, menu, [mainWindow] {
                         const QStringList files = QFileDialog::getOpenFileNames(
                             mainWindow, QObject::tr("Open Track"), QString(), TrackFileFilter());
                         if (files.isEmpty())
                             return;
                         if (TracksWindow* window = ShowTracksWindow())
                             window->OpenFiles(files);
                     });
    QObject::connect(AddEntry(menu, QObject::tr("&Tracks Window"), "showTracksWindow"),
                     &QAction::triggered, menu, [] { ShowTracksWindow(); });
    menu->addSeparator();
    QObject::connect(AddEntry(menu, QObject::tr("&Match to Track..."), "matchToTrackMenu"),
                     &QAction::triggered, menu, [] {
                         if (TracksWindow* window = ShowTracksWindow())
                             window->MatchToTrack();
                     });
    QObject::connect(AddEntry(menu, QObject::tr("Set &Clock from This Picture"), "setClockMenu"),
                     &QAction::triggered, menu, [] {
                         if (TracksWindow* window = ShowTracksWindow())
                             window->SetClockFromPicture();
                     });
}
