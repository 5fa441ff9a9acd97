#include "app/trip/TripRestore.h"

#include "app/trip/PicturesWindow.h"
#include "app/trip/TracksWindow.h"
#include "app/trip/TripSessionKeeper.h"
#include "base/AppState.h"
#include "pictures/PictureList.h"
#include "session/TripSession.h"

#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

namespace {

// The kept trip is moved aside at start, so that the new run keeps its own beside it.
QString OfferedPath() {
    return SessionFilePath() + QStringLiteral(".offered");
}

QString Summary(const TripSession& session) {
    const int waiting = session.WaitingCount();
    QStringList parts;
    parts << PictureList::PictureCount(static_cast<int>(session.pictures.size()));
    parts << (waiting == 1 ? QObject::tr("1 new position waiting to be written")
                           : QObject::tr("%1 new positions waiting to be written").arg(waiting));
    const int tracks = static_cast<int>(session.tracks.size());
    parts << (tracks == 1 ? QObject::tr("1 track") : QObject::tr("%1 tracks").arg(tracks));
    return parts.join(QStringLiteral(", "));
}

} // namespace

void OfferTripBack() {
    const QString kept = SessionFilePath();
    const QString offered = OfferedPath();
    if (QFile::exists(kept)) {
        QFile::remove(offered);
        QFile::rename(kept, offered);
    }
    QFile file(offered);
    if (!file.exists())
        return;
    QString problem;
    std::optional<TripSession> session;
    if (!file.open(QIODevice::ReadOnly))
        problem = file.errorString();
    else if (file.size() > 256 * 1024 * 1024)
        problem = QObject::tr("it is far too large to be a trip");
    else
        session = SessionFromJson(file.readAll(), &problem);
    file.close();
    if (!session) {
        const QString aside = SessionFilePath() + QStringLiteral(".damaged");
        QFile::remove(aside);
        QFile::rename(offered, aside);
        auto* box = new QMessageBox(
            QMessageBox::Warning, QObject::tr("Kartavo"),
            QObject::tr("The trip kept when Kartavo last ended cannot be brought back: %1.")
                .arg(problem),
            QMessageBox::Ok, g_app.wndMain);
        box->setObjectName(QStringLiteral("tripBackRefused"));
        box->setInformativeText(QObject::tr("It was set aside as %1.").arg(aside));
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->show();
        return;
    }
    if (session->IsEmpty()) {
        QFile::remove(offered);
        return;
    }
    auto* box = new QMessageBox(QMessageBox::Question, QObject::tr("Kartavo"),
                                QObject::tr("Kartavo ended without closing while a trip was "
                                            "open."),
                                QMessageBox::NoButton, g_app.wndMain);
    box->setObjectName(QStringLiteral("tripBackQuestion"));
    box->setInformativeText(QObject::tr("Bring it back? %1.").arg(Summary(*session)));
    QPushButton* bring = box->addButton(QObject::tr("&Bring Back"), QMessageBox::AcceptRole);
    bring->setObjectName(QStringLiteral("tripBringBack"));
    QPushButton* discard = box->addButton(QObject::tr("&Discard"), QMessageBox::RejectRole);
    discard->setObjectName(QStringLiteral("tripDiscard"));
    box->setDefaultButton(bring);
    box->setAttribute(Qt::WA_DeleteOnClose);
    // Not modal: the main window answers meanwhile.
    QObject::connect(box, &QMessageBox::buttonClicked, box,
                     [bring, kept = *session](QAbstractButton* button) {
                         if (button == bring)
                             BringTripBack(kept);
                         QFile::remove(OfferedPath());
                     });
    box->show();
}

void BringTripBack(const TripSession& session) {
    PicturesWindow* window = ShowPicturesWindow();
    if (window == nullptr)
        return;
    QList<QByteArray> paths;
    for (const SessionPicture& picture : session.pictures)
        paths << picture.path;
    window->AddPictures(paths);
    PictureList* list = window->Model();
    int lost = 0;
    for (const SessionPicture& picture : session.pictures) {
        if (!picture.waiting)
            continue;
        const int row = list->RowOf(picture.path);
        if (row < 0) {
            ++lost;
            continue;
        }
        list->SetNewPosition(row, picture.latitude, picture.longitude, picture.altitude,
                             picture.utcTime, picture.how);
    }
    TracksWindow* tracks = window->Tracks();
    tracks->RestoreSettings({session.zoneId, session.correctionMs, session.largestGapMs});
    QStringList files;
    QStringList missing;
    for (const QString& track : session.tracks)
        (QFileInfo::exists(track) ? files : missing) << track;
    if (!files.isEmpty())
        tracks->OpenFiles(files);
    QString text = QObject::tr("Brought back: %1.").arg(Summary(session));
    if (lost > 0)
        text +=
            QLatin1Char(' ') +
            QObject::tr("%1 of the waiting positions belong to pictures that are gone.").arg(lost);
    if (!missing.isEmpty())
        text += QLatin1Char(' ') +
                QObject::tr("Tracks no longer there: %1.").arg(missing.join(QStringLiteral(", ")));
    window->SetStatus(text);
}

void EndTrip() {
    PicturesWindow* window = ExistingPicturesWindow();
    TripSessionKeeper* keeper = ExistingTripSession();
    if (window == nullptr || keeper == nullptr)
        return;
    if (window->Model()->WaitingRows().isEmpty()) {
        keeper->Forget();
    } else {
        keeper->SaveNow();
        keeper->Flush();
    }
}
