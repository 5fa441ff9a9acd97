#include "app/trip/PicturesWindow.h"

#include "base/LocalPath.h"

#include "app/PictureCommands.h"
#include "app/WindowPlace.h"
#include "app/WindowPosition.h"
#include "app/trip/PictureTable.h"
#include "app/trip/PictureThumbnails.h"
#include "app/trip/PicturesBatch.h"
#include "app/trip/PicturesMap.h"
#include "app/trip/Timeline.h"
#include "app/trip/TracksWindow.h"
#include "app/trip/TripMap.h"
#include "app/trip/TripSessionKeeper.h"
#include "base/AppState.h"
#include "base/SettingsFile.h"
#include "pictures/PictureFiles.h"
#include "pictures/PictureList.h"
#include "track/PictureTime.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFutureWatcher>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPointer>
#include <QProgressBar>
#include <QPromise>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QThread>
#include <QThreadPool>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

const QString kSettingsGroup = QStringLiteral("PicturesWindow");
// Smaller than this, the space beside the main window is no place for a trip.
constexpr int kLeastFreeWidth = 600;
constexpr int kLeastFreeHeight = 400;

// Names as people count: "IMG 9" before "IMG 10", whatever the locale's collation offers.
int CompareNames(const QString& a, const QString& b) {
    int i = 0;
    int j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            int iEnd = i;
            int jEnd = j;
            while (iEnd < a.size() && a[iEnd].isDigit())
                ++iEnd;
            while (jEnd < b.size() && b[jEnd].isDigit())
                ++jEnd;
            // Longer numbers are larger once leading zeros are gone.
            QStringView x = QStringView(a).mid(i, iEnd - i);
            QStringView y = QStringView(b).mid(j, jEnd - j);
            while (x.size() > 1 && x[0] == QLatin1Char('0'))
                x = x.mid(1);
            while (y.size() > 1 && y[0] == QLatin1Char('0'))
                y = y.mid(1);
            if (x.size() != y.size())
                return x.size() < y.size() ? -1 : 1;
            if (const int order = x.compare(y))
                return order;
            i = iEnd;
            j = jEnd;
            continue;
        }
        if (const int order = QString::compare(QString(a[i]), QString(b[j]), Qt::CaseInsensitive))
            return order;
        ++i;
        ++j;
    }
    if (a.size() - i != b.size() - j)
        return a.size() - i < b.size() - j ? -1 : 1;
    return a.compare(b);
}

// Name and time sort by their values; the other columns keep the list's own order.
class PictureSortProxy : public QSortFilterProxyModel {
public:
    explicit PictureSortProxy(QObject* parent) : QSortFilterProxyModel(parent) {
        setSortRole(PictureList::SortRole);
    }

protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override {
        const QString a = left.data(sortRole()).toString();
        const QString b = right.data(sortRole()).toString();
        if (left.column() == PictureList::Name)
            return CompareNames(a, b) < 0;
        if (left.column() == PictureList::Time && a != b)
            return a < b;
        return left.row() < right.row();
    }
};

QString Duration(qint64 ms) {
    const qint64 seconds = (ms + 999) / 1000;
    if (seconds < 60)
        return QObject::tr("%1 s").arg(seconds);
    return QObject::tr("%1 min %2 s").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QPointer<PicturesWindow> s_window;

// A folder's pictures and their canonical names, both found away from the window.
struct FoundPictures {
    QList<QByteArray> paths;
    QList<QByteArray> keys;
};

// Rows a folder adds at a time: thousands at once would hold the window for a second.
constexpr int kFirstRows = 100;
constexpr int kRowsAtATime = 250;

} // namespace

