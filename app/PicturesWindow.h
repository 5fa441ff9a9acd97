#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QTimer>
#include <QWidget>

#include <atomic>
#include <memory>

class PictureList;
class PicturesBatch;
class PicturesMap;
class PictureThumbnails;
class QLabel;
class QProgressBar;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;
class QUrl;

// The window of many pictures beside the main window: the list, one position for many,
// writing them with progress.
class PicturesWindow : public QWidget {
    Q_OBJECT
public:
    explicit PicturesWindow(QWidget* mainWindow);
    ~PicturesWindow() override;

    PictureList* Model() { return m_list; }
    // Reads, writes and undo.
    PicturesBatch& Batch() { return *m_batch; }
    // Model rows, in list order.
    QList<int> SelectedRows() const;

    // Lists the files not listed yet and reads them; returns how many were new.
    int AddPictures(const QList<QByteArray>& paths);
    // Lists the pictures in folder (and its sub-folders), looked for away from the window.
    void AddFolder(const QByteArray& folder, bool subfolders);
    bool IsScanning() const { return m_scans > 0; }
    // Selects only this model row and shows it.
    void SelectRow(int row);
    // The fields' position becomes the new position of the selected pictures; false (and
    // a message) when the fields hold no position.
    bool UseMapPosition();
    void RemoveSelected();

    // The progress line under the list, for reads and writes.
    void ShowProgress(const QString& what, int done, int total);
    void HideProgress();
    void SetStatus(const QString& text);
    // While busy, nothing new is written.
    void SetBusy(bool busy);

signals:
    void readRequested(const QList<QByteArray>& paths);
    void writeRequested();
    void cancelRequested();

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void OnSelectionChanged();
    void ShowCurrent();
    void UpdateWriteButton();
    void SaveGeometry();

    PictureList* m_list;
    QSortFilterProxyModel* m_proxy;
    QTableView* m_table;
    PictureThumbnails* m_thumbnails;
    PicturesMap* m_map;
    PicturesBatch* m_batch;
    QPushButton* m_useMap;
    QPushButton* m_write;
    QPushButton* m_cancel;
    QProgressBar* m_progress;
    QLabel* m_progressText;
    QLabel* m_status;
    QTimer m_showTimer;
    QElapsedTimer m_progressClock;
    bool m_busy = false;
    int m_scans = 0;
    std::shared_ptr<std::atomic<bool>> m_stopScan = std::make_shared<std::atomic<bool>>(false);
};

// Makes the window once (hidden), beside the main window; null before the main window.
PicturesWindow* PicturesWindowInstance();
// Makes it once, shows and raises it.
PicturesWindow* ShowPicturesWindow();
// Files dropped together on the preview: when there are several, all go into the list.
void ListDroppedPictures(const QList<QUrl>& urls);

// At the end of the program: a write or undo in hand stops after the pictures in hand, as
// Cancel does, instead of being killed half way; a read is simply dropped.
void FinishPictureWrites();
