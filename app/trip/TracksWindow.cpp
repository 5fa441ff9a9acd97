#include "app/trip/TracksWindow.h"
#include "app/FieldsPosition.h"
#include "app/LastFolder.h"
#include "app/trip/MatchDialog.h"
#include "app/trip/PicturesWindow.h"
#include "app/trip/TrackMap.h"
#include "app/trip/TripMap.h"
#include "base/AppState.h"
#include "pictures/PictureList.h"
#include "track/GpsbabelTrack.h"
#include "track/PictureTime.h"
#include "track/TimeText.h"
#include "track/TrackCoverage.h"
#include "track/TrackMatcher.h"
#include "track/TrackZone.h"
#include "webview/CWebBrowser.h"

#include <QDateTime>
#include <QFileDialog>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPromise>
#include <QPushButton>
#include <QSettings>
#include <QThreadPool>
#include <QTimeZone>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <algorithm>
#include <memory>

namespace {

const QString kSettingsGroup = QStringLiteral("Track");
// Farther than this from every track, the map is not where the picture was taken.
constexpr double kFarMetres = 5000;

QSettings OpenSettings() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Kartavo"),
                     QStringLiteral("Kartavo"));
}

QString UtcText(qint64 ms, const char* format) {
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC).toString(QLatin1String(format));
}

QString SpanText(const TrackSummary& s, const QTimeZone& zone) {
    if (s.firstMs == TrackPoint::kNoTime)
        return QObject::tr("no times");
    return FormatTimeSpan(s.firstMs, s.lastMs, zone);
}

// The zone a track's times are shown in beside UTC: its own place's, which matching starts
// with; without one, the zone last chosen for matching, else the computer's.
QTimeZone ShownZone(const std::optional<CityZone>& own, const QByteArray& chosen) {
    for (const QByteArray* id : {own ? &own->zoneId : nullptr, &chosen}) {
        if (id != nullptr && !id->isEmpty() && QTimeZone(*id).isValid())
            return QTimeZone(*id);
    }
    return QTimeZone::systemTimeZone();
}

QString LengthText(double metres) {
    return metres < 1000 ? QObject::tr("%1 m").arg(qRound(metres))
                         : QObject::tr("%1 km").arg(metres / 1000, 0, 'f', 1);
}

} // namespace

TracksWindow::TracksWindow(QWidget* parent, TripMap* tripMap)
    : QWidget(parent), m_tripMap(tripMap) {
    setObjectName(QStringLiteral("tracksWindow"));
    setAccessibleName(tr("Tracks"));

    QSettings settings = OpenSettings();
    settings.beginGroup(kSettingsGroup);
    m_settings.correctionMs =
        ParseClockCorrection(settings.value(QStringLiteral("correction")).toString()).value_or(0);
    m_settings.largestGapMs =
        qBound(1, settings.value(QStringLiteral("largestGap"), 60).toInt(), 86400) * 1000LL;

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("trackList"));
    m_list->setAccessibleName(tr("Tracks"));
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setHeaderLabels(
        {tr("Track (shown)"), tr("Time span"), tr("Local time span"), tr("Points"), tr("Length")});
    m_list->headerItem()->setToolTip(2, tr("In the zone of the track's own place, which "
                                           "matching starts with"));
    m_list->header()->resizeSection(0, 160);
    m_list->header()->resizeSection(1, 240);
    m_list->header()->resizeSection(2, 260);
    connect(m_list, &QTreeWidget::itemChanged, this, &TracksWindow::OnItemChanged);

    auto button = [this](const QString& text, const char* name) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    m_open = button(tr("&Open Track..."), "openTrackButton");
    m_close = button(tr("&Close"), "closeTrack");
    m_match = button(tr("&Match to Track..."), "matchToTrack");
    m_clock = button(tr("Set Clock from This &Picture"), "setClockFromPicture");
    m_clock->setToolTip(tr("Select the one picture whose place you know in the list and put "
                           "the map's centre there"));
    connect(m_open, &QPushButton::clicked, this, [this] {
        const QStringList files = QFileDialog::getOpenFileNames(
            this, tr("Open Track"), LastFolder(QStringLiteral("Tracks")), TrackFileFilter());
        if (files.isEmpty())
            return;
        RememberFolder(QStringLiteral("Tracks"), files.first());
        OpenFiles(files);
    });
    connect(m_close, &QPushButton::clicked, this, &TracksWindow::CloseSelected);
    // Close acts on the selected tracks only: with none, the button would do nothing.
    m_close->setEnabled(false);
    m_close->setToolTip(tr("Close the selected tracks"));
    connect(m_list, &QTreeWidget::itemSelectionChanged, this,
            [this] { m_close->setEnabled(!m_list->selectedItems().isEmpty()); });
    connect(m_match, &QPushButton::clicked, this, &TracksWindow::MatchToTrack);
    connect(m_clock, &QPushButton::clicked, this, &TracksWindow::SetClockFromPicture);

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("trackProgress"));
    m_progress->hide();
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("trackStatus"));
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {m_open, m_close, m_match, m_clock})
        buttons->addWidget(b);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    layout->addWidget(m_progress);
    layout->addWidget(m_status);
    layout->setContentsMargins(0, 0, 0, 0);
    // A map page loaded again has lost its lines.
    if (g_app.pMapView && g_app.pMapView->View()) {
        QWebEnginePage* page = g_app.pMapView->View()->page();
        m_mainMapLoading = g_app.pMapView->GetDocument().isNull();
        connect(page, &QWebEnginePage::loadStarted, this, [this] { m_mainMapLoading = true; });
        connect(page, &QWebEnginePage::loadFinished, this, [this] {
            m_mainMapLoading = false;
            for (const Loaded& t : m_tracks) {
                const bool fit = m_fitMainMapOnLoad && &t == &m_tracks.back();
                if (g_app.pMapView)
                    g_app.pMapView->ExecScript(TrackScript(t.id, t.track, fit).constData());
                ShowTrack(t.id, t.shown);
            }
            m_fitMainMapOnLoad = false;
        });
    }
    if (m_tripMap != nullptr)
        connect(m_tripMap, &TripMap::ready, this, &TracksWindow::DrawOnTripMap);
}

