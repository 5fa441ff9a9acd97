#include "pictures/PictureList.h"

#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QSet>
#include <QThreadPool>
#include <QUrl>

#include <algorithm>
#include <cstdlib>
#include <memory>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

// Length of the valid UTF-8 sequence at text[i], or 0 when it is not one.
int Utf8SequenceLength(const QByteArray& text, int i) {
    const auto byte = [&](int at) { return static_cast<unsigned char>(text[at]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80)
        return 1;
    int length = 0;
    unsigned minimum = 0;
    unsigned value = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, minimum = 0x80, value = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, minimum = 0x800, value = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, minimum = 0x10000, value = lead & 0x07;
    } else {
        return 0;
    }
    if (i + length > text.size())
        return 0;
    for (int k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (byte(i + k) & 0x3F);
    }
    const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
    return value < minimum || value > 0x10FFFF || surrogate ? 0 : length;
}

// Removing this many rows at once gives their memory back to the system.
constexpr int kManyRows = 1000;
// Different texts kept to be shared: types, zones and reasons are few; past this many the
// texts are too various to share.
constexpr qsizetype kMostShared = 256;

QString Degrees(double value) {
    return QString::number(value, 'f', 6);
}

QString PlaceText(double latitude, double longitude, const std::optional<double>& altitude) {
    QString text = Degrees(latitude) + QStringLiteral(", ") + Degrees(longitude);
    if (altitude)
        text += QStringLiteral(", %1 m").arg(QString::number(*altitude, 'f', 1));
    return text;
}

// "2024:06:15 18:42:10" as "2024-06-15 18:42:10", the date's colons being a storage form.
QString TimeText(const PictureRead& info) {
    QString text = info.dateTime;
    for (int i = 0, colons = 0; i < text.size() && colons < 2 && text[i] != QLatin1Char(' '); ++i) {
        if (text[i] == QLatin1Char(':')) {
            text[i] = QLatin1Char('-');
            ++colons;
        }
    }
    if (!text.isEmpty() && !info.offset.isEmpty())
        text += QLatin1Char(' ') + info.offset;
    return text;
}

} // namespace

PictureList::PictureList(QObject* parent) : QAbstractTableModel(parent) {}

// A file that is gone keeps its absolute name, so it can still be listed once and say it
// is gone.
QByteArray PictureList::CanonicalKey(const QByteArray& path) {
    std::unique_ptr<char, decltype(&std::free)> resolved(realpath(path.constData(), nullptr),
                                                         &std::free);
    if (resolved)
        return QByteArray(resolved.get());
    if (path.startsWith('/'))
        return path;
    return QFile::encodeName(QDir::currentPath()) + '/' + path;
}

int PictureList::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Count();
}

int PictureList::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant PictureList::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QVariant();
    switch (section) {
    case Thumbnail:
        return QString();
    case Name:
        return tr("File");
    case Time:
        return tr("Taken");
    case Position:
        return tr("Position now");
    case NewPosition:
        return tr("New position");
    case State:
        return tr("State");
    case City:
        return tr("City");
    case Region:
        return tr("Region");
    case Country:
        return tr("Country");
    case CountryCode:
        return tr("Code");
    default:
        return QVariant();
    }
}

Qt::ItemFlags PictureList::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid())
        flags |= Qt::ItemIsDragEnabled;
    if (index.isValid() && index.column() >= City && index.row() < Count() &&
        m_rows[static_cast<std::size_t>(index.row())].read)
        flags |= Qt::ItemIsEditable;
    return flags;
}

QString PictureList::DragMimeType() {
    return QStringLiteral("application/x-kartavo-pictures");
}

QStringList PictureList::mimeTypes() const {
    return {DragMimeType(), QStringLiteral("text/uri-list")};
}

QMimeData* PictureList::mimeData(const QModelIndexList& indexes) const {
    QSet<int> rows;
    for (const QModelIndex& index : indexes)
        if (index.isValid() && index.row() < Count())
            rows.insert(index.row());
    QList<int> ordered(rows.begin(), rows.end());
    std::sort(ordered.begin(), ordered.end());
    QByteArray names;
    QList<QUrl> urls;
    for (int row : ordered) {
        names += m_rows[row].path + '\0';
        urls << QUrl::fromLocalFile(QFile::decodeName(m_rows[row].path));
    }
    auto* mime = new QMimeData;
    mime->setData(DragMimeType(), names);
    mime->setUrls(urls);
    return mime;
}

