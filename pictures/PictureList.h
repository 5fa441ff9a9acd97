#pragma once

#include "pictures/BatchRunner.h"

#include <QAbstractTableModel>
#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QVariant>

#include <deque>
#include <memory>
#include <optional>
#include <vector>

// The pictures of the Pictures window, one row a file: what was read from it, the new
// position waiting to be written, and how its last write went. Files are kept by their
// name's own bytes, so a name that is not UTF-8 still names its file.
class PictureList : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        Thumbnail,
        Name,
        Time,
        Position,
        NewPosition,
        State,
        City, // the place names, proposed or held (PictureNames.cpp)
        Region,
        Country,
        CountryCode,
        ColumnCount
    };
    enum class WriteState { Unchanged, Waiting, Written, Failed };
    // The value the window sorts by, for the name and time columns.
    static constexpr int SortRole = Qt::UserRole + 1;

    struct NewPlace {
        double latitude = 0;
        double longitude = 0;
        std::optional<double> altitude;
        QDateTime utcTime;
        QString how;
    };

    // Place names proposed for a picture, editable before they are written.
    struct PlaceNames {
        QString city, state, country, countryCode;
        double distanceMetres = -1; // to the proposed city; -1 when not known
    };

    explicit PictureList(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;
    // Rows can be dragged: their file names go with them, also as file addresses.
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    // The dragged rows' file names, NUL-separated.
    static QString DragMimeType();

    int Count() const { return static_cast<int>(m_rows.size()); }
    QByteArray Path(int row) const;
    const PictureRead& Info(int row) const;
    bool IsRead(int row) const;
    bool HasNewPosition(int row) const;
    std::optional<NewPlace> NewPositionOf(int row) const;
    WriteState StateOf(int row) const;
    void SetNewPosition(int row, double latitude, double longitude, std::optional<double> altitude,
                        const QDateTime& utcTime, const QString& how);
    void ClearNewPosition(int row, const QString& why);
    // -1 when not listed; any name of the same file finds its row.
    int RowOf(const QByteArray& path) const;

    // Appends the files that are not listed yet (by their canonical name) and returns
    // the new rows. keys, when given, are the paths' CanonicalKey()s, made beforehand
    // away from the window's thread (an empty one is made here).
    QList<int> Add(const QList<QByteArray>& paths, const QList<QByteArray>& keys = {});
    // The same file under any of its names: links and "." or ".." resolved.
    static QByteArray CanonicalKey(const QByteArray& path);
    void SetInfo(int row, const PictureRead& info);
    // Any image value the view can show (the model itself needs no graphics).
    void SetThumbnail(int row, const QVariant& image);
    void MarkWritten(int row);
    void MarkFailed(int row, const QString& reason);
    // A write that did not happen: the row keeps waiting, saying why.
    void MarkNotWritten(int row, const QString& reason);
    QList<int> WaitingRows() const;

    // Proposed place names: shown in the name columns over those the picture holds.
    void SetProposedNames(int row, const PlaceNames& names);
    std::optional<PlaceNames> ProposedNamesOf(int row) const;
    void ClearProposedNames(int row);
    QList<int> NamedRows() const;

    // A file name as it can be shown: bytes that are not UTF-8 appear as \xNN.
    static QString ReadableName(const QByteArray& bytes);
    // "1 picture", "2 pictures".
    static QString PictureCount(int count);

signals:
    // A visible row has no thumbnail yet; asked once per row.
    void thumbnailWanted(int row);

private:
    // As std::optional, but only a pointer's room while empty: most of a year's rows never
    // get a new position or names of their own.
    template <typename T> class Boxed {
    public:
        Boxed() = default;
        Boxed(Boxed&&) noexcept = default;
        Boxed& operator=(Boxed&&) noexcept = default;
        Boxed& operator=(const T& value) {
            m_value = std::make_unique<T>(value);
            return *this;
        }
        explicit operator bool() const { return m_value != nullptr; }
        bool has_value() const { return m_value != nullptr; }
        T* operator->() const { return m_value.get(); }
        T& operator*() const { return *m_value; }
        void reset() { m_value.reset(); }
        T value_or(const T& other) const { return m_value ? *m_value : other; }
        operator std::optional<T>() const {
            return m_value ? std::optional<T>(*m_value) : std::nullopt;
        }

    private:
        std::unique_ptr<T> m_value;
    };

    struct Row {
        QByteArray path;
        QByteArray key; // canonical name, for duplicates; shares path's bytes when the same
        QString name;
        PictureRead info;
        bool read = false;
        mutable bool thumbnailAsked = false;
        WriteState state = WriteState::Unchanged;
        QVariant thumbnail;
        Boxed<NewPlace> newPlace;
        QString note; // why there is no new position, or why the write failed
        Boxed<PlaceNames> names;
    };

    QVariant Display(const Row& row, int column) const;
    QVariant NameText(const Row& row, int column, int role) const;
    void RowChanged(int row, int firstColumn = Thumbnail, int lastColumn = ColumnCount - 1);
    void RebuildIndex();
    // Texts many rows hold alike (a type, a zone) kept once.
    void Share(QString& text);

    std::deque<Row> m_rows; // not a vector: a year of rows moved as it grows took twice its room
    QHash<QByteArray, int> m_byKey;
    QSet<QString> m_shared;
};
