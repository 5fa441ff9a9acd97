#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QTimer>
#include <QWidget>

#include <atomic>
#include <memory>
#include <optional>
#include <vector>

class PictureList;
class PictureTable;
class PicturesBatch;
class PicturesMap;
class PictureThumbnails;
class QLabel;
class QProgressBar;
class QPushButton;
class QSortFilterProxyModel;
class QSplitter;
class QUrl;
class Timeline;
class TracksWindow;
class TripMap;
class TripSessionKeeper;

// The window where a trip is done: the pictures and the tracks listed beside a map of its
// own, a timeline under the map, one position for many, writing them with progress.
class PicturesWindow : public QWidget {
    Q_OBJECT
public:
    explicit PicturesWindow(QWidget* mainWindow);
    ~PicturesWindow() override;

    PictureList* Model() { return m_list; }
    // Reads, writes and undo.
    PicturesBatch& Batch() { return *m_batch; }
    TracksWindow* Tracks() { return m_tracks; }
    TripMap* Map() { return m_tripMap; }
    Timeline* TimeStrip() { return m_timeline; }
    // Model rows, in list order.
    QList<int> SelectedRows() const;

    // Lists the files not listed yet and reads them; returns how many were new. keys as
    // for PictureList::Add.
    int AddPictures(const QList<QByteArray>& paths, const QList<QByteArray>& keys = {});
    // Lists the pictures in folder (and its sub-folders), looked for away from the window.
    void AddFolder(const QByteArray& folder, bool subfolders);
    bool IsScanning() const { return m_scans > 0; }
    // Selects only this model row and shows it.
    void SelectRow(int row);
    // The centre of the trip window's map becomes the new position of the selected
    // pictures; false (and a message) when there are none or the map has no centre yet.
    bool UseMapPosition();
    // The selected pictures (or those named) get this new position.
    void PlacePictures(const QList<QByteArray>& paths, double latitude, double longitude,
                       const QString& how);
    void RemoveSelected();

    // The progress line under the list, for reads and writes.
    void ShowProgress(const QString& what, int done, int total);
    void HideProgress();
    void SetStatus(const QString& text);
    // While busy, nothing new is written.
    void SetBusy(bool busy);

    // Positions waiting to be written: asks whether to write them, discard them or stay.
    // True when the window (or, with programEnds, the program) may go now; a window left
    // after a write goes once the write is done, a program waits for it.
    bool MayLeave(bool programEnds = false);

signals:
    void readRequested(const QList<QByteArray>& paths);
    void writeRequested();
    void cancelRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void OnSelectionChanged();
    void ShowCurrent();
    void UpdateWriteButton();
    void UpdateTimeline();
    void SaveGeometry();
    void PlaceFirstTime(QWidget* mainWindow);

    PictureList* m_list;
    QSortFilterProxyModel* m_proxy;
    PictureTable* m_table;
    PictureThumbnails* m_thumbnails;
    PicturesMap* m_map;
    PicturesBatch* m_batch;
    TripMap* m_tripMap;
    Timeline* m_timeline;
    TracksWindow* m_tracks;
    TripSessionKeeper* m_session;
    QSplitter* m_split;
    QSplitter* m_leftSplit;
    QSplitter* m_rightSplit;
    QPushButton* m_useMap;
    QPushButton* m_write;
    QPushButton* m_cancel;
    QProgressBar* m_progress;
    QLabel* m_progressText;
    QLabel* m_status;
    QTimer m_showTimer;
    QTimer m_timelineTimer;
    QElapsedTimer m_progressClock;
    QElapsedTimer m_progressShown;
    // Each row's moment on the timeline, kept until its read, the zone or the correction
    // changes: a year of pictures' dates read again for each turn took the window 50 ms.
    struct TickTime {
        bool known = false;
        std::optional<qint64> utcMs;
    };
    std::vector<TickTime> m_tickTimes;
    QByteArray m_tickZone;
    qint64 m_tickCorrectionMs = 0;
    bool m_busy = false;
    bool m_closeAfterWrite = false;
    bool m_leaveWriteStarted = false;
    int m_scans = 0;
    std::shared_ptr<std::atomic<bool>> m_stopScan = std::make_shared<std::atomic<bool>>(false);
};

// Makes the window once (hidden), beside the main window; null before the main window.
PicturesWindow* PicturesWindowInstance();
// The window when it has been made, without making it.
PicturesWindow* ExistingPicturesWindow();
// Makes it once, shows and raises it.
PicturesWindow* ShowPicturesWindow();
// The program is about to end: false when the user chose to stay with the trip.
bool MayEndTrip();
// Files dropped together on the preview: when there are several, all go into the list.
void ListDroppedPictures(const QList<QUrl>& urls);

// At the end of the program: a write or undo in hand stops after the pictures in hand, as
// Cancel does, instead of being killed half way; a read is simply dropped.
void FinishPictureWrites();