QVariant PictureList::Display(const Row& row, int column) const {
    switch (column) {
    case Name:
        return row.name;
    case Time:
        return row.read ? TimeText(row.info) : QString();
    case Position:
        if (!row.read || !row.info.ok)
            return QString();
        if (!row.info.latitude || !row.info.longitude)
            return tr("none");
        return PlaceText(*row.info.latitude, *row.info.longitude, row.info.altitude) +
               (row.info.positionSource.isEmpty() ? QString()
                                                  : tr(" (from %1)").arg(row.info.positionSource));
    case NewPosition:
        if (!row.newPlace)
            return row.note;
        return PlaceText(row.newPlace->latitude, row.newPlace->longitude, row.newPlace->altitude) +
               (row.newPlace->how.isEmpty() ? QString()
                                            : QStringLiteral(" (%1)").arg(row.newPlace->how));
    case State:
        switch (row.state) {
        case WriteState::Waiting:
            return tr("waiting");
        case WriteState::Written:
            return tr("written");
        case WriteState::Failed:
            // Refused for its format: say where the position can go instead.
            if (row.read && !row.info.writable && row.note == row.info.unwritableReason)
                return tr("failed: %1; a sidecar can hold its position (Picture > Write "
                          "Positions Into)")
                    .arg(row.note);
            return tr("failed: %1").arg(row.note);
        case WriteState::Unchanged:
            if (row.read && !row.info.ok)
                return tr("failed: %1").arg(row.info.reason);
            if (row.read && !row.info.writable)
                return tr("unchanged; only a sidecar can hold its position (Picture > Write "
                          "Positions Into): %1")
                    .arg(row.info.unwritableReason);
            return row.read ? tr("unchanged") : tr("reading...");
        }
        return QVariant();
    default:
        return QVariant();
    }
}

QVariant PictureList::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= Count())
        return QVariant();
    const Row& row = m_rows[static_cast<std::size_t>(index.row())];
    const int column = index.column();
    if (role == Qt::DecorationRole && column == Thumbnail) {
        // Asked only for rows the view paints, so only visible rows are decoded.
        if (row.thumbnail.isNull() && row.read && !row.thumbnailAsked) {
            row.thumbnailAsked = true;
            emit const_cast<PictureList*>(this)->thumbnailWanted(index.row());
        }
        return row.thumbnail;
    }
    if (column >= City)
        return NameText(row, column, role);
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return Display(row, column);
    if (role == SortRole) {
        if (column == Time)
            return row.read ? TimeText(row.info) : QString();
        return row.name;
    }
    return QVariant();
}

bool PictureList::removeRows(int row, int count, const QModelIndex& parent) {
    if (parent.isValid() || row < 0 || count <= 0 || row + count > Count())
        return false;
    beginRemoveRows(QModelIndex(), row, row + count - 1);
    m_rows.erase(m_rows.begin() + row, m_rows.begin() + row + count);
    RebuildIndex();
    if (m_rows.empty())
        m_shared.clear();
    endRemoveRows();
#ifdef __GLIBC__
    // Thousands of rows leave their memory scattered among what stays: the allocator keeps
    // it from the system (tens of megabytes for a year of pictures) unless asked, and the
    // asking walks the whole heap, so it is done away from the window.
    if (count >= kManyRows)
        QThreadPool::globalInstance()->start([] { malloc_trim(0); });
#endif
    return true;
}

QByteArray PictureList::Path(int row) const {
    return m_rows.at(static_cast<std::size_t>(row)).path;
}

const PictureRead& PictureList::Info(int row) const {
    return m_rows.at(static_cast<std::size_t>(row)).info;
}

bool PictureList::IsRead(int row) const {
    return m_rows.at(static_cast<std::size_t>(row)).read;
}

bool PictureList::HasNewPosition(int row) const {
    return m_rows.at(static_cast<std::size_t>(row)).newPlace.has_value();
}

std::optional<PictureList::NewPlace> PictureList::NewPositionOf(int row) const {
    return m_rows.at(static_cast<std::size_t>(row)).newPlace;
}

PictureList::WriteState PictureList::StateOf(int row) const {
    return m_rows.at(static_cast<std::size_t>(row)).state;
}

void PictureList::SetNewPosition(int row, double latitude, double longitude,
                                 std::optional<double> altitude, const QDateTime& utcTime,
                                 const QString& how) {
    Row& entry = m_rows.at(static_cast<std::size_t>(row));
    entry.newPlace = NewPlace{latitude, longitude, altitude, utcTime, how};
    entry.note.clear();
    entry.state = WriteState::Waiting;
    RowChanged(row, NewPosition, State);
}

void PictureList::ClearNewPosition(int row, const QString& why) {
    Row& entry = m_rows.at(static_cast<std::size_t>(row));
    entry.newPlace.reset();
    entry.note = why;
    // A failed write left the picture as it was; with nothing to retry it is unchanged,
    // and the old failure must not read as the new reason.
    if (entry.state == WriteState::Waiting || entry.state == WriteState::Failed)
        entry.state = WriteState::Unchanged;
    RowChanged(row, NewPosition, State);
}

