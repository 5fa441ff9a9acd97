// The place name columns of the picture list.
#include "pictures/PictureList.h"

#include <QLocale>

namespace {

QString& Field(PictureList::PlaceNames& names, int column) {
    switch (column) {
    case PictureList::City:
        return names.city;
    case PictureList::Region:
        return names.state;
    case PictureList::Country:
        return names.country;
    default:
        return names.countryCode;
    }
}

PictureList::PlaceNames Held(const PictureRead& info) {
    PictureList::PlaceNames names;
    names.city = info.city;
    names.state = info.state;
    names.country = info.country;
    names.countryCode = info.countryCode;
    return names;
}

} // namespace

QVariant PictureList::NameText(const Row& row, int column, int role) const {
    PlaceNames held = Held(row.info);
    PlaceNames shown = row.names.value_or(held);
    const QString text = Field(shown, column);
    if (role == Qt::EditRole)
        return text;
    if (role == Qt::DisplayRole) {
        if (column == City && row.names && shown.distanceMetres >= 0 && !text.isEmpty())
            return tr("%1 (%2 km)")
                .arg(text, QLocale().toString(shown.distanceMetres / 1000, 'f', 1));
        return text;
    }
    if (role == Qt::ToolTipRole && row.names) {
        const QString had = Field(held, column);
        return had.isEmpty() ? tr("Proposed: %1").arg(text)
                             : tr("Proposed: %1; the picture holds %2").arg(text, had);
    }
    return QVariant();
}

bool PictureList::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || index.column() < City || index.row() >= Count())
        return false;
    Row& row = m_rows[static_cast<std::size_t>(index.row())];
    if (!row.names)
        row.names = Held(row.info);
    QString& field = Field(*row.names, index.column());
    field = value.toString().simplified();
    if (index.column() == CountryCode)
        field = field.toUpper();
    if (index.column() == City)
        row.names->distanceMetres = -1; // the user's own city, at no known distance
    RowChanged(index.row(), City, CountryCode);
    return true;
}

void PictureList::SetProposedNames(int row, const PlaceNames& names) {
    m_rows.at(static_cast<std::size_t>(row)).names = names;
    RowChanged(row, City, CountryCode);
}

std::optional<PictureList::PlaceNames> PictureList::ProposedNamesOf(int row) const {
    return m_rows.at(static_cast<std::size_t>(row)).names;
}

void PictureList::ClearProposedNames(int row) {
    m_rows.at(static_cast<std::size_t>(row)).names.reset();
    RowChanged(row, City, CountryCode);
}

QList<int> PictureList::NamedRows() const {
    QList<int> rows;
    for (int row = 0; row < Count(); ++row)
        if (m_rows[static_cast<std::size_t>(row)].names)
            rows << row;
    return rows;
}
