#include "app/trip/TripSessionKeeper.h"

#include "app/trip/PicturesWindow.h"
#include "app/trip/TracksWindow.h"
#include "base/Trace.h"
#include "pictures/PictureList.h"
#include "session/AtomicFile.h"
#include "session/TripSession.h"

#include <QCryptographicHash>
#include <QFile>
#include <QPointer>

namespace {
QPointer<TripSessionKeeper> s_keeper;
} // namespace

TripSessionKeeper::TripSessionKeeper(PicturesWindow* window) : QObject(window), m_window(window) {
    m_writer.setMaxThreadCount(1);
    m_timer.setObjectName(QStringLiteral("sessionTimer"));
    m_timer.setSingleShot(true);
    m_timer.setInterval(1000);
    connect(&m_timer, &QTimer::timeout, this, &TripSessionKeeper::SaveNow);
    PictureList* list = window->Model();
    connect(list, &QAbstractItemModel::modelReset, this, &TripSessionKeeper::Changed);
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(list, signal, this, &TripSessionKeeper::Changed);
    // Only what the trip keeps: thumbnails and reads arriving (which also change the
    // whole row) change nothing of it.
    connect(list, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& first, const QModelIndex& last) {
                if (first.column() >= PictureList::NewPosition &&
                    first.column() <= PictureList::State &&
                    last.column() >= PictureList::NewPosition)
                    Changed();
            });
    connect(window->Tracks(), &TracksWindow::tracksChanged, this, &TripSessionKeeper::Changed);
    s_keeper = this;
}

TripSessionKeeper::~TripSessionKeeper() {
    m_writer.waitForDone();
}

void TripSessionKeeper::Changed() {
    if (!m_timer.isActive())
        m_timer.start();
}

TripSession TripSessionKeeper::Collect() const {
    TripSession session;
    const PictureList* list = m_window->Model();
    const QList<int> waiting = list->WaitingRows();
    session.pictures.reserve(list->Count());
    for (int row = 0; row < list->Count(); ++row) {
        SessionPicture picture;
        picture.path = list->Path(row);
        const auto place = list->NewPositionOf(row);
        if (place && std::binary_search(waiting.begin(), waiting.end(), row)) {
            picture.waiting = true;
            picture.latitude = place->latitude;
            picture.longitude = place->longitude;
            picture.altitude = place->altitude;
            picture.utcTime = place->utcTime;
            picture.how = place->how;
        }
        session.pictures << picture;
    }
    TracksWindow* tracks = m_window->Tracks();
    session.tracks = tracks->TrackFiles();
    const MatchSettings& settings = tracks->Settings();
    session.zoneId = settings.zoneId;
    session.correctionMs = settings.correctionMs;
    session.largestGapMs = settings.largestGapMs;
    return session;
}

void TripSessionKeeper::SaveNow() {
    m_timer.stop();
    // A year of pictures makes megabytes of text: made on the writer's thread, which
    // alone touches m_last.
    m_writer.start([this, session = Collect()] {
        const QByteArray bytes = session.IsEmpty() ? QByteArray() : SessionToJson(session);
        // A digest rather than the megabytes of a year of pictures' text.
        const QByteArray digest = bytes.isEmpty()
                                      ? QByteArray()
                                      : QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
        if (digest == m_last)
            return;
        m_last = digest;
        WriteNow(bytes);
    });
}

void TripSessionKeeper::Forget() {
    m_timer.stop();
    m_writer.start([this] {
        m_last.clear();
        WriteNow(QByteArray());
    });
    Flush();
}

void TripSessionKeeper::Flush() {
    m_writer.waitForDone();
}

void TripSessionKeeper::WriteNow(const QByteArray& bytes) {
    const QString path = SessionFilePath();
    if (bytes.isEmpty()) {
        QFile::remove(path);
        return;
    }
    QString problem;
    if (!WriteFileAtomically(path, bytes, &problem))
        Trace("# The trip could not be kept: %s\n", problem.toUtf8().constData());
}

TripSessionKeeper* ExistingTripSession() {
    return s_keeper;
}
