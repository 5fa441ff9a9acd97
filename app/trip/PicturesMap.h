#pragma once

#include <QList>
#include <QObject>
#include <QSet>
#include <QTimer>

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
    void Refresh();
    void Send();
    void OnTitle(const QString& title);

    PictureList* m_list;
    TripMap* m_tripMap;
    QSet<int> m_selected;
    QTimer m_timer;
};
