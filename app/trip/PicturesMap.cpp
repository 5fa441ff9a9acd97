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
    connect(list, &QAbstractItemModel::rowsInserted, this, &PicturesMap::Refresh);
    connect(list, &QAbstractItemModel::rowsRemoved, this, &PicturesMap::Refresh);
    connect(list, &QAbstractItemModel::modelReset, this, &PicturesMap::Refresh);
    connect(tripMap, &TripMap::ready, this, &PicturesMap::Refresh);
    if (g_app.pMapView && g_app.pMapView->View()) {
        QWebEnginePage* page = g_app.pMapView->View()->page();
        // Straight from the page: the shell's own title event reads the title later, when
        // it may already have been put back.
        connect(page, &QWebEnginePage::titleChanged, this, &PicturesMap::OnTitle);
        connect(page, &QWebEnginePage::loadFinished, this, &PicturesMap::Refresh);
    }
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

void PicturesMap::Send() {
    QByteArray script = "if (window.PicturesShow) PicturesShow([";
    bool first = true;
    for (int row = 0; row < m_list->Count(); ++row) {
        const PictureRead& info = m_list->Info(row);
        const auto place = m_list->NewPositionOf(row);
        double latitude = 0;
        double longitude = 0;
        if (place) {
            latitude = place->latitude;
            longitude = place->longitude;
        } else if (info.latitude && info.longitude) {
            latitude = *info.latitude;
            longitude = *info.longitude;
        } else {
            continue;
        }
        // Only numbers reach the page.
        if (!std::isfinite(latitude) || !std::isfinite(longitude))
            continue;
        const int flags = (place ? 1 : 0) | (m_selected.contains(row) ? 2 : 0);
        script += first ? "[" : ",[";
        first = false;
        script += QByteArray::number(row) + ',';
        AppendNumber(script, latitude);
        script += ',';
        AppendNumber(script, longitude);
        script += ',' + QByteArray::number(flags) + ']';
    }
    script += "])";
    RunOnMaps(script);
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