PicturesWindow::PicturesWindow(QWidget* mainWindow) : QWidget(nullptr, Qt::Window) {
    setObjectName(QStringLiteral("picturesWindow"));
    setWindowTitle(tr("Kartavo - Pictures"));
    if (mainWindow != nullptr)
        setWindowIcon(mainWindow->windowIcon());

    m_list = new PictureList(this);
    m_proxy = new PictureSortProxy(this);
    m_proxy->setSourceModel(m_list);
    m_thumbnails = new PictureThumbnails(this);
    m_batch = new PicturesBatch(this);
    m_tripMap = new TripMap(this);
    m_map = new PicturesMap(m_list, m_tripMap, this);
    m_timeline = new Timeline(this);
    m_tracks = new TracksWindow(this, m_tripMap);

    m_table = new PictureTable(this);
    m_table->setModel(m_proxy);
    m_table->setIconSize(PictureThumbnails::Size());
    m_table->verticalHeader()->setDefaultSectionSize(PictureThumbnails::Size().height() + 4);
    m_table->setColumnWidth(PictureList::Thumbnail, PictureThumbnails::Size().width() + 8);
    m_table->setColumnWidth(PictureList::Name, 140);
    m_table->setColumnWidth(PictureList::Time, 185);
    m_table->setColumnWidth(PictureList::Position, 225);
    // The whole position and how it was found.
    m_table->setColumnWidth(PictureList::NewPosition, 320);

    auto* remove = new QAction(tr("Remove from list"), m_table);
    remove->setObjectName(QStringLiteral("removeFromList"));
    remove->setShortcut(QKeySequence::Delete);
    remove->setShortcutContext(Qt::WidgetShortcut);
    connect(remove, &QAction::triggered, this, &PicturesWindow::RemoveSelected);
    m_table->addAction(remove);

    m_useMap = new QPushButton(tr("&Use map position"), this);
    m_useMap->setObjectName(QStringLiteral("useMapPosition"));
    m_useMap->setToolTip(tr("Give the selected pictures the position of the centre of the "
                            "map (Ctrl+M)"));
    connect(m_useMap, &QPushButton::clicked, this, &PicturesWindow::UseMapPosition);

    m_write = new QPushButton(this);
    m_write->setObjectName(QStringLiteral("writeChanges"));
    m_write->setToolTip(tr("Write the waiting positions into the pictures (Ctrl+S)"));
    connect(m_write, &QPushButton::clicked, this, &PicturesWindow::writeRequested);
    m_cancel = new QPushButton(tr("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("cancelBatch"));
    // The progress row keeps its height when a batch ends: the map and the list are not
    // laid out and drawn again as each batch starts and ends.
    QSizePolicy keepsRoom = m_cancel->sizePolicy();
    keepsRoom.setRetainSizeWhenHidden(true);
    m_cancel->setSizePolicy(keepsRoom);
    m_cancel->hide();
    connect(m_cancel, &QPushButton::clicked, this, &PicturesWindow::cancelRequested);

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("batchProgress"));
    m_progress->setAccessibleName(tr("Progress"));
    m_progress->hide();
    m_progressText = new QLabel(this);
    m_progressText->setObjectName(QStringLiteral("progressText"));
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("picturesStatus"));
    m_status->setAccessibleName(tr("Status"));
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);

    // The list and the tracks at one side, the map and the timeline at the other; all of
    // them grow with the window.
    m_leftSplit = new QSplitter(Qt::Vertical, this);
    m_leftSplit->setObjectName(QStringLiteral("listSplit"));
    m_leftSplit->addWidget(m_table);
    m_leftSplit->addWidget(m_tracks);
    m_leftSplit->setStretchFactor(0, 3);
    m_leftSplit->setStretchFactor(1, 1);
    m_rightSplit = new QSplitter(Qt::Vertical, this);
    m_rightSplit->setObjectName(QStringLiteral("mapSplit"));
    m_rightSplit->addWidget(m_tripMap);
    m_rightSplit->addWidget(m_timeline);
    m_rightSplit->setStretchFactor(0, 1);
    m_rightSplit->setStretchFactor(1, 0);
    m_rightSplit->setCollapsible(0, false);
    m_split = new QSplitter(Qt::Horizontal, this);
    m_split->setObjectName(QStringLiteral("tripSplit"));
    m_split->addWidget(m_leftSplit);
    m_split->addWidget(m_rightSplit);
    m_split->setStretchFactor(0, 2);
    m_split->setStretchFactor(1, 3);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_useMap);
    buttons->addStretch(1);
    buttons->addWidget(m_write);
    auto* progress = new QHBoxLayout;
    progress->addWidget(m_progress, 1);
    progress->addWidget(m_progressText);
    progress->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_split, 1);
    layout->addLayout(buttons);
    layout->addLayout(progress);
    layout->addWidget(m_status);
    // Tab goes from part to part: the list, the map, the timeline, the tracks, the buttons.
    setTabOrder(m_table, m_tripMap);
    setTabOrder(m_tripMap, m_timeline);
    setTabOrder(m_timeline, m_tracks);
    setTabOrder(m_tracks, m_useMap);
    setTabOrder(m_useMap, m_write);

    connect(m_list, &PictureList::thumbnailWanted, this, [this](int row) {
        m_thumbnails->Request(m_list->Path(row), m_list->Info(row).thumbnail);
    });
    connect(m_thumbnails, &PictureThumbnails::ready, this,
            [this](const QByteArray& path, const QImage& image) {
                const int row = m_list->RowOf(path);
                if (row >= 0 && !image.isNull())
                    m_list->SetThumbnail(row, QPixmap::fromImage(image));
            });
    connect(this, &PicturesWindow::readRequested, m_batch, &PicturesBatch::Read);
    connect(this, &PicturesWindow::writeRequested, m_batch, &PicturesBatch::Write);
    connect(this, &PicturesWindow::cancelRequested, m_batch, &PicturesBatch::Cancel);
    connect(m_map, &PicturesMap::markerClicked, this, &PicturesWindow::SelectRow);
    connect(m_tripMap, &TripMap::markerPicked, this, &PicturesWindow::SelectRow);
    connect(m_tripMap, &TripMap::markerMoved, this, [this](int row, double lat, double lon) {
        if (row >= 0 && row < m_list->Count())
            PlacePictures({m_list->Path(row)}, lat, lon, tr("moved on the map"));
    });
    connect(m_tripMap, &TripMap::placeRequested, this,
            [this](const QList<QByteArray>& paths, double lat, double lon) {
                PlacePictures(paths, lat, lon, tr("placed on the map"));
            });
    connect(m_timeline, &Timeline::tickClicked, this, &PicturesWindow::SelectRow);
    connect(m_timeline, &Timeline::shiftConfirmed, m_tracks, &TracksWindow::ShiftCorrection);
    connect(m_tracks, &TracksWindow::correctionPreview, m_timeline, &Timeline::Preview);
    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &PicturesWindow::OnSelectionChanged);
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(m_list, signal, this, &PicturesWindow::UpdateWriteButton);
    // Reads and thumbnails arriving change no waiting position: thousands of them must not
    // count the waiting rows again each time.
    connect(m_list, &QAbstractItemModel::dataChanged, this, [this](const QModelIndex& first) {
        if (first.column() >= PictureList::NewPosition)
            UpdateWriteButton();
    });
    // Closed with "Write": the write starts once a read in hand is done, and the window goes
    // once nothing waits; a write that left failures keeps it open to show them.
    connect(m_batch, &PicturesBatch::finished, this, [this] {
        if (!m_closeAfterWrite)
            return;
        if (m_list->WaitingRows().isEmpty()) {
            m_closeAfterWrite = false;
            hide();
        } else if (!m_leaveWriteStarted) {
            m_leaveWriteStarted = true;
            emit writeRequested();
        } else {
            m_closeAfterWrite = false;
        }
    });

    // The timeline follows the list, the tracks and the matching settings, at most every
    // interval.
    m_timelineTimer.setObjectName(QStringLiteral("timelineTimer"));
    m_timelineTimer.setSingleShot(true);
    m_timelineTimer.setInterval(100);
    connect(&m_timelineTimer, &QTimer::timeout, this, &PicturesWindow::UpdateTimeline);
    auto timelineLater = [this] { m_timelineTimer.start(); };
    connect(m_list, &QAbstractItemModel::modelReset, this, timelineLater);
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(m_list, signal, this, timelineLater);
    connect(m_list, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) {
                if (first <= static_cast<int>(m_tickTimes.size()))
                    m_tickTimes.insert(m_tickTimes.begin() + first,
                                       static_cast<std::size_t>(last - first + 1), TickTime());
            });
    connect(m_list, &QAbstractItemModel::rowsRemoved, this,
            [this](const QModelIndex&, int first, int last) {
                const auto end = std::min(static_cast<std::size_t>(last) + 1, m_tickTimes.size());
                if (static_cast<std::size_t>(first) < end)
                    m_tickTimes.erase(m_tickTimes.begin() + first, m_tickTimes.begin() + end);
            });
    connect(m_list, &QAbstractItemModel::modelReset, this, [this] { m_tickTimes.clear(); });
    connect(m_list, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& first, const QModelIndex& last) {
                if (first.column() > PictureList::Time || last.column() < PictureList::Time)
                    return;
                for (int row = first.row();
                     row <= last.row() && row < static_cast<int>(m_tickTimes.size()); ++row)
                    m_tickTimes[static_cast<std::size_t>(row)].known = false;
                if (!m_timelineTimer.isActive()) {
                    // A long list takes longer to lay out: fewer turns while reads arrive.
                    m_timelineTimer.setInterval(std::clamp(m_list->Count() / 20, 100, 2000));
                    m_timelineTimer.start();
                }
            });
    connect(m_tracks, &TracksWindow::tracksChanged, this, timelineLater);

    m_session = new TripSessionKeeper(this);

    // Arrow keys run through many rows: only the row the user stops on is opened.
    m_showTimer.setSingleShot(true);
    m_showTimer.setInterval(150);
    connect(&m_showTimer, &QTimer::timeout, this, &PicturesWindow::ShowCurrent);

    UpdateWriteButton();
    PlaceFirstTime(mainWindow);
}

