#pragma once

#include <QTableView>

// The list of the trip's pictures: whole rows are selected and dragged onto the map, Tab
// leaves the list instead of going from cell to cell, and typing a name goes to it.
class PictureTable : public QTableView {
    Q_OBJECT
public:
    explicit PictureTable(QWidget* parent);

    void keyboardSearch(const QString& search) override;
};
