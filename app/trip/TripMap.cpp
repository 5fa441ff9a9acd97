#include "app/trip/TripMap.h"

#include "app/trip/TileProblem.h"
#include "app/trip/TripPage.h"
#include "base/AppState.h"
#include "pictures/PictureList.h"
#include "webview/CWebBrowser.h"
#include "webview/JsString.h"
#include "webview/ResourcePath.h"
#include "webview/WebProfile.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QJsonObject>
#include <QMenu>
#include <QMimeData>
#include <QVBoxLayout>
#include <QWebEngineView>

#include <cmath>

namespace {

QPointer<TripMap> s_tripMap;

QString CoordinatesText(const MapPoint& point) {
    return QStringLiteral("%1, %2").arg(QString::number(point.latitude, 'f', 6),
                                        QString::number(point.longitude, 'f', 6));
}

bool HasPictures(const QMimeData* mime) {
    return mime != nullptr && mime->hasFormat(PictureList::DragMimeType());
}

} // namespace

TripMap::TripMap(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("tripMap"));
    setAccessibleName(tr("Map of the trip"));
    setAcceptDrops(true);
    setFocusPolicy(Qt::StrongFocus);
    // The tile address the settings give now.
    PrepareWebProfile();
    m_page = new TripPage(this);
    m_view = new QWebEngineView(this);
    m_view->setObjectName(QStringLiteral("tripMapView"));
    m_view->setAccessibleName(tr("Map of the trip"));
    m_view->setPage(m_page);
    // Pictures dropped belong to this widget; the program shows its own menu.
    m_view->setAcceptDrops(false);
    m_view->setContextMenuPolicy(Qt::NoContextMenu);
    setFocusProxy(m_view);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    m_tiles = new TileProblem(this);
    connect(m_tiles, &TileProblem::found, this, [this](const QString& text) {
        Run("TripTilesProblem(" + JsStringLiteral(text).toUtf8() + ')');
    });
    connect(m_page, &TripPage::reported, this, &TripMap::OnReport);
    connect(m_page, &QWebEnginePage::loadStarted, this, [this] { m_ready = false; });

    // The keyboard's way to the menu a right-click opens, at the map's centre.
    auto* menuKey = new QAction(this);
    menuKey->setShortcuts({QKeySequence(Qt::SHIFT | Qt::Key_F10), QKeySequence(Qt::Key_Menu)});
    menuKey->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(menuKey, &QAction::triggered, this, &TripMap::ShowMenuAtCentre);
    addAction(menuKey);

    // The map's own keys (arrows pan, + and - zoom) need its element to have the focus.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now != nullptr && (now == m_view || m_view->isAncestorOf(now)))
            Run("TripFocus()");
    });
    s_tripMap = this;
}

void TripMap::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The window is made, hidden, by anything that asks for the list (the Picture menu
    // asks whether there is a write to undo): the map's page costs only once it is seen.
    if (!m_loadStarted) {
        m_loadStarted = true;
        m_page->load(QUrl(ResourceAddress(QStringLiteral("trip.htm"))));
    }
}

TripMap::~TripMap() = default;

void TripMap::Run(const QByteArray& script) {
    if (m_ready)
        m_page->runJavaScript(QString::fromUtf8(script));
}

void TripMap::ShowPoint(double latitude, double longitude) {
    if (!std::isfinite(latitude) || !std::isfinite(longitude))
        return;
    Run("TripShowPoint(" + QByteArray::number(latitude, 'g', 17) + ',' +
        QByteArray::number(longitude, 'g', 17) + ')');
}

void TripMap::OnReport(const QJsonObject& event) {
    const QString type = event.value(QStringLiteral("type")).toString();
    const MapPoint point{event.value(QStringLiteral("lat")).toDouble(),
                         event.value(QStringLiteral("lng")).toDouble()};
    if (type == QLatin1String("ready")) {
        m_ready = true;
        emit ready();
    } else if (type == QLatin1String("centre")) {
        m_centre = point;
        m_zoom = event.value(QStringLiteral("zoom")).toInt();
        emit centreChanged();
    } else if (type == QLatin1String("pick")) {
        emit markerPicked(event.value(QStringLiteral("row")).toInt(-1));
    } else if (type == QLatin1String("moved")) {
        emit markerMoved(event.value(QStringLiteral("row")).toInt(-1), point.latitude,
                         point.longitude);
    } else if (type == QLatin1String("context")) {
        ShowMenu(point, QPoint(event.value(QStringLiteral("x")).toInt(),
                               event.value(QStringLiteral("y")).toInt()));
    } else if (type == QLatin1String("tileerror")) {
        m_tiles->Check(QUrl(event.value(QStringLiteral("url")).toString()));
    } else if (type == QLatin1String("tileload")) {
        m_tiles->Clear();
    }
}

void TripMap::ShowMenu(const MapPoint& point, const QPoint& viewPos) {
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("tripMapMenu"));
    QAction* place = menu.addAction(tr("&Place selected pictures here"));
    place->setObjectName(QStringLiteral("placeSelectedHere"));
    QAction* copy = menu.addAction(tr("&Copy coordinates"));
    copy->setObjectName(QStringLiteral("copyCoordinates"));
    const QAction* chosen = menu.exec(m_view->mapToGlobal(viewPos));
    if (chosen == place)
        emit placeRequested({}, point.latitude, point.longitude);
    else if (chosen == copy)
        QApplication::clipboard()->setText(CoordinatesText(point));
}

void TripMap::ShowMenuAtCentre() {
    if (m_centre)
        ShowMenu(*m_centre, m_view->rect().center());
}

void TripMap::dragEnterEvent(QDragEnterEvent* event) {
    if (HasPictures(event->mimeData()) && m_ready)
        event->acceptProposedAction();
}

void TripMap::dragMoveEvent(QDragMoveEvent* event) {
    if (HasPictures(event->mimeData()) && m_ready)
        event->acceptProposedAction();
}

void TripMap::dropEvent(QDropEvent* event) {
    if (!HasPictures(event->mimeData()) || !m_ready)
        return;
    QList<QByteArray> paths = event->mimeData()->data(PictureList::DragMimeType()).split('\0');
    paths.removeAll(QByteArray());
    const QPoint at = m_view->mapFrom(this, event->position().toPoint());
    event->acceptProposedAction();
    QPointer<TripMap> self(this);
    m_page->runJavaScript(QStringLiteral("TripPointAt(%1, %2)").arg(at.x()).arg(at.y()),
                          [self, paths](const QVariant& result) {
                              const QVariantList pair = result.toList();
                              if (!self || pair.size() != 2)
                                  return;
                              emit self->placeRequested(paths, pair[0].toDouble(),
                                                        pair[1].toDouble());
                          });
}

void RunOnMaps(const QByteArray& script) {
    if (g_app.pMapView)
        g_app.pMapView->ExecScript(script.constData());
    if (s_tripMap)
        s_tripMap->Run(script);
}