PicturesWindow::~PicturesWindow() {
    m_stopScan->store(true);
    if (isVisible())
        SaveGeometry();
}

void PicturesWindow::PlaceFirstTime(QWidget* mainWindow) {
    QSettings settings = OpenSettingsFile();
    settings.beginGroup(kSettingsGroup);
    for (QSplitter* split : {m_split, m_leftSplit, m_rightSplit})
        split->restoreState(settings.value(split->objectName()).toByteArray());
    const bool placed = settings.contains(QStringLiteral("geometry"));
    settings.endGroup();
    if (placed) {
        RestoreWindowPlace(this, kSettingsGroup, mainWindow, QSize(1100, 700), QPoint());
        return;
    }
    // The first time: the screen's free space beside the main window, else all of it.
    QScreen* screen = mainWindow != nullptr ? mainWindow->screen() : nullptr;
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect available = screen->availableGeometry();
    const QRect occupied = mainWindow != nullptr && mainWindow->isVisible()
                               ? mainWindow->frameGeometry().adjusted(-4, -4, 4, 4)
                               : QRect();
    const QRect free = LargestFreeRect(available, occupied);
    if (free.width() >= kLeastFreeWidth && free.height() >= kLeastFreeHeight) {
        // The frame is not known before the first show: the main window's stands in.
        const QMargins frame =
            mainWindow != nullptr
                ? QMargins(mainWindow->geometry().left() - mainWindow->frameGeometry().left(),
                           mainWindow->geometry().top() - mainWindow->frameGeometry().top(),
                           mainWindow->frameGeometry().right() - mainWindow->geometry().right(),
                           mainWindow->frameGeometry().bottom() - mainWindow->geometry().bottom())
                : QMargins();
        setGeometry(free.marginsRemoved(frame));
    } else {
        setGeometry(available);
        setWindowState(windowState() | Qt::WindowMaximized);
    }
}

