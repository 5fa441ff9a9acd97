#include "app/FindPlaceBox.h"

#include "places/SavedPlaces.h"

#include "app/NetworkState.h"
#include "app/PlaceMoves.h"
#include "base/AppState.h"
#include "places/CitySearch.h"
#include "places/CoordinateReader.h"
#include "places/PlacesSettings.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

namespace {

constexpr int kBoxWidth = 330;
constexpr int kMargin = 10;
constexpr int kOfflineLimit = 8;
enum Role { Latitude = Qt::UserRole, Longitude, Zoom, FromNetwork };

} // namespace

FindPlaceBox::FindPlaceBox(QWidget* mapHost)
    : QFrame(mapHost), m_query(new QLineEdit(this)), m_results(new QListWidget(this)),
      m_status(new QLabel(this)) {
    setObjectName(QStringLiteral("findPlace"));
    setAccessibleName(tr("Find a place"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);

    m_query->setObjectName(QStringLiteral("findPlaceQuery"));
    m_query->setAccessibleName(tr("Place to find"));
    m_query->setPlaceholderText(tr("City, address or coordinates; Enter searches online"));
    m_query->setClearButtonEnabled(true);
    m_results->setObjectName(QStringLiteral("findPlaceResults"));
    m_results->setAccessibleName(tr("Places found"));
    m_results->setWordWrap(true);
    m_results->setAlternatingRowColors(true);
    m_results->setUniformItemSizes(false);
    m_results->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_status->setObjectName(QStringLiteral("findPlaceStatus"));
    m_status->setAccessibleName(tr("Search state"));
    m_status->setWordWrap(true);
    m_status->setTextFormat(Qt::PlainText);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(3);
    layout->addWidget(m_query);
    layout->addWidget(m_results);
    layout->addWidget(m_status);

    m_network.SetBaseUrl(NominatimUrl());
    m_typing.setSingleShot(true);
    connect(&m_typing, &QTimer::timeout, this, [this] { SearchOffline(m_query->text()); });
    connect(m_query, &QLineEdit::textEdited, this, &FindPlaceBox::OnEdited);
    connect(m_query, &QLineEdit::returnPressed, this, &FindPlaceBox::OnEnter);
    connect(m_results, &QListWidget::itemActivated, this, &FindPlaceBox::Choose);
    connect(m_results, &QListWidget::itemClicked, this, &FindPlaceBox::Choose);
    connect(&m_network, &NominatimSearch::found, this, &FindPlaceBox::OnFound);
    connect(&m_network, &NominatimSearch::failed, this, &FindPlaceBox::OnFailed);
    m_query->installEventFilter(this);
    m_results->installEventFilter(this);
    m_results->hide();
    m_status->hide();
    hide();
}

void FindPlaceBox::Open() {
    const QWidget* host = parentWidget();
    move(host->width() - kBoxWidth - kMargin, kMargin);
    FitHeight();
    show();
    raise();
    m_query->setFocus(Qt::ShortcutFocusReason);
    m_query->selectAll();
}

void FindPlaceBox::OnEdited() {
    // Typing again drops the network search: its answer would be for another text.
    m_network.Cancel();
    // Keys already waiting are taken first, so that quick typing costs one search.
    m_typing.start(0);
}

void FindPlaceBox::SearchOffline(const QString& text) {
    m_results->clear();
    SetStatus(QString());
    if (const auto position = ReadCoordinates(text)) {
        PlaceResult place;
        place.name = QStringLiteral("%1, %2").arg(DecimalDegreesText(position->latitude),
                                                  DecimalDegreesText(position->longitude));
        place.detail = tr("Coordinates");
        place.latitude = position->latitude;
        place.longitude = position->longitude;
        place.zoom = position->zoom.value_or(15);
        AddResult(place);
    }
    // The user's own places first: they are what they look for most.
    const QString wanted = text.simplified();
    if (!wanted.isEmpty()) {
        for (const SavedPlace& saved : ReadSavedPlaces()) {
            if (!saved.name.contains(wanted, Qt::CaseInsensitive))
                continue;
            PlaceResult place;
            place.name = saved.name;
            place.detail = tr("Saved place");
            place.latitude = saved.latitude;
            place.longitude = saved.longitude;
            place.zoom = saved.zoom;
            AddResult(place);
        }
    }
    for (const PlaceResult& place : SearchCities(text, kOfflineLimit))
        AddResult(place);
    if (m_results->count() == 0 && !text.trimmed().isEmpty())
        SetStatus(tr("No city of that name in the offline list. "
                     "Press Enter to search OpenStreetMap."));
    // Nothing is highlighted until the user picks with the arrow keys: Enter then takes it,
    // and otherwise searches online.
    m_results->setCurrentRow(-1);
    FitHeight();
}

void FindPlaceBox::OnEnter() {
    if (m_typing.isActive()) {
        m_typing.stop();
        SearchOffline(m_query->text());
    }
    QListWidgetItem* highlighted = m_results->currentItem();
    if (highlighted != nullptr && highlighted->isSelected() &&
        (highlighted->flags() & Qt::ItemIsSelectable)) {
        Choose(highlighted);
        return;
    }
    const QString text = m_query->text().simplified();
    if (text.isEmpty())
        return;
    if (!IsNetworkAvailable()) {
        SetStatus(tr("No network: only the offline list of cities was searched."));
        return;
    }
    SetStatus(tr("Searching OpenStreetMap… (Escape cancels)"));
    m_network.Search(text);
}

void FindPlaceBox::OnFound(const QString& query, const QList<PlaceResult>& results) {
    if (query != m_query->text().simplified())
        return;
    // Network results replace earlier ones; the offline ones stay above them.
    for (int row = m_results->count() - 1; row >= 0; --row) {
        if (m_results->item(row)->data(FromNetwork).toBool())
            delete m_results->takeItem(row);
    }
    if (!results.isEmpty()) {
        auto* header = new QListWidgetItem(tr("From OpenStreetMap:"), m_results);
        header->setFlags(Qt::NoItemFlags);
        QFont font = header->font();
        font.setItalic(true);
        header->setFont(font);
        header->setData(FromNetwork, true);
    }
    const int first = m_results->count();
    for (const PlaceResult& place : results) {
        AddResult(place);
        m_results->item(m_results->count() - 1)->setData(FromNetwork, true);
    }
    const QString attribution = NominatimSearch::Attribution();
    SetStatus(results.isEmpty() ? tr("OpenStreetMap found no such place.\n") + attribution
                                : attribution);
    if (!results.isEmpty()) {
        m_results->setCurrentRow(-1);
        m_results->scrollToItem(m_results->item(first));
    }
    FitHeight();
}

void FindPlaceBox::OnFailed(const QString& query, const QString& reason) {
    if (query != m_query->text().simplified())
        return;
    SetStatus(tr("The OpenStreetMap search failed: %1").arg(reason));
}

void FindPlaceBox::AddResult(const PlaceResult& place) {
    auto* item = new QListWidgetItem(
        place.detail.isEmpty() ? place.name : place.name + QLatin1Char('\n') + place.detail,
        m_results);
    item->setData(Latitude, place.latitude);
    item->setData(Longitude, place.longitude);
    item->setData(Zoom, place.zoom);
    item->setToolTip(item->text());
}

void FindPlaceBox::Choose(QListWidgetItem* item) {
    if (item == nullptr || !(item->flags() & Qt::ItemIsSelectable))
        return;
    m_network.Cancel();
    MoveMapTo(item->data(Latitude).toDouble(), item->data(Longitude).toDouble(),
              item->data(Zoom).toInt());
    hide();
}

void FindPlaceBox::SetStatus(const QString& text) {
    m_status->setText(text);
    m_status->setVisible(!text.isEmpty());
    FitHeight();
}

void FindPlaceBox::FitHeight() {
    m_results->setVisible(m_results->count() > 0);
    int listHeight = 0;
    for (int row = 0; row < m_results->count(); ++row)
        listHeight += m_results->sizeHintForRow(row);
    const int maxList = parentWidget()->height() / 2;
    m_results->setFixedHeight(std::min(listHeight + 2 * m_results->frameWidth(), maxList));
    layout()->activate();
    resize(kBoxWidth, layout()->sizeHint().height());
}

bool FindPlaceBox::Escape() {
    if (m_network.IsBusy()) {
        m_network.Cancel();
        SetStatus(tr("Search cancelled."));
        return true;
    }
    hide();
    return true;
}

bool FindPlaceBox::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QFrame::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Escape)
        return Escape();
    // The arrows pick a result while the typing goes on; Enter takes the one picked.
    if (watched == m_query && (key->key() == Qt::Key_Down || key->key() == Qt::Key_Up) &&
        m_results->count() > 0) {
        const int step = key->key() == Qt::Key_Down ? 1 : -1;
        int row = m_results->currentRow();
        do {
            row += step;
        } while (row >= 0 && row < m_results->count() &&
                 !(m_results->item(row)->flags() & Qt::ItemIsSelectable));
        if (row >= 0 && row < m_results->count())
            m_results->setCurrentRow(row);
        else if (step < 0)
            m_results->setCurrentRow(-1);
        return true;
    }
    return QFrame::eventFilter(watched, event);
}

FindPlaceBox* ShowFindPlaceBox() {
    if (g_app.wndMapHost == nullptr)
        return nullptr;
    auto* box = g_app.wndMapHost->findChild<FindPlaceBox*>(QString(), Qt::FindDirectChildrenOnly);
    if (box == nullptr)
        box = new FindPlaceBox(g_app.wndMapHost);
    box->Open();
    return box;
}
