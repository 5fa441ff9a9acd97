#include "app/trip/PicturesMap.h"

#include "app/trip/TripMap.h"

#include "base/AppState.h"
#include "pictures/PictureList.h"
#include "webview/CWebBrowser.h"

#include <QWebEnginePage>
#include <QWebEngineView>

#include <algorithm>
#include <cmath>

namespace {

const QString kPickTitle = QStringLiteral("Kartavo pick ");

void AppendNumber(QByteArray& script, double value) {
    script += QByteArray::number(value, 'g', 17);
}

} // namespace

PicturesMap::PicturesMap(PictureList* list, TripMap* tripMap, QObject* parent)
    : QObject(parent), m_list(list), m_tripMap(tripMap) {
    // Many changes at once (a whole read or write) make one new set of markers.
    m_timer.setObjectName(QStringLiteral("markersTimer"));
    m_timer.setSingleShot(true);
    m_timer.setInterval(100);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (m_more) {
            m_more = false;
            m_timer.start();
            Send();
        }
    });
    // A thumbnail arriving moves no marker.
    connect(list, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& first, const QModelIndex& last) {
                if (!(first.column() == PictureList::Thumbnail &&
                      last.column() == PictureList::Thumbnail))
                    Refresh();
            });
    // Rows after those inserted or removed change their numbers: the pages' markers by row
    // are made anew.
    connect(list, &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex&, int first) {
        if (first < static_cast<int>(m_shown.size()))
            m_whole = true;
        Refresh();
    });
    connect(list, &QAbstractItemModel::rowsRemoved, this, &PicturesMap::RefreshAll);
    connect(list, &QAbstractItemModel::modelReset, this, &PicturesMap::RefreshAll);
    connect(tripMap, &TripMap::ready, this, &PicturesMap::RefreshAll);
    if (g_app.pMapView && g_app.pMapView->View()) {
        QWebEnginePage* page = g_app.pMapView->View()->page();
        // Straight from the page: the shell's own title event reads the title later, when
        // it may already have been put back.
        connect(page, &QWebEnginePage::titleChanged, this, &PicturesMap::OnTitle);
        connect(page, &QWebEnginePage::loadFinished, this, &PicturesMap::RefreshAll);
    }
}

void PicturesMap::RefreshAll() {
    m_whole = true;
    Refresh();
}

void PicturesMap::SetSelected(const QList<int>& rows) {
    m_selected = QSet<int>(rows.begin(), rows.end());
    Refresh();
}

void PicturesMap::Refresh() {
    // A change after a quiet while shows as soon as the changes made with it are done (a
    // drop of 500 pictures is 500 changes); while changes keep coming (a whole read or
    // write), at most one new set every interval.
    if (m_timer.isActive() || m_soon) {
        m_more = m_timer.isActive();
        return;
    }
    m_soon = true;
    QTimer::singleShot(0, this, [this] {
        m_soon = false;
        m_more = false;
        // Thousands of markers take a while to make: fewer sets while reads keep coming.
        m_timer.setInterval(std::clamp(m_list->Count() / 10, 100, 2000));
        m_timer.start();
        Send();
    });
}

PicturesMap::Marker PicturesMap::MarkerOf(int row) const {
    const auto place = m_list->NewPositionOf(row);
    const PictureRead& info = m_list->Info(row);
    Marker marker;
    if (place) {
        marker.latitude = place->latitude;
        marker.longitude = place->longitude;
    } else if (info.latitude && info.longitude) {
        marker.latitude = *info.latitude;
        marker.longitude = *info.longitude;
    } else {
        return marker;
    }
    // Only numbers reach the page.
    if (!std::isfinite(marker.latitude) || !std::isfinite(marker.longitude))
        return Marker();
    marker.flags = (place ? 1 : 0) | (m_selected.contains(row) ? 2 : 0);
    return marker;
}

// A year of pictures is ten thousand markers: sent whole each time their reads arrive,
// the pages parsed megabytes of script and kept them for a while. Only the rows whose
// marker came, moved, changed its look or went are sent.
void PicturesMap::Send() {
    const int count = m_list->Count();
    const bool whole = m_whole;
    m_whole = false;
    if (whole)
        m_shown.assign(static_cast<std::size_t>(count), Marker());
    else
        m_shown.resize(static_cast<std::size_t>(count));
    QByteArray changed;
    QByteArray gone;
    for (int row = 0; row < count; ++row) {
        const Marker marker = MarkerOf(row);
        Marker& shown = m_shown[static_cast<std::size_t>(row)];
        if (!whole && marker == shown)
            continue;
        if (marker.flags < 0) {
            if (shown.flags >= 0)
                gone += (gone.isEmpty() ? "" : ",") + QByteArray::number(row);
            shown = marker;
            continue;
        }
        shown = marker;
        changed += changed.isEmpty() ? "[" : ",[";
        changed += QByteArray::number(row) + ',';
        AppendNumber(changed, marker.latitude);
        changed += ',';
        AppendNumber(changed, marker.longitude);
        changed += ',' + QByteArray::number(marker.flags) + ']';
    }
    if (whole)
        RunOnMaps("if (window.PicturesShow) PicturesShow([" + changed + "])");
    else if (!changed.isEmpty() || !gone.isEmpty())
        RunOnMaps("if (window.PicturesChange) PicturesChange([" + changed + "], [" + gone + "])");
}

void PicturesMap::OnTitle(const QString& title) {
    if (!title.startsWith(kPickTitle))
        return;
    // The map's own title comes back at once: it is the position the settings keep.
    if (g_app.pMapView)
        g_app.pMapView->ExecScript("PicturesRestoreTitle()");
    bool ok = false;
    const int row = title.mid(kPickTitle.size()).section(QLatin1Char(' '), 0, 0).toInt(&ok);
    if (ok && row >= 0 && row < m_list->Count())
        emit markerClicked(row);
}
