#include "app/PicturesWindow.h"

#include "base/LocalPath.h"

#include "app/ControlPanel.h"
#include "app/PictureCommands.h"
#include "app/PictureThumbnails.h"
#include "app/PicturesBatch.h"
#include "app/PicturesMap.h"
#include "app/WindowPlace.h"
#include "base/AppState.h"
#include "gps/DecimalText.h"
#include "gps/GPSArguments.h"
#include "pictures/PictureFiles.h"
#include "pictures/PictureList.h"

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFutureWatcher>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QProgressBar>
#include <QPromise>
#include <QPushButton>
#include <QScreen>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QThread>
#include <QThreadPool>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString kSettingsGroup = QStringLiteral("PicturesWindow");

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

// A field's number as the record reads it: the sign comes from a leading "-".
double FieldValue(const char* text) {
    const double size = ReadDecimal(TrimDashes(text));
    return text[0] == '-' ? -size : size;
}

QString Duration(qint64 ms) {
    const qint64 seconds = (ms + 999) / 1000;
    if (seconds < 60)
        return QObject::tr("%1 s").arg(seconds);
    return QObject::tr("%1 min %2 s").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QPointer<PicturesWindow> s_window;

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
    m_map = new PicturesMap(m_list, this);
    m_batch = new PicturesBatch(this);

    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("pictureTable"));
    m_table->setAccessibleName(tr("Pictures"));
    m_table->setModel(m_proxy);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->setSortingEnabled(true);
    // The list's own order until the user asks for another.
    m_table->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    m_table->setWordWrap(false);
    m_table->setIconSize(PictureThumbnails::Size());
    m_table->verticalHeader()->hide();
    // Fixed row heights: the view never measures a thousand rows.
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(PictureThumbnails::Size().height() + 4);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setColumnWidth(PictureList::Thumbnail, PictureThumbnails::Size().width() + 8);
    m_table->setColumnWidth(PictureList::Name, 140);
    m_table->setColumnWidth(PictureList::Time, 185);
    m_table->setColumnWidth(PictureList::Position, 225);
    m_table->setColumnWidth(PictureList::NewPosition, 225);

    auto* remove = new QAction(tr("Remove from list"), m_table);
    remove->setObjectName(QStringLiteral("removeFromList"));
    remove->setShortcut(QKeySequence::Delete);
    remove->setShortcutContext(Qt::WidgetShortcut);
    connect(remove, &QAction::triggered, this, &PicturesWindow::RemoveSelected);
    m_table->addAction(remove);

    m_useMap = new QPushButton(tr("&Use map position"), this);
    m_useMap->setObjectName(QStringLiteral("useMapPosition"));
    m_useMap->setToolTip(tr("Give the selected pictures the position of the Latitude and "
                            "Longitude fields (Ctrl+M)"));
    auto* useMap = new QAction(tr("Use map position"), this);
    useMap->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    useMap->setShortcutContext(Qt::WindowShortcut);
    addAction(useMap);
    connect(useMap, &QAction::triggered, this, &PicturesWindow::UseMapPosition);
    connect(m_useMap, &QPushButton::clicked, this, &PicturesWindow::UseMapPosition);

    m_write = new QPushButton(this);
    m_write->setObjectName(QStringLiteral("writeChanges"));
    connect(m_write, &QPushButton::clicked, this, &PicturesWindow::writeRequested);
    m_cancel = new QPushButton(tr("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("cancelBatch"));
    m_cancel->hide();
    connect(m_cancel, &QPushButton::clicked, this, &PicturesWindow::cancelRequested);

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("batchProgress"));
    m_progress->hide();
    m_progressText = new QLabel(this);
    m_progressText->setObjectName(QStringLiteral("progressText"));
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("picturesStatus"));
    m_status->setWordWrap(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_useMap);
    buttons->addStretch(1);
    buttons->addWidget(m_write);
    auto* progress = new QHBoxLayout;
    progress->addWidget(m_progress, 1);
    progress->addWidget(m_progressText);
    progress->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table, 1);
    layout->addLayout(buttons);
    layout->addLayout(progress);
    layout->addWidget(m_status);

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
    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &PicturesWindow::OnSelectionChanged);
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(m_list, signal, this, &PicturesWindow::UpdateWriteButton);
    connect(m_list, &QAbstractItemModel::dataChanged, this, &PicturesWindow::UpdateWriteButton);

    // Arrow keys run through many rows: only the row the user stops on is opened.
    m_showTimer.setSingleShot(true);
    m_showTimer.setInterval(150);
    connect(&m_showTimer, &QTimer::timeout, this, &PicturesWindow::ShowCurrent);

    UpdateWriteButton();

    const QRect main = mainWindow != nullptr ? mainWindow->frameGeometry() : QRect();
    RestoreWindowPlace(this, kSettingsGroup, mainWindow, QSize(980, 480),
                       QPoint(main.right() + 8, main.top()));
}

