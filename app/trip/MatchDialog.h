#pragma once

#include "app/trip/TrackMatching.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

// Asks how to match: the camera's zone, its clock correction, the largest gap, and whether
// only the selected pictures.
class MatchDialog : public QDialog {
    Q_OBJECT
public:
    // zoneNote says where the first zone comes from ("the zone of Berlin, Germany, ...").
    MatchDialog(QWidget* parent, const MatchSettings& settings, const QString& zoneNote,
                int selected, int listed);

    MatchSettings Settings() const;
    bool SelectedOnly() const;

    void accept() override;

signals:
    // The correction as typed, whenever it reads as one.
    void correctionEdited(qint64 ms);

private:
    QComboBox* m_zone;
    QLineEdit* m_correction;
    QSpinBox* m_gap;
    QCheckBox* m_selectedOnly;
    QLabel* m_problem;
};
