#pragma once

#include <QList>
#include <QObject>
#include <QSet>
#include <QTimer>

#include <vector>

class PictureList;
class QString;
class TripMap;

// Shows every listed picture that has a position, its own or a new one, as a marker on
// the main window's map and the trip window's, and reports a click on a main map marker.
class PicturesMap : public QObject {
    Q_OBJECT
public:
    PicturesMap(PictureList* list, TripMap* tripMap, QObject* parent);

    // Model rows drawn as selected.
    void SetSelected(const QList<int>& rows);

signals:
    void markerClicked(int row);

private:
    // What a row's marker shows; none when the row has no position.
    struct Marker {
        double latitude = 0;
        double longitude = 0;
        int flags = -1; // -1: no marker
        bool operator==(const Marker& other) const {
            return flags == other.flags && latitude == other.latitude &&
                   longitude == other.longitude;
        }
    };

    void Refresh();
    // Every marker anew: the pages may hold none (loaded again) or hold them by other rows.
    void RefreshAll();
    void Send();
    Marker MarkerOf(int row) const;
    void OnTitle(const QString& title);

    PictureList* m_list;
    TripMap* m_tripMap;
    QSet<int> m_selected;
    // What the pages were last sent, by row: only what changed since goes to them.
    std::vector<Marker> m_shown;
    bool m_whole = true;
    QTimer m_timer;
    bool m_more = false; // changes came while the timer ran
    bool m_soon = false; // a set is on its way once the event loop turns
};