int PictureList::RowOf(const QByteArray& path) const {
    // A row's own name, as reads and writes report it, needs no walk through the folders.
    const int row = m_byKey.value(path, -1);
    if (row >= 0 && m_rows[static_cast<std::size_t>(row)].path == path)
        return row;
    return m_byKey.value(CanonicalKey(path), -1);
}

QList<int> PictureList::Add(const QList<QByteArray>& paths, const QList<QByteArray>& keys) {
    std::vector<Row> fresh;
    fresh.reserve(static_cast<std::size_t>(paths.size()));
    for (qsizetype i = 0; i < paths.size(); ++i) {
        const QByteArray& path = paths[i];
        if (path.isEmpty())
            continue;
        QByteArray key = i < keys.size() && !keys[i].isEmpty() ? keys[i] : CanonicalKey(path);
        if (m_byKey.contains(key))
            continue;
        if (key == path)
            key = path;
        m_byKey.insert(key, Count() + static_cast<int>(fresh.size()));
        Row row;
        row.path = path;
        row.key = std::move(key);
        const int slash = path.lastIndexOf('/');
        row.name = ReadableName(slash < 0 ? path : path.mid(slash + 1));
        fresh.push_back(std::move(row));
    }
    QList<int> added;
    if (fresh.empty())
        return added;
    const int first = Count();
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(fresh.size()) - 1);
    for (Row& row : fresh) {
        added << Count();
        m_rows.push_back(std::move(row));
    }
    endInsertRows();
    return added;
}

void PictureList::SetInfo(int row, const PictureRead& info) {
    Row& entry = m_rows.at(static_cast<std::size_t>(row));
    entry.info = info;
    Share(entry.info.mimeType);
    Share(entry.info.offset);
    Share(entry.info.unwritableReason);
    if (entry.info.thumbnail.picture == entry.path)
        entry.info.thumbnail.picture = entry.path;
    entry.read = true;
    // A new read may bring an embedded thumbnail the old one lacked.
    entry.thumbnail = QVariant();
    entry.thumbnailAsked = false;
    RowChanged(row);
}

void PictureList::SetThumbnail(int row, const QVariant& image) {
    m_rows.at(static_cast<std::size_t>(row)).thumbnail = image;
    RowChanged(row, Thumbnail, Thumbnail);
}

void PictureList::MarkWritten(int row) {
    Row& entry = m_rows.at(static_cast<std::size_t>(row));
    entry.state = WriteState::Written;
    entry.newPlace.reset();
    entry.note.clear();
    RowChanged(row, NewPosition, State);
}

void PictureList::MarkFailed(int row, const QString& reason) {
    Row& entry = m_rows.at(static_cast<std::size_t>(row));
    entry.state = WriteState::Failed;
    entry.note = reason;
    RowChanged(row, State, State);
}

void PictureList::MarkNotWritten(int row, const QString& reason) {
    Row& entry = m_rows.at(static_cast<std::size_t>(row));
    entry.state = entry.newPlace ? WriteState::Waiting : WriteState::Unchanged;
    entry.note = reason;
    RowChanged(row, NewPosition, State);
}

QList<int> PictureList::WaitingRows() const {
    QList<int> rows;
    for (int row = 0; row < Count(); ++row) {
        const Row& entry = m_rows[static_cast<std::size_t>(row)];
        // A failed write keeps its position, so writing again retries it.
        if (entry.newPlace &&
            (entry.state == WriteState::Waiting || entry.state == WriteState::Failed))
            rows << row;
    }
    return rows;
}

QString PictureList::ReadableName(const QByteArray& bytes) {
    QString text;
    for (int i = 0; i < bytes.size();) {
        const int length = Utf8SequenceLength(bytes, i);
        if (length == 0) {
            text += QStringLiteral("\\x%1").arg(static_cast<unsigned char>(bytes[i]), 2, 16,
                                                QLatin1Char('0'));
            ++i;
            continue;
        }
        text += QString::fromUtf8(bytes.constData() + i, length);
        i += length;
    }
    return text;
}

QString PictureList::PictureCount(int count) {
    return count == 1 ? tr("1 picture") : tr("%1 pictures").arg(count);
}

void PictureList::RowChanged(int row, int firstColumn, int lastColumn) {
    emit dataChanged(index(row, firstColumn), index(row, lastColumn));
}

void PictureList::Share(QString& text) {
    if (text.isEmpty())
        return;
    const auto found = m_shared.constFind(text);
    if (found != m_shared.constEnd())
        text = *found;
    else if (m_shared.size() < kMostShared)
        m_shared.insert(text);
}

void PictureList::RebuildIndex() {
    m_byKey.clear();
    for (int row = 0; row < Count(); ++row)
        m_byKey.insert(m_rows[static_cast<std::size_t>(row)].key, row);
}