void TracksWindow::DrawOnTripMap() const {
    for (std::size_t i = 0; i < m_tracks.size(); ++i) {
        const Loaded& t = m_tracks[i];
        m_tripMap->Run(TrackScript(t.id, t.track, i + 1 == m_tracks.size()));
        if (!t.shown)
            m_tripMap->Run(ShowTrackScript(t.id, false));
    }
}

void TracksWindow::SetStatus(const QString& text, bool problem) {
    m_status->setStyleSheet(problem ? QStringLiteral("color: #c92a2a") : QString());
    m_status->setText(text);
}

void TracksWindow::OpenFiles(const QStringList& files) {
    // A file already open is not opened twice.
    QStringList paths, already;
    for (const QString& file : files) {
        const QString canonical = QFileInfo(file).canonicalFilePath();
        const bool open = std::any_of(m_tracks.begin(), m_tracks.end(), [&](const Loaded& t) {
            return !canonical.isEmpty() &&
                   QFileInfo(t.track.fileName).canonicalFilePath() == canonical;
        });
        if (open)
            already << QFileInfo(file).fileName();
        else
            paths << file;
    }
    if (!already.isEmpty())
        SetStatus(tr("Already open: %1").arg(already.join(QStringLiteral(", "))));
    if (paths.isEmpty())
        return;
    struct Result {
        std::vector<Loaded> loaded;
        QStringList problems;
    };
    auto promise = std::make_shared<QPromise<std::shared_ptr<Result>>>();
    auto* watcher = new QFutureWatcher<std::shared_ptr<Result>>(this);
    connect(watcher, &QFutureWatcherBase::progressValueChanged, m_progress,
            &QProgressBar::setValue);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        watcher->deleteLater();
        --m_loading;
        if (m_loading == 0)
            m_progress->hide();
        if (watcher->future().resultCount() > 0) {
            const std::shared_ptr<Result> result = watcher->future().result();
            AddLoaded(std::move(result->loaded), result->problems);
        }
        emit tracksLoaded();
    });
    watcher->setFuture(promise->future());
    promise->start();
    ++m_loading;
    // One file shows a busy bar; several show how many are read.
    m_progress->setRange(0, paths.size() > 1 ? static_cast<int>(paths.size()) : 0);
    m_progress->setValue(0);
    m_progress->show();
    SetStatus(paths.size() == 1 ? tr("Reading %1...").arg(QFileInfo(paths.first()).fileName())
                                : tr("Reading %1 track files...").arg(paths.size()));
    QThreadPool::globalInstance()->start([promise, paths] {
        auto result = std::make_shared<Result>();
        int done = 0;
        for (const QString& path : paths) {
            GpxResult gpx = ReadTrackFile(path);
            if (!gpx.ok)
                result->problems << gpx.error;
            result->problems << gpx.notes;
            for (Track& track : gpx.tracks) {
                Loaded loaded;
                loaded.summary = Summarize(track);
                if (const auto start = TrackStart(track))
                    loaded.zone = NearestCityZone(start->latitude, start->longitude);
                loaded.track = std::move(track);
                result->loaded.push_back(std::move(loaded));
            }
            promise->setProgressValue(++done);
        }
        promise->addResult(result);
        promise->finish();
    });
}