PicturesWindow::~PicturesWindow() {
    m_stopScan->store(true);
    if (isVisible())
        SaveGeometry();
}

QList<int> PicturesWindow::SelectedRows() const {
    QList<int> rows;
    for (const QModelIndex& index : m_table->selectionModel()->selectedRows())
        rows << m_proxy->mapToSource(index).row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

int PicturesWindow::AddPictures(const QList<QByteArray>& paths) {
    const QList<int> added = m_list->Add(paths);
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
    auto promise = std::make_shared<QPromise<QList<QByteArray>>>();
    auto* watcher = new QFutureWatcher<QList<QByteArray>>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, folder] {
        watcher->deleteLater();
        --m_scans;
        const QList<QByteArray> found =
            watcher->future().resultCount() > 0 ? watcher->future().result() : QList<QByteArray>();
        const int added = AddPictures(found);
        SetStatus(found.isEmpty() ? tr("No pictures in %1").arg(PictureList::ReadableName(folder))
                                  : tr("%1 listed from %2")
                                        .arg(PictureList::PictureCount(added),
                                             PictureList::ReadableName(folder)));
    });
    watcher->setFuture(promise->future());
    promise->start();
    ++m_scans;
    SetStatus(tr("Looking for pictures in %1...").arg(PictureList::ReadableName(folder)));
    // Thousands of files take a while to list; the window keeps answering meanwhile.
    QThreadPool::globalInstance()->start([promise, folder, subfolders, stop = m_stopScan] {
        promise->addResult(ListPictureFiles(folder, subfolders, stop.get()));
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
    char latitude[kFieldTextSize];
    char longitude[kFieldTextSize];
    // The same check as a record: never a position the user did not mean.
    char problem[96];
    if (!ReadPositionFields(latitude, longitude, problem, sizeof problem)) {
        SetStatus(tr("No new position given: %1").arg(QString::fromUtf8(problem)));
        return false;
    }
    const double lat = FieldValue(latitude);
    const double lon = FieldValue(longitude);
    // No altitude: a picture keeps its own, and one without gets none.
    for (int row : rows)
        m_list->SetNewPosition(row, lat, lon, std::nullopt, QDateTime(), tr("map"));
    SetStatus(tr("%1 will get %2, %3.")
                  .arg(PictureList::PictureCount(static_cast<int>(rows.size())),
                       QString::number(lat, 'f', 6), QString::number(lon, 'f', 6)));
    return true;
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
    if (m_progress->isHidden() || done == 0)
        m_progressClock.start();
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

void PicturesWindow::hideEvent(QHideEvent* event) {
    SaveGeometry();
    QWidget::hideEvent(event);
}

void PicturesWindow::OnSelectionChanged() {
    const QList<int> rows = SelectedRows();
    m_map->SetSelected(rows);
    if (rows.size() == 1)
        m_showTimer.start();
    else
        m_showTimer.stop();
}

void PicturesWindow::ShowCurrent() {
    const QList<int> rows = SelectedRows();
    if (rows.size() != 1)
        return;
    // What opening this picture does: preview, pickers, fields, map, information box.
    TakePicture(m_list->Path(rows.first()));
}

void PicturesWindow::UpdateWriteButton() {
    const int waiting = static_cast<int>(m_list->WaitingRows().size());
    m_write->setText(waiting == 1 ? tr("Write 1 change") : tr("Write %1 changes").arg(waiting));
    m_write->setEnabled(waiting > 0 && !m_busy);
}

void PicturesWindow::SaveGeometry() {
    SaveWindowPlace(this, kSettingsGroup);
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
