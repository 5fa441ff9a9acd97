#include "app/placenames/PlaceNamesWindow.h"

#include "app/trip/PicturesBatch.h"
#include "app/trip/PicturesWindow.h"
#include "base/SettingsFile.h"
#include "pictures/PictureList.h"
#include "places/NominatimReverse.h"
#include "places/PlaceNames.h"
#include "places/PlacesSettings.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString kCityKmKey = QStringLiteral("PlaceNames/CityKm");

// The position a picture will have: its new one, else its own.
bool PositionOf(const PictureList& list, int row, double& latitude, double& longitude) {
    if (const auto place = list.NewPositionOf(row)) {
        latitude = place->latitude;
        longitude = place->longitude;
        return true;
    }
    const PictureRead& info = list.Info(row);
    if (!list.IsRead(row) || !info.latitude || !info.longitude)
        return false;
    latitude = *info.latitude;
    longitude = *info.longitude;
    return true;
}

} // namespace

PlaceNamesWindow::PlaceNamesWindow(PicturesWindow* pictures)
    : QDialog(pictures), m_pictures(pictures), m_online(new NominatimReverse(this)) {
    setWindowTitle(tr("Name the Places"));
    setObjectName(QStringLiteral("placeNamesWindow"));
    auto* explain = new QLabel(
        tr("The names of the places of the listed pictures with a position are proposed in "
           "the trip window's City, Region, Country and Code columns. Edit them there "
           "(double-click or F2), then write them."),
        this);
    explain->setWordWrap(true);

    m_cityKm = new QDoubleSpinBox(this);
    m_cityKm->setObjectName(QStringLiteral("cityKm"));
    m_cityKm->setRange(0.5, 200);
    m_cityKm->setDecimals(1);
    m_cityKm->setSuffix(tr(" km"));
    m_cityKm->setValue(OpenSettingsFile().value(kCityKmKey, 15.0).toDouble());
    m_cityKm->setToolTip(tr("Farther from the nearest city than this, the city is left empty"));
    m_overwrite = new QCheckBox(tr("&Replace names the pictures already hold"), this);
    m_overwrite->setObjectName(QStringLiteral("replaceNames"));
    auto* form = new QFormLayout;
    form->addRow(tr("Name a &city within:"), m_cityKm);
    form->addRow(m_overwrite);

    m_offline = new QPushButton(tr("Name &Offline"), this);
    m_lookUp = new QPushButton(tr("&Look Up Online"), this);
    m_write = new QPushButton(tr("&Write Names"), this);
    m_cancel = new QPushButton(tr("Cancel"), this);
    m_offline->setObjectName(QStringLiteral("nameOffline"));
    m_lookUp->setObjectName(QStringLiteral("lookUpOnline"));
    m_write->setObjectName(QStringLiteral("writeNames"));
    m_cancel->setObjectName(QStringLiteral("cancelLookUp"));
    m_lookUp->setToolTip(tr("Asks OpenStreetMap's Nominatim, one picture a second"));
    m_progress = new QProgressBar(this);
    m_attribution = new QLabel(NominatimReverse::Attribution(), this);
    // Shown later: in one line it would widen the window past the screen's edge.
    m_attribution->setWordWrap(true);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("placeNamesStatus"));
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {m_offline, m_lookUp, m_write})
        buttons->addWidget(button);
    buttons->addStretch();
    auto* progress = new QHBoxLayout;
    progress->addWidget(m_progress, 1);
    progress->addWidget(m_cancel);
    auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(explain);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->addLayout(progress);
    layout->addWidget(m_attribution);
    layout->addWidget(m_status);
    layout->addWidget(close);
    SetBusy(false);
    m_attribution->hide();

    m_online->SetBaseUrl(NominatimUrl());
    connect(m_offline, &QPushButton::clicked, this, &PlaceNamesWindow::NameOffline);
    connect(m_lookUp, &QPushButton::clicked, this, &PlaceNamesWindow::LookUpOnline);
    connect(m_write, &QPushButton::clicked, this, &PlaceNamesWindow::WriteNames);
    connect(m_cancel, &QPushButton::clicked, m_online, &NominatimReverse::Cancel);
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(this, &QDialog::rejected, m_online, &NominatimReverse::Cancel);
    connect(m_cityKm, &QDoubleSpinBox::valueChanged, this,
            [](double km) { OpenSettingsFile().setValue(kCityKmKey, km); });
    connect(m_online, &NominatimReverse::progress, this, [this](int done, int total) {
        m_progress->setRange(0, std::max(total, 1));
        m_progress->setValue(done);
    });
    connect(m_online, &NominatimReverse::named, this, [this](int row, const PlaceName& name) {
        if (row < m_pictures->Model()->Count() && !(name == PlaceName())) {
            Propose(row, name);
            ++m_onlineNamed;
        }
    });
    connect(m_online, &NominatimReverse::failed, this, [this](int, const QString& reason) {
        Say(tr("Looking up online stopped: %1").arg(reason));
    });
    connect(m_online, &NominatimReverse::finished, this, [this](bool cancelled) {
        SetBusy(false);
        if (cancelled)
            Say(tr("Looking up online cancelled; %1 named.")
                    .arg(PictureList::PictureCount(m_onlineNamed)));
        else if (!m_status->text().startsWith(tr("Looking up online stopped")))
            Say(tr("%1 named online.").arg(PictureList::PictureCount(m_onlineNamed)));
    });
    connect(&m_pictures->Batch(), &PicturesBatch::namesWritten, this, &PlaceNamesWindow::Say);
}