void TracksWindow::AddTrack(Track track) {
    Loaded loaded;
    loaded.summary = Summarize(track);
    if (const auto start = TrackStart(track))
        loaded.zone = NearestCityZone(start->latitude, start->longitude);
    loaded.track = std::move(track);
    std::vector<Loaded> list;
    list.push_back(std::move(loaded));
    AddLoaded(std::move(list), {});
    emit tracksLoaded();
}

void TracksWindow::AddLoaded(std::vector<Loaded> loaded, const QStringList& problems) {
    const bool block = m_list->blockSignals(true);
    QStringList names;
    for (std::size_t i = 0; i < loaded.size(); ++i) {
        Loaded& t = loaded[i];
        t.id = m_nextId++;
        auto* item = new QTreeWidgetItem(m_list);
        item->setData(0, Qt::UserRole, t.id);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0, Qt::Checked);
        item->setText(0, t.track.name);
        item->setToolTip(0, t.track.fileName);
        item->setText(1, SpanText(t.summary, QTimeZone::utc()));
        const QTimeZone zone = ShownZone(t.zone, m_settings.zoneId);
        item->setText(2, SpanText(t.summary, zone));
        item->setToolTip(
            2, t.zone && zone.id() == t.zone->zoneId
                   ? tr("%1, the zone of %2").arg(QString::fromUtf8(zone.id()), t.zone->city)
                   : QString::fromUtf8(zone.id()));
        item->setText(
            3, t.summary.timedPoints == t.summary.points
                   ? QString::number(t.summary.points)
                   : tr("%1 (%2 with a time)").arg(t.summary.points).arg(t.summary.timedPoints));
        item->setText(4, LengthText(t.summary.lengthMetres));
        // The last one fits the map to itself: with several, the map shows the newest.
        DrawTrack(t.id, t.track, i + 1 == loaded.size());
        names << t.track.name;
        m_tracks.push_back(std::move(t));
    }
    m_list->blockSignals(block);
    if (!loaded.empty()) {
        m_zoneChosen = false;
        m_fitMainMapOnLoad = m_fitMainMapOnLoad || m_mainMapLoading;
    }
    QString text;
    if (!names.isEmpty())
        text = tr("Opened %1.").arg(names.join(QStringLiteral(", ")));
    if (!problems.isEmpty())
        text +=
            (text.isEmpty() ? QString() : QStringLiteral("\n")) + problems.join(QLatin1Char('\n'));
    SetStatus(text, !problems.isEmpty());
    emit tracksChanged();
}

void TracksWindow::CloseSelected() {
    const QList<QTreeWidgetItem*> items = m_list->selectedItems();
    for (QTreeWidgetItem* item : items) {
        const int id = item->data(0, Qt::UserRole).toInt();
        RemoveTrack(id);
        m_tracks.erase(std::remove_if(m_tracks.begin(), m_tracks.end(),
                                      [id](const Loaded& t) { return t.id == id; }),
                       m_tracks.end());
        delete item;
    }
    m_close->setEnabled(!m_list->selectedItems().isEmpty());
    emit tracksChanged();
}

void TracksWindow::OnItemChanged(QTreeWidgetItem* item, int column) {
    if (column != 0)
        return;
    const int id = item->data(0, Qt::UserRole).toInt();
    const bool shown = item->checkState(0) == Qt::Checked;
    for (Loaded& t : m_tracks)
        if (t.id == id && t.shown != shown) {
            t.shown = shown;
            ShowTrack(id, shown);
            emit tracksChanged();
        }
}