QList<int> PicturesWindow::SelectedRows() const {
    QList<int> rows;
    for (const QModelIndex& index : m_table->selectionModel()->selectedRows())
        rows << m_proxy->mapToSource(index).row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

int PicturesWindow::AddPictures(const QList<QByteArray>& paths, const QList<QByteArray>& keys) {
    const QList<int> added = m_list->Add(paths, keys);
    if (added.isEmpty())
        return 0;
    QList<QByteArray> fresh;
    fresh.reserve(added.size());
    for (int row : added)
        fresh << m_list->Path(row);
    emit readRequested(fresh);
    return static_cast<int>(added.size());
}

void PicturesWindow::AddFolder(const QByteArray& folder, bool subfolders) {
    auto promise = std::make_shared<QPromise<FoundPictures>>();
    auto* watcher = new QFutureWatcher<FoundPictures>(this);
    // Rows come a step at a time while the folders are still walked, one step a turn of
    // the window's loop: thousands at once would hold the window up, and the reads of the
    // first rows, coming in meanwhile, would wait behind them.
    struct Scan {
        int taken = 0;
        int added = 0;
        bool walked = false;
    };
    auto scan = std::make_shared<Scan>();
    auto* pace = new QTimer(watcher);
    pace->setInterval(0);
    const auto end = [this, watcher, folder, scan] {
        watcher->deleteLater();
        --m_scans;
        SetStatus(scan->taken == 0 ? tr("No pictures in %1").arg(PictureList::ReadableName(folder))
                                   : tr("%1 listed from %2")
                                         .arg(PictureList::PictureCount(scan->added),
                                              PictureList::ReadableName(folder)));
    };
    connect(pace, &QTimer::timeout, this, [this, watcher, scan, pace, end] {
        if (scan->taken < watcher->future().resultCount()) {
            const FoundPictures found = watcher->future().resultAt(scan->taken++);
            scan->added += AddPictures(found.paths, found.keys);
            // The first rows' reads have the cores to themselves for a moment.
            pace->setInterval(scan->taken == 1 ? 250 : 0);
        }
        if (scan->taken < watcher->future().resultCount())
            return;
        pace->stop();
        if (scan->walked)
            end();
    });
    connect(watcher, &QFutureWatcherBase::resultsReadyAt, pace, [pace] {
        if (!pace->isActive())
            pace->start();
    });
    connect(watcher, &QFutureWatcherBase::finished, this, [watcher, scan, pace, end] {
        scan->walked = true;
        if (scan->taken < watcher->future().resultCount()) {
            if (!pace->isActive())
                pace->start();
        } else {
            end();
        }
    });
    watcher->setFuture(promise->future());
    promise->start();
    ++m_scans;
    SetStatus(tr("Looking for pictures in %1...").arg(PictureList::ReadableName(folder)));
    QThreadPool::globalInstance()->start([promise, folder, subfolders, stop = m_stopScan] {
        FoundPictures step;
        bool first = true;
        QElapsedTimer since;
        since.start();
        const auto hand = [&] {
            promise->addResult(std::move(step));
            step = FoundPictures();
            first = false;
        };
        ListPictureFiles(folder, subfolders, stop.get(), [&](QList<QByteArray>&& files) {
            for (QByteArray& path : files) {
                step.keys << PictureList::CanonicalKey(path);
                step.paths << std::move(path);
                // The first rows as soon as a screenful is found, or a moment has passed.
                if (step.paths.size() >= (first ? kFirstRows : kRowsAtATime) ||
                    (first && since.elapsed() > 100))
                    hand();
            }
        });
        if (!step.paths.isEmpty())
            hand();
        promise->finish();
    });
}

void PicturesWindow::SelectRow(int row) {
    if (row < 0 || row >= m_list->Count())
        return;
    const QModelIndex index = m_proxy->mapFromSource(m_list->index(row, PictureList::Name));
    m_table->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect |
                                                 QItemSelectionModel::Rows);
    m_table->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    m_table->scrollTo(index);
}