// The name columns are at the list's right end: they come into view when proposed.
void PlaceNamesWindow::ShowNameColumns() {
    auto* table = m_pictures->findChild<QTableView*>(QStringLiteral("pictureTable"));
    if (table == nullptr || table->model()->rowCount() == 0)
        return;
    table->scrollTo(table->model()->index(0, PictureList::CountryCode));
    table->scrollTo(table->model()->index(0, PictureList::City));
}

void PlaceNamesWindow::Propose(int row, const PlaceName& name) {
    // What will be written: names the picture holds stay unless they are to be replaced.
    const PictureRead& held = m_pictures->Model()->Info(row);
    const bool keep = !m_overwrite->isChecked();
    auto pick = [keep](const QString& had, const QString& found) {
        return keep && !had.isEmpty() ? had : found;
    };
    PictureList::PlaceNames names;
    names.city = pick(held.city, name.city);
    names.state = pick(held.state, name.state);
    names.country = pick(held.country, name.country);
    names.countryCode = pick(held.countryCode, name.countryCode);
    names.distanceMetres =
        names.city != name.city || name.city.isEmpty() ? -1 : name.distanceMetres;
    m_pictures->Model()->SetProposedNames(row, names);
}

int PlaceNamesWindow::NameOffline() {
    PictureList& list = *m_pictures->Model();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    int positions = 0, named = 0;
    for (int row = 0; row < list.Count(); ++row) {
        double latitude = 0, longitude = 0;
        if (!PositionOf(list, row, latitude, longitude))
            continue;
        ++positions;
        if (const auto name = NearestPlaceName(latitude, longitude, m_cityKm->value() * 1000)) {
            Propose(row, *name);
            ++named;
        }
    }
    QApplication::restoreOverrideCursor();
    m_attribution->hide();
    ShowNameColumns();
    if (positions == 0)
        Say(tr("No listed picture has a position yet: give them one first."));
    else
        Say(tr("%1 of %2 with a position named from the offline list of cities; the others "
               "are at sea or far from any city.")
                .arg(named)
                .arg(PictureList::PictureCount(positions)));
    return named;
}

void PlaceNamesWindow::LookUpOnline() {
    const PictureList& list = *m_pictures->Model();
    QList<NominatimReverse::Ask> asks;
    for (int row = 0; row < list.Count(); ++row) {
        double latitude = 0, longitude = 0;
        if (PositionOf(list, row, latitude, longitude))
            asks.append({row, latitude, longitude});
    }
    if (asks.isEmpty()) {
        Say(tr("No listed picture has a position yet: give them one first."));
        return;
    }
    m_onlineNamed = 0;
    SetBusy(true);
    m_attribution->show();
    Say(tr("Looking up %1 online...")
            .arg(PictureList::PictureCount(static_cast<int>(asks.size()))));
    m_online->Look(asks);
    ShowNameColumns();
}

void PlaceNamesWindow::WriteNames() {
    if (m_pictures->Model()->NamedRows().isEmpty()) {
        Say(tr("No names are proposed: name the places first."));
        return;
    }
    m_pictures->Batch().WriteNames(m_overwrite->isChecked());
}

void PlaceNamesWindow::SetBusy(bool busy) {
    m_progress->setVisible(busy);
    m_cancel->setVisible(busy);
    m_offline->setEnabled(!busy);
    m_lookUp->setEnabled(!busy);
    m_write->setEnabled(!busy);
}

void PlaceNamesWindow::Say(const QString& text) {
    m_status->setText(text);
    FitHeight();
}

void PlaceNamesWindow::FitHeight() {
    // A window's least size leaves out what its wrapped texts need at its width.
    const int needed = heightForWidth(width());
    if (needed > height())
        resize(width(), needed);
    if (!isVisible() || screen() == nullptr)
        return;
    const QRect area = screen()->availableGeometry();
    const QRect frame = frameGeometry();
    const int x = std::max(area.left(), std::min(frame.left(), area.right() - frame.width()));
    const int y = std::max(area.top(), std::min(frame.top(), area.bottom() - frame.height()));
    if (x != frame.left() || y != frame.top())
        move(x, y);
}

PlaceNamesWindow* ShowPlaceNamesWindow() {
    static QPointer<PlaceNamesWindow> window;
    PicturesWindow* pictures = ShowPicturesWindow();
    if (pictures == nullptr)
        return nullptr;
    const bool made = window == nullptr;
    if (made)
        window = new PlaceNamesWindow(pictures);
    window->show();
    if (made) {
        // Over the map's lower right corner, so that the list stays in sight.
        window->FitHeight();
        const QRect frame = pictures->frameGeometry();
        const QSize size = window->sizeHint().expandedTo(window->size());
        const QRect area = pictures->screen()->availableGeometry();
        window->move(std::min(frame.right(), area.right()) - size.width() - 40,
                     std::min(frame.bottom(), area.bottom()) - size.height() - 90);
    }
    window->raise();
    window->activateWindow();
    window->NameOffline();
    return window;
}