std::vector<const Track*> TracksWindow::ShownTracks() const {
    std::vector<const Track*> shown;
    for (const Loaded& t : m_tracks)
        if (t.shown)
            shown.push_back(&t.track);
    return shown;
}

QByteArray TracksWindow::StartZone(QString* note) const {
    if (m_zoneChosen)
        return m_settings.zoneId;
    for (const Loaded& t : m_tracks) {
        if (t.shown && t.zone && QTimeZone(t.zone->zoneId).isValid()) {
            if (note)
                *note = tr("%1 is the zone of %2, %3 from where %4 starts.")
                            .arg(QString::fromUtf8(t.zone->zoneId), t.zone->city,
                                 LengthText(t.zone->distanceMetres), t.track.name);
            return t.zone->zoneId;
        }
    }
    return m_settings.zoneId;
}

void TracksWindow::SaveSettings() const {
    QSettings settings = OpenSettings();
    settings.beginGroup(kSettingsGroup);
    settings.setValue(QStringLiteral("correction"), FormatClockCorrection(m_settings.correctionMs));
    settings.setValue(QStringLiteral("largestGap"), m_settings.largestGapMs / 1000);
    settings.endGroup();
    settings.sync();
}

std::optional<MatchCounts> TracksWindow::Match(const MatchSettings& settings, bool selectedOnly) {
    PicturesWindow* pictures = PicturesWindowInstance();
    if (pictures == nullptr || pictures->Model()->Count() == 0) {
        SetStatus(tr("No pictures to match: open them first (Picture > Open Pictures...)."), true);
        return std::nullopt;
    }
    const TrackMatcher matcher(ShownTracks());
    if (!matcher.HasTimes()) {
        SetStatus(tr("No shown track has times to match with: open one (Track > Open "
                     "Track...)."),
                  true);
        return std::nullopt;
    }
    QList<int> rows;
    if (selectedOnly) {
        rows = pictures->SelectedRows();
    } else {
        for (int row = 0; row < pictures->Model()->Count(); ++row)
            rows << row;
    }
    const MatchCounts counts = MatchRows(*pictures->Model(), rows, matcher, settings);
    const QString text = DescribeCounts(counts);
    SetStatus(text);
    pictures->SetStatus(text);
    return counts;
}

void TracksWindow::MatchToTrack() {
    PicturesWindow* pictures = PicturesWindowInstance();
    if (pictures == nullptr || pictures->Model()->Count() == 0 || ShownTracks().empty()) {
        Match(m_settings, false); // says what is missing
        return;
    }
    QString note;
    MatchSettings start = m_settings;
    start.zoneId = StartZone(&note);
    MatchDialog dialog(this, start, note, static_cast<int>(pictures->SelectedRows().size()),
                       pictures->Model()->Count());
    // The timeline shows the correction as it is typed.
    connect(&dialog, &MatchDialog::correctionEdited, this,
            [this](qint64 ms) { emit correctionPreview(ms - m_settings.correctionMs); });
    const int answer = dialog.exec();
    emit correctionPreview(0);
    if (answer != QDialog::Accepted)
        return;
    m_settings = dialog.Settings();
    m_zoneChosen = true;
    SaveSettings();
    Match(m_settings, dialog.SelectedOnly());
    emit tracksChanged();
}