bool PicturesWindow::UseMapPosition() {
    const QList<int> rows = SelectedRows();
    if (rows.isEmpty()) {
        SetStatus(tr("Select the pictures that should get the map's position first."));
        return false;
    }
    const std::optional<MapPoint> centre = m_tripMap->Centre();
    if (!centre) {
        SetStatus(tr("The map is not ready yet."));
        return false;
    }
    PlacePictures({}, centre->latitude, centre->longitude, tr("map"));
    return true;
}

void PicturesWindow::PlacePictures(const QList<QByteArray>& paths, double latitude,
                                   double longitude, const QString& how) {
    if (!std::isfinite(latitude) || !std::isfinite(longitude) || std::fabs(latitude) > 90 ||
        std::fabs(longitude) > 180)
        return;
    QList<int> rows;
    if (paths.isEmpty()) {
        rows = SelectedRows();
    } else {
        for (const QByteArray& path : paths) {
            const int row = m_list->RowOf(path);
            if (row >= 0)
                rows << row;
        }
    }
    if (rows.isEmpty()) {
        SetStatus(tr("Select the pictures to place first."));
        return;
    }
    // No altitude: a picture keeps its own, and one without gets none.
    for (int row : rows)
        m_list->SetNewPosition(row, latitude, longitude, std::nullopt, QDateTime(), how);
    SetStatus(tr("%1 will get %2, %3.")
                  .arg(PictureList::PictureCount(static_cast<int>(rows.size())),
                       QString::number(latitude, 'f', 6), QString::number(longitude, 'f', 6)));
}

void PicturesWindow::RemoveSelected() {
    QList<int> rows = SelectedRows();
    // From the end, in runs of neighbours, so the rows still to go keep their numbers.
    while (!rows.isEmpty()) {
        int first = rows.takeLast();
        int count = 1;
        while (!rows.isEmpty() && rows.last() == first - 1) {
            first = rows.takeLast();
            ++count;
        }
        m_list->removeRows(first, count);
    }
}

