#include "app/trip/PictureTable.h"

#include "pictures/PictureList.h"

#include <QHeaderView>

PictureTable::PictureTable(QWidget* parent) : QTableView(parent) {
    setObjectName(QStringLiteral("pictureTable"));
    setAccessibleName(tr("Pictures"));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSortingEnabled(true);
    // The list's own order until the user asks for another.
    horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    horizontalHeader()->setStretchLastSection(true);
    setWordWrap(false);
    setTabKeyNavigation(false);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setDefaultDropAction(Qt::CopyAction);
    verticalHeader()->hide();
    // Fixed row heights: the view never measures a thousand rows.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
}

void PictureTable::keyboardSearch(const QString& search) {
    // The search runs down the current cell's column: make that the names'.
    const QModelIndex current = currentIndex();
    if (current.isValid() && current.column() != PictureList::Name)
        selectionModel()->setCurrentIndex(current.siblingAtColumn(PictureList::Name),
                                          QItemSelectionModel::NoUpdate);
    else if (!current.isValid() && model() != nullptr && model()->rowCount() > 0)
        selectionModel()->setCurrentIndex(model()->index(0, PictureList::Name),
                                          QItemSelectionModel::NoUpdate);
    QTableView::keyboardSearch(search);
}