bool TracksWindow::SetClockFromPicture() {
    PicturesWindow* pictures = PicturesWindowInstance();
    const QList<int> rows = pictures ? pictures->SelectedRows() : QList<int>();
    if (rows.size() != 1) {
        SetStatus(tr("Select the one picture whose place you know in the list, and put the "
                     "map's centre where it was taken."),
                  true);
        return false;
    }
    const PictureRead& info = pictures->Model()->Info(rows.first());
    const CameraTime time{info.dateTime, info.offset};
    if (!WallClockMs(time.dateTime)) {
        SetStatus(tr("That picture gives no time taken."), true);
        return false;
    }
    // The trip's map, where the user works; the main window's fields before it has loaded.
    double lat = 0;
    double lon = 0;
    if (const auto centre = m_tripMap != nullptr ? m_tripMap->Centre() : std::nullopt) {
        lat = centre->latitude;
        lon = centre->longitude;
    } else {
        QString problem;
        const auto place = ReadFieldsPosition(&problem);
        if (!place) {
            SetStatus(tr("The map gives no place: %1").arg(problem), true);
            return false;
        }
        lat = place->latitude;
        lon = place->longitude;
    }
    const TrackMatcher matcher(ShownTracks());
    const auto pass = matcher.ClosestPass(lat, lon, m_settings.largestGapMs);
    if (!pass) {
        SetStatus(tr("No shown track has times: open one (Track > Open Track...)."), true);
        return false;
    }
    if (pass->distanceMetres > kFarMetres) {
        SetStatus(tr("The tracks come no nearer than %1 to the map's centre: put the map where "
                     "the picture was taken.")
                      .arg(LengthText(pass->distanceMetres)),
                  true);
        return false;
    }
    MatchSettings settings = CurrentSettings();
    const QTimeZone zone =
        settings.zoneId.isEmpty() ? QTimeZone::systemTimeZone() : QTimeZone(settings.zoneId);
    const auto correction = CorrectionForMoment(time, zone, pass->utcMs);
    if (!correction)
        return false;
    settings.correctionMs = *correction;
    m_settings = settings;
    SaveSettings();
    const auto counts = Match(m_settings, false);
    const QString text =
        tr("The track passed %1 from the map's centre at %2 UTC: clock "
           "correction %3.")
            .arg(LengthText(pass->distanceMetres), UtcText(pass->utcMs, "yyyy-MM-dd HH:mm:ss"),
                 FormatClockCorrection(m_settings.correctionMs));
    SetStatus(counts ? text + QLatin1Char(' ') + DescribeCounts(*counts) : text);
    if (counts)
        pictures->SetStatus(m_status->text());
    emit tracksChanged();
    return counts.has_value();
}

MatchSettings TracksWindow::CurrentSettings() const {
    MatchSettings settings = m_settings;
    settings.zoneId = StartZone(nullptr);
    return settings;
}

void TracksWindow::ShiftCorrection(qint64 shiftMs) {
    m_settings.correctionMs += shiftMs;
    SaveSettings();
    QString text = tr("Clock correction %1.").arg(FormatClockCorrection(m_settings.correctionMs));
    PicturesWindow* pictures = PicturesWindowInstance();
    if (pictures != nullptr && pictures->Model()->Count() > 0 && !ShownTracks().empty() &&
        TrackMatcher(ShownTracks()).HasTimes()) {
        if (const auto counts = Match(CurrentSettings(), false))
            text += QLatin1Char(' ') + DescribeCounts(*counts);
    }
    SetStatus(text);
    if (pictures != nullptr)
        pictures->SetStatus(text);
    emit tracksChanged();
}

std::vector<TimelineTrack> TracksWindow::TimelineTracks() const {
    std::vector<TimelineTrack> tracks;
    for (const Loaded& t : m_tracks)
        if (t.shown)
            tracks.push_back({t.track.name, QColor(QString::fromLatin1(TrackColour(t.id))),
                              CoveredSpans(t.track, m_settings.largestGapMs)});
    return tracks;
}

QStringList TracksWindow::TrackFiles() const {
    QStringList files;
    for (const Loaded& t : m_tracks)
        if (!t.track.fileName.isEmpty() && !files.contains(t.track.fileName))
            files << t.track.fileName;
    return files;
}

void TracksWindow::RestoreSettings(const MatchSettings& settings) {
    m_settings = settings;
    m_zoneChosen = !settings.zoneId.isEmpty();
    SaveSettings();
    emit tracksChanged();
}

QString TrackFileFilter() {
    const QString other = GpsbabelPatterns().join(QLatin1Char(' '));
    return QObject::tr("GPS tracks (*.gpx *.GPX *.kml *.KML %1);;GPX and KML (*.gpx *.GPX *.kml "
                       "*.KML);;Other formats, read with gpsbabel (%1);;All files (*)")
        .arg(other);
}

TracksWindow* TracksWindowInstance() {
    PicturesWindow* window = PicturesWindowInstance();
    return window != nullptr ? window->Tracks() : nullptr;
}

TracksWindow* ShowTracksWindow() {
    PicturesWindow* window = ShowPicturesWindow();
    return window != nullptr ? window->Tracks() : nullptr;
}