void PicturesWindow::ShowProgress(const QString& what, int done, int total) {
    if (m_progress->isHidden() || done == 0) {
        m_progressClock.start();
        m_progressShown.invalidate();
    }
    // A read reports each picture: a new text for each laid the window out thousands of
    // times over. A few times a second is what the eye follows.
    if (m_progressShown.isValid() && m_progressShown.elapsed() < 200 && done < total)
        return;
    m_progressShown.start();
    m_progress->setRange(0, std::max(total, 1));
    m_progress->setValue(std::min(done, total));
    m_progress->show();
    m_cancel->show();
    QString text = tr("%1: %2 done, %3 left").arg(what).arg(done).arg(total - done);
    if (done > 0 && total > done) {
        const qint64 left = m_progressClock.elapsed() * (total - done) / done;
        text += tr(", about %1 left").arg(Duration(left));
    }
    m_progressText->setText(text);
}

void PicturesWindow::HideProgress() {
    m_progress->hide();
    m_cancel->hide();
    m_progressText->clear();
}

void PicturesWindow::SetStatus(const QString& text) {
    m_status->setText(text);
}

void PicturesWindow::SetBusy(bool busy) {
    m_busy = busy;
    UpdateWriteButton();
}

bool PicturesWindow::MayLeave(bool programEnds) {
    const int waiting = static_cast<int>(m_list->WaitingRows().size());
    // A write in hand is finished by the end of the program, as before.
    if (waiting == 0 || m_batch->IsWriting())
        return true;
    QMessageBox box(QMessageBox::Question, tr("Kartavo"),
                    waiting == 1 ? tr("1 new position is waiting to be written.")
                                 : tr("%1 new positions are waiting to be written.").arg(waiting),
                    QMessageBox::NoButton, isVisible() ? this : parentWidget());
    box.setObjectName(QStringLiteral("leaveQuestion"));
    box.setInformativeText(tr("Write them into the pictures now, discard them, or go back?"));
    QPushButton* write = box.addButton(tr("&Write"), QMessageBox::AcceptRole);
    write->setObjectName(QStringLiteral("leaveWrite"));
    QPushButton* discard = box.addButton(tr("&Discard"), QMessageBox::DestructiveRole);
    discard->setObjectName(QStringLiteral("leaveDiscard"));
    QPushButton* stay = box.addButton(QMessageBox::Cancel);
    stay->setObjectName(QStringLiteral("leaveCancel"));
    box.setDefaultButton(write);
    box.setEscapeButton(stay);
    box.exec();
    if (box.clickedButton() == discard) {
        for (int row : m_list->WaitingRows())
            m_list->ClearNewPosition(row, tr("discarded"));
        return true;
    }
    if (box.clickedButton() != write)
        return false;
    if (!programEnds) {
        m_closeAfterWrite = true;
        m_leaveWriteStarted = !m_batch->IsBusy();
        if (m_leaveWriteStarted)
            emit writeRequested();
        return false; // the window goes once the write is done
    }
    // A read in hand ends first; the window shows the write's progress meanwhile. What
    // still waits after it (a failure) stays in the kept trip for the next start.
    bool started = false;
    for (;;) {
        if (!m_batch->IsBusy()) {
            if (started || m_list->WaitingRows().isEmpty())
                break;
            emit writeRequested();
            started = true;
            if (!m_batch->IsBusy())
                break;
            continue;
        }
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    return true;
}

void PicturesWindow::closeEvent(QCloseEvent* event) {
    if (MayLeave())
        event->accept();
    else
        event->ignore();
}

void PicturesWindow::hideEvent(QHideEvent* event) {
    SaveGeometry();
    QWidget::hideEvent(event);
}

void PicturesWindow::OnSelectionChanged() {
    const QList<int> rows = SelectedRows();
    m_map->SetSelected(rows);
    m_timelineTimer.start();
    if (rows.size() == 1)
        m_showTimer.start();
    else
        m_showTimer.stop();
}

void PicturesWindow::ShowCurrent() {
    const QList<int> rows = SelectedRows();
    if (rows.size() != 1)
        return;
    const int row = rows.first();
    // What opening this picture does in the main window: preview, pickers, fields, map,
    // information box. The trip's map goes to it only when it has a position.
    TakePicture(m_list->Path(row));
    const auto place = m_list->NewPositionOf(row);
    const PictureRead& info = m_list->Info(row);
    if (place)
        m_tripMap->ShowPoint(place->latitude, place->longitude);
    else if (info.latitude && info.longitude)
        m_tripMap->ShowPoint(*info.latitude, *info.longitude);
}

void PicturesWindow::UpdateWriteButton() {
    const int waiting = static_cast<int>(m_list->WaitingRows().size());
    m_write->setText(waiting == 1 ? tr("Write 1 change") : tr("Write %1 changes").arg(waiting));
    m_write->setEnabled(waiting > 0 && !m_busy);
}

void PicturesWindow::UpdateTimeline() {
    const MatchSettings settings = m_tracks->CurrentSettings();
    const QTimeZone zone =
        settings.zoneId.isEmpty() ? QTimeZone::systemTimeZone() : QTimeZone(settings.zoneId);
    const QList<int> selected = SelectedRows();
    if (settings.zoneId != m_tickZone || settings.correctionMs != m_tickCorrectionMs) {
        m_tickZone = settings.zoneId;
        m_tickCorrectionMs = settings.correctionMs;
        m_tickTimes.assign(m_tickTimes.size(), TickTime());
    }
    m_tickTimes.resize(static_cast<std::size_t>(m_list->Count()));
    std::vector<TimelineTick> ticks;
    ticks.reserve(static_cast<std::size_t>(m_list->Count()));
    for (int row = 0; row < m_list->Count(); ++row) {
        if (!m_list->IsRead(row))
            continue;
        TickTime& time = m_tickTimes[static_cast<std::size_t>(row)];
        if (!time.known) {
            const PictureRead& info = m_list->Info(row);
            time.utcMs =
                PictureUtcMs(CameraTime{info.dateTime, info.offset}, zone, settings.correctionMs);
            time.known = true;
        }
        if (time.utcMs)
            ticks.push_back(
                {row, *time.utcMs, std::binary_search(selected.begin(), selected.end(), row)});
    }
    m_timeline->SetData(std::move(ticks), m_tracks->TimelineTracks(), settings.largestGapMs, zone);
}

void PicturesWindow::SaveGeometry() {
    SaveWindowPlace(this, kSettingsGroup);
    QSettings settings = OpenSettingsFile();
    settings.beginGroup(kSettingsGroup);
    for (const QSplitter* split : {m_split, m_leftSplit, m_rightSplit})
        settings.setValue(split->objectName(), split->saveState());
    settings.endGroup();
    settings.sync();
}

PicturesWindow* PicturesWindowInstance() {
    if (!s_window && g_app.wndMain != nullptr) {
        // A window of its own, not a child: the main window's controls stay its only ones.
        // It goes with the main window all the same.
        s_window = new PicturesWindow(g_app.wndMain);
        QObject::connect(g_app.wndMain, &QObject::destroyed, s_window.data(),
                         [window = s_window.data()] { delete window; });
    }
    return s_window;
}

PicturesWindow* ExistingPicturesWindow() {
    return s_window;
}

bool MayEndTrip() {
    return !s_window || s_window->MayLeave(true);
}

PicturesWindow* ShowPicturesWindow() {
    PicturesWindow* window = PicturesWindowInstance();
    if (window != nullptr) {
        window->show();
        window->raise();
        window->activateWindow();
    }
    return window;
}

void ListDroppedPictures(const QList<QUrl>& urls) {
    QList<QByteArray> paths;
    for (const QUrl& url : urls) {
        // The name's own bytes, also where they are not UTF-8.
        const QByteArray path = LocalPathBytes(url);
        if (!path.isEmpty())
            paths << path;
    }
    if (paths.size() < 2)
        return;
    if (PicturesWindow* window = ShowPicturesWindow())
        window->AddPictures(paths);
}

void FinishPictureWrites() {
    if (!s_window || !s_window->Batch().IsBusy())
        return;
    PicturesBatch& batch = s_window->Batch();
    batch.Cancel();
    // Generous: a picture in hand on a slow card still gets written whole.
    constexpr qint64 kLongestWaitMs = 120000;
    QElapsedTimer waited;
    waited.start();
    while (batch.IsBusy() && waited.elapsed() < kLongestWaitMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(5);
    }
}
