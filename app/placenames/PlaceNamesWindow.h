#pragma once

#include <QDialog>

class NominatimReverse;
class PicturesWindow;
class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QProgressBar;
class QPushButton;
struct PlaceName;

// Picture > Name the Places: proposes the place names of every listed picture with a
// position (its new one first) in the trip window's name columns, from the offline city
// list or, on request, from Nominatim; the user edits them there, then writes them.
class PlaceNamesWindow : public QDialog {
    Q_OBJECT
public:
    explicit PlaceNamesWindow(PicturesWindow* pictures);

    // Proposes names from the offline list for every picture with a position; returns
    // how many got one.
    int NameOffline();
    void LookUpOnline();
    void WriteNames();
    NominatimReverse* Online() { return m_online; }
    // Tall enough for its wrapped texts, and wholly on the screen.
    void FitHeight();

private:
    void Propose(int row, const PlaceName& name);
    void ShowNameColumns();
    void SetBusy(bool busy);
    void Say(const QString& text);

    PicturesWindow* m_pictures;
    NominatimReverse* m_online;
    QDoubleSpinBox* m_cityKm;
    QCheckBox* m_overwrite;
    QPushButton* m_offline;
    QPushButton* m_lookUp;
    QPushButton* m_write;
    QPushButton* m_cancel;
    QProgressBar* m_progress;
    QLabel* m_attribution;
    QLabel* m_status;
    int m_onlineNamed = 0;
};

// Makes the window once beside the trip window, shows it and names the places offline.
PlaceNamesWindow* ShowPlaceNamesWindow();
