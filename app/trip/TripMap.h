#pragma once

#include <QByteArray>
#include <QList>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <optional>

class QJsonObject;
class QWebEngineView;
class TripPage;
class TileProblem;

struct MapPoint {
    double latitude = 0;
    double longitude = 0;
};

// The trip window's own map: the same map scripts as the main window's, in a view that
// fills the window's space. Pictures dragged from the list are dropped on it.
class TripMap : public QWidget {
    Q_OBJECT
public:
    explicit TripMap(QWidget* parent);
    ~TripMap() override;

    // The page has loaded and its map is made; scripts sent before are dropped, and what
    // the map shows is sent again on ready().
    bool IsReady() const { return m_ready; }
    std::optional<MapPoint> Centre() const { return m_centre; }
    int Zoom() const { return m_zoom; }
    void Run(const QByteArray& script);
    // Pans to the point when it is out of sight; the zoom stays.
    void ShowPoint(double latitude, double longitude);
    QWebEngineView* View() const { return m_view; }

signals:
    void ready();
    void markerPicked(int row);
    void markerMoved(int row, double latitude, double longitude);
    // Pictures (by file name) dropped, or "Place selected pictures here" with no names.
    void placeRequested(const QList<QByteArray>& paths, double latitude, double longitude);
    void centreChanged();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void OnReport(const QJsonObject& event);
    void ShowMenu(const MapPoint& point, const QPoint& viewPos);
    void ShowMenuAtCentre();

    TripPage* m_page;
    QWebEngineView* m_view;
    TileProblem* m_tiles;
    bool m_ready = false;
    bool m_loadStarted = false;
    std::optional<MapPoint> m_centre;
    int m_zoom = 0;
};

// Runs script on every map that shows pictures and tracks: the main window's and the trip
// window's, when they are there.
void RunOnMaps(const QByteArray& script);
