#include "app/PlacesDialog.h"

#include "app/PlaceMoves.h"
#include "places/CoordinateReader.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPushButton* AddButton(QDialogButtonBox* buttons, const QString& text, const char* name) {
    QPushButton* button = buttons->addButton(text, QDialogButtonBox::ActionRole);
    button->setObjectName(QString::fromLatin1(name));
    button->setAccessibleName(text);
    button->setAutoDefault(false);
    return button;
}

void TellNotSaved(QWidget* parent) {
    QMessageBox::warning(parent, QObject::tr("Places"),
                         QObject::tr("The places could not be saved: the settings file "
                                     "cannot be written."));
}

} // namespace

PlacesDialog::PlacesDialog(QWidget* parent) : QDialog(parent), m_list(new QListWidget(this)) {
    setObjectName(QStringLiteral("placesDialog"));
    setWindowTitle(tr("Places"));
    m_list->setObjectName(QStringLiteral("placesList"));
    m_list->setAccessibleName(tr("Saved places"));
    auto* buttons = new QDialogButtonBox(Qt::Vertical, this);
    QPushButton* goTo = AddButton(buttons, tr("&Go To"), "placesGoTo");
    QPushButton* rename = AddButton(buttons, tr("&Rename..."), "placesRename");
    QPushButton* remove = AddButton(buttons, tr("&Delete"), "placesDelete");
    QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
    close->setObjectName(QStringLiteral("placesClose"));
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addWidget(buttons);
    resize(420, 280);

    connect(goTo, &QPushButton::clicked, this, &PlacesDialog::GoTo);
    connect(rename, &QPushButton::clicked, this, &PlacesDialog::Rename);
    connect(remove, &QPushButton::clicked, this, &PlacesDialog::Delete);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QListWidget::itemActivated, this, &PlacesDialog::GoTo);
    const auto update = [this, goTo, rename, remove] {
        const bool chosen = CurrentIndex() >= 0;
        goTo->setEnabled(chosen);
        rename->setEnabled(chosen);
        remove->setEnabled(chosen);
    };
    connect(m_list, &QListWidget::currentRowChanged, this, update);
    Reload();
    update();
}

void PlacesDialog::Reload() {
    const int row = m_list->currentRow();
    m_places = ReadSavedPlaces();
    m_list->clear();
    for (const SavedPlace& place : m_places) {
        auto* item = new QListWidgetItem(place.name, m_list);
        item->setToolTip(
            QStringLiteral("%1, %2 at zoom %3")
                .arg(DecimalDegreesText(place.latitude), DecimalDegreesText(place.longitude))
                .arg(place.zoom));
    }
    if (m_list->count() > 0)
        m_list->setCurrentRow(std::max(0, std::min(row, m_list->count() - 1)));
}

int PlacesDialog::CurrentIndex() const {
    const int row = m_list->currentRow();
    return row >= 0 && row < static_cast<int>(m_places.size()) ? row : -1;
}

bool PlacesDialog::Store() {
    const bool stored = WriteSavedPlaces(m_places);
    if (!stored)
        TellNotSaved(this);
    Reload();
    return stored;
}

void PlacesDialog::GoTo() {
    const int index = CurrentIndex();
    if (index < 0)
        return;
    const SavedPlace& place = m_places[static_cast<std::size_t>(index)];
    MoveMapTo(place.latitude, place.longitude, place.zoom);
}

void PlacesDialog::Rename() {
    const int index = CurrentIndex();
    if (index < 0)
        return;
    SavedPlace& place = m_places[static_cast<std::size_t>(index)];
    bool ok = false;
    const QString name = QInputDialog::getText(this, tr("Rename Place"), tr("Name:"),
                                               QLineEdit::Normal, place.name, &ok)
                             .trimmed();
    if (!ok || name.isEmpty() || name == place.name)
        return;
    place.name = name;
    Store();
}

void PlacesDialog::Delete() {
    const int index = CurrentIndex();
    if (index < 0)
        return;
    m_places.erase(m_places.begin() + index);
    Store();
}

PlacesDialog* ShowPlacesDialog(QWidget* mainWindow) {
    auto* dialog = mainWindow->findChild<PlacesDialog*>();
    if (dialog == nullptr)
        dialog = new PlacesDialog(mainWindow);
    else
        dialog->Reload();
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    return dialog;
}

void SaveThisPlace(QWidget* mainWindow) {
    ReadMapView(mainWindow, [mainWindow](std::optional<MapView> view) {
        if (!view) {
            QMessageBox::information(mainWindow, QObject::tr("Save This Place"),
                                     QObject::tr("The map shows no position to save."));
            return;
        }
        bool ok = false;
        const QString proposed = QStringLiteral("%1, %2").arg(DecimalDegreesText(view->latitude),
                                                              DecimalDegreesText(view->longitude));
        const QString name = QInputDialog::getText(mainWindow, QObject::tr("Save This Place"),
                                                   QObject::tr("Name for this place:"),
                                                   QLineEdit::Normal, proposed, &ok)
                                 .trimmed();
        if (!ok || name.isEmpty())
            return;
        std::vector<SavedPlace> places = ReadSavedPlaces();
        places.push_back({name, view->latitude, view->longitude, view->zoom});
        if (!WriteSavedPlaces(places))
            TellNotSaved(mainWindow);
        if (auto* dialog = mainWindow->findChild<PlacesDialog*>())
            dialog->Reload();
    });
}
