#pragma once

#include "places/NominatimSearch.h"

#include <QFrame>
#include <QTimer>

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;

// The search box over the map: cities from the offline list while typing, OpenStreetMap's
// Nominatim on Enter, and a coordinate pair read as typed. Choosing a result moves the map.
class FindPlaceBox : public QFrame {
    Q_OBJECT

public:
    explicit FindPlaceBox(QWidget* mapHost);

    // Shows the box at the map's top right corner, with the query selected.
    void Open();

    NominatimSearch& Network() { return m_network; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnEdited();
    void SearchOffline(const QString& text);
    void OnEnter();
    void OnFound(const QString& query, const QList<PlaceResult>& results);
    void OnFailed(const QString& query, const QString& reason);
    void Choose(QListWidgetItem* item);
    void AddResult(const PlaceResult& place);
    void SetStatus(const QString& text);
    void FitHeight();
    bool Escape();

    QLineEdit* m_query;
    QListWidget* m_results;
    QLabel* m_status;
    NominatimSearch m_network;
    QTimer m_typing; // one offline search for keys typed faster than it runs
};

// Opens the map's search box, made on first use.
FindPlaceBox* ShowFindPlaceBox();
