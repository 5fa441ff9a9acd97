#pragma once

#include <QDate>
#include <QDialog>

class QDateEdit;
class QSpinBox;

// Asks which days of a location history to keep and how accurate its points must be.
class LocationHistoryDialog : public QDialog {
    Q_OBJECT
public:
    LocationHistoryDialog(QWidget* parent, const QString& fileName, QDate from, QDate to,
                          int maxAccuracyMetres);
    QDate From() const;
    QDate To() const;
    int MaxAccuracyMetres() const;

private:
    QDateEdit* m_from;
    QDateEdit* m_to;
    QSpinBox* m_accuracy;
};

// Track > Open Location History...: asks for the file and the days (the listed pictures'
// days with one on each side, to start with), reads it with a progress bar and Cancel, and
// adds what it kept to the Tracks window.
void OpenLocationHistory(QWidget* parent);
