#pragma once

#include "app/trip/Timeline.h"
#include "app/trip/TrackMatching.h"
#include "track/Track.h"
#include "track/TrackZone.h"

#include <QStringList>
#include <QWidget>

#include <optional>
#include <vector>

class QLabel;
class QProgressBar;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class TrackMatcher;
class TripMap;

// The opened tracks, a part of the trip window: each drawn on the maps, listed with its
// time span, points and length, and the listed pictures matched to them.
class TracksWindow : public QWidget {
    Q_OBJECT
public:
    TracksWindow(QWidget* parent, TripMap* tripMap);

    // Reads the files away from the window; each loads whole or not at all, and a file
    // already open is not opened again.
    void OpenFiles(const QStringList& files);
    bool IsLoading() const { return m_loading > 0; }
    // Adds a track made elsewhere (a location history, the pictures' own positions).
    void AddTrack(Track track);
    int TrackCount() const { return static_cast<int>(m_tracks.size()); }

    // Asks how, then matches the listed (or selected) pictures to the shown tracks.
    void MatchToTrack();
    // Matches without asking; returns what became of the pictures.
    std::optional<MatchCounts> Match(const MatchSettings& settings, bool selectedOnly);
    // The one selected picture was taken where the map is: sets the clock correction so that
    // it matches there, then matches every listed picture with it.
    bool SetClockFromPicture();

    const MatchSettings& Settings() const { return m_settings; }
    // The settings matching starts with now: the zone the user chose, else the tracks'.
    MatchSettings CurrentSettings() const;
    // Moves the camera's clock correction by shiftMs and matches every picture again.
    void ShiftCorrection(qint64 shiftMs);
    // The shown tracks' coverage, for the timeline.
    std::vector<TimelineTrack> TimelineTracks() const;
    // The files the open tracks were read from.
    QStringList TrackFiles() const;
    // How the trip was matched when it was kept.
    void RestoreSettings(const MatchSettings& settings);
    void SetStatus(const QString& text, bool problem = false);

signals:
    void tracksLoaded();
    // Tracks opened, closed, shown or hidden, or the matching settings changed.
    void tracksChanged();
    // The match dialog's correction, as a shift from the one in use, while it is edited.
    void correctionPreview(qint64 shiftMs);

private:
    struct Loaded {
        int id = 0;
        Track track;
        TrackSummary summary;
        bool shown = true;
        std::optional<CityZone> zone;
    };

    void AddLoaded(std::vector<Loaded> loaded, const QStringList& problems);
    void CloseSelected();
    void OnItemChanged(QTreeWidgetItem* item, int column);
    std::vector<const Track*> ShownTracks() const;
    // The zone the dialog starts at, and why.
    QByteArray StartZone(QString* note) const;
    void SaveSettings() const;
    void DrawOnTripMap() const;

    TripMap* m_tripMap;
    std::vector<Loaded> m_tracks;
    int m_nextId = 1;
    int m_loading = 0;
    MatchSettings m_settings;
    bool m_zoneChosen = false; // the user picked a zone since the tracks changed
    // The main map drops what it is sent while its page loads, and draws every track again
    // when it has loaded: the newest then fits the map, as it would have.
    bool m_mainMapLoading = false;
    bool m_fitMainMapOnLoad = false;
    QTreeWidget* m_list;
    QPushButton* m_open;
    QPushButton* m_close;
    QPushButton* m_match;
    QPushButton* m_clock;
    QProgressBar* m_progress;
    QLabel* m_status;
};

// The file dialog's filter for track files.
QString TrackFileFilter();

// The tracks part of the trip window (made when needed), and the window shown with it.
TracksWindow* TracksWindowInstance();
TracksWindow* ShowTracksWindow();
