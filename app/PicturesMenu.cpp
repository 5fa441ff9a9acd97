#include "app/FeatureMenus.h"
#include "app/LastFolder.h"
#include "app/trip/PicturesBatch.h"
#include "app/trip/PicturesWindow.h"
#include "formats/PictureFormats.h"

#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QString>
#include <QWidget>

namespace {

// Every picture format first, then the filters of Open Picture.
// Made when asked, once the language is chosen.
QString Filters() {
    return QObject::tr("Pictures (%1)").arg(PictureFormats::DialogPatterns()) +
           QStringLiteral(";;Images(*.jpg,*.bmp) (*.[jJ][pP][gG] *.[jJ][pP][eE][gG] "
                          "*.[bB][mM][pP]);;All(*.*) (*)");
}

void OpenPictures(QWidget* owner) {
    const QStringList files = QFileDialog::getOpenFileNames(
        owner, QObject::tr("Open Pictures"), LastFolder(QStringLiteral("Pictures")), Filters(),
        nullptr, QFileDialog::HideNameFilterDetails);
    if (files.isEmpty())
        return;
    RememberFolder(QStringLiteral("Pictures"), files.first());
    QList<QByteArray> paths;
    for (const QString& file : files)
        paths << QFile::encodeName(file);
    if (PicturesWindow* window = ShowPicturesWindow())
        window->AddPictures(paths);
}

void OpenFolder(QWidget* owner, bool subfolders) {
    const QString folder = QFileDialog::getExistingDirectory(
        owner, subfolders ? QObject::tr("Open Folder and Sub-folders") : QObject::tr("Open Folder"),
        LastFolder(QStringLiteral("Pictures")));
    if (folder.isEmpty())
        return;
    RememberFolder(QStringLiteral("Pictures"), folder, true);
    if (PicturesWindow* window = ShowPicturesWindow())
        window->AddFolder(QFile::encodeName(folder), subfolders);
}

} // namespace

void AddPicturesMenu(QWidget* mainWindow) {
    QMenu* menu = MainMenu(mainWindow, QObject::tr("&Picture"));
    if (menu == nullptr)
        return;
    menu->addSeparator();
    QObject::connect(AddMenuEntry(menu, QObject::tr("Open P&ictures..."), "openPictures",
                                  QKeySequence(Qt::CTRL | Qt::Key_O)),
                     &QAction::triggered, menu, [mainWindow] { OpenPictures(mainWindow); });
    QObject::connect(AddMenuEntry(menu, QObject::tr("Open &Folder..."), "openFolder",
                                  QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O)),
                     &QAction::triggered, menu, [mainWindow] { OpenFolder(mainWindow, false); });
    QObject::connect(
        AddMenuEntry(menu, QObject::tr("Open Folder and &Sub-folders..."), "openFolderTree"),
        &QAction::triggered, menu, [mainWindow] { OpenFolder(mainWindow, true); });
    QObject::connect(AddMenuEntry(menu, QObject::tr("Pictures Wi&ndow"), "showPicturesWindow"),
                     &QAction::triggered, menu, [] { ShowPicturesWindow(); });
    QObject::connect(AddMenuEntry(menu, QObject::tr("Use &Map Position"), "useMapPositionMenu",
                                  QKeySequence(Qt::CTRL | Qt::Key_M)),
                     &QAction::triggered, menu, [] {
                         if (PicturesWindow* window = ShowPicturesWindow())
                             window->UseMapPosition();
                     });
    QObject::connect(AddMenuEntry(menu, QObject::tr("Write Waiting &Positions"), "writeWaitingMenu",
                                  QKeySequence(Qt::CTRL | Qt::Key_S)),
                     &QAction::triggered, menu, [] {
                         if (PicturesWindow* window = ShowPicturesWindow())
                             window->Batch().Write();
                     });
    // The journal outlives the program: undo works after a restart, window open or not.
    QAction* undo = AddMenuEntry(menu, QObject::tr("&Undo Last Write"), "undoLastWrite",
                                 QKeySequence(Qt::CTRL | Qt::Key_Z));
    QObject::connect(undo, &QAction::triggered, menu, [] {
        PicturesWindow* window = PicturesWindowInstance();
        if (window != nullptr && window->Batch().CanUndo())
            window->Batch().UndoLast();
    });
    QObject::connect(menu, &QMenu::aboutToShow, undo, [undo] {
        PicturesWindow* window = PicturesWindowInstance();
        undo->setEnabled(window != nullptr && window->Batch().CanUndo());
    });
    // Disabled only while the menu shows: the shortcut asks again when it is pressed.
    QObject::connect(menu, &QMenu::aboutToHide, undo, [undo] { undo->setEnabled(true); });
}
