#pragma once

#include "places/SavedPlaces.h"

#include <QDialog>

#include <vector>

class QListWidget;

// "Places": the saved places, to go to, rename and delete. Every change is written to the
// settings file at once.
class PlacesDialog : public QDialog {
    Q_OBJECT

public:
    explicit PlacesDialog(QWidget* parent);

    // Reads the saved places again, as another dialog may have changed them.
    void Reload();

private:
    void GoTo();
    void Rename();
    void Delete();
    bool Store();
    int CurrentIndex() const;

    QListWidget* m_list;
    std::vector<SavedPlace> m_places;
};

// Opens the Places dialog of mainWindow, made on first use.
PlacesDialog* ShowPlacesDialog(QWidget* mainWindow);

// Asks for a name and keeps the map's current centre and zoom under it.
void SaveThisPlace(QWidget* mainWindow);
