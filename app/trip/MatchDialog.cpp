#include "app/trip/MatchDialog.h"

#include "track/TimeText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimeZone>
#include <QVBoxLayout>

MatchDialog::MatchDialog(QWidget* parent, const MatchSettings& settings, const QString& zoneNote,
                         int selected, int listed)
    : QDialog(parent) {
    setObjectName(QStringLiteral("matchDialog"));
    setWindowTitle(tr("Match to Track"));

    m_zone = new QComboBox(this);
    m_zone->setObjectName(QStringLiteral("matchZone"));
    m_zone->setAccessibleName(tr("Camera's time zone"));
    m_zone->addItem(
        tr("This computer's zone (%1)").arg(QString::fromUtf8(QTimeZone::systemTimeZoneId())),
        QByteArray());
    for (const QByteArray& id : QTimeZone::availableTimeZoneIds())
        m_zone->addItem(QString::fromUtf8(id), id);
    const int at = m_zone->findData(settings.zoneId);
    m_zone->setCurrentIndex(at >= 0 ? at : 0);

    m_correction = new QLineEdit(FormatClockCorrection(settings.correctionMs), this);
    m_correction->setObjectName(QStringLiteral("clockCorrection"));
    connect(m_correction, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (const auto ms = ParseClockCorrection(text))
            emit correctionEdited(*ms);
    });
    m_correction->setAccessibleName(tr("Camera clock correction"));
    m_correction->setToolTip(tr("Added to the camera's clock: +h:mm:ss when it was slow, "
                                "-h:mm:ss when it was fast"));

    m_gap = new QSpinBox(this);
    m_gap->setObjectName(QStringLiteral("largestGap"));
    m_gap->setAccessibleName(tr("Largest gap"));
    m_gap->setRange(1, 24 * 3600);
    m_gap->setSuffix(tr(" s"));
    m_gap->setValue(static_cast<int>(settings.largestGapMs / 1000));
    m_gap->setToolTip(tr("Interpolate only between points at most this far apart in time, and "
                         "take the nearest point only when it is at most this far off"));

    m_selectedOnly =
        new QCheckBox(selected == 1  ? tr("Only the selected picture")
                      : selected > 1 ? tr("Only the %1 selected pictures").arg(selected)
                                     : tr("Only the selected pictures"),
                      this);
    m_selectedOnly->setObjectName(QStringLiteral("selectedOnly"));
    m_selectedOnly->setEnabled(selected > 0 && selected < listed);
    m_selectedOnly->setChecked(selected > 1 && selected < listed);

    m_problem = new QLabel(this);
    m_problem->setObjectName(QStringLiteral("matchProblem"));
    m_problem->setStyleSheet(QStringLiteral("color: #c92a2a"));

    auto* form = new QFormLayout;
    form->addRow(tr("Camera's &zone:"), m_zone);
    if (!zoneNote.isEmpty()) {
        auto* note = new QLabel(zoneNote, this);
        note->setWordWrap(true);
        form->addRow(QString(), note);
    }
    form->addRow(tr("Clock &correction:"), m_correction);
    form->addRow(tr("&Largest gap:"), m_gap);
    form->addRow(QString(), m_selectedOnly);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("&Match"));
    connect(buttons, &QDialogButtonBox::accepted, this, &MatchDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &MatchDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_problem);
    layout->addWidget(buttons);
}

MatchSettings MatchDialog::Settings() const {
    MatchSettings s;
    s.zoneId = m_zone->currentData().toByteArray();
    s.correctionMs = ParseClockCorrection(m_correction->text()).value_or(0);
    s.largestGapMs = qint64(m_gap->value()) * 1000;
    return s;
}

bool MatchDialog::SelectedOnly() const {
    return m_selectedOnly->isEnabled() && m_selectedOnly->isChecked();
}

void MatchDialog::accept() {
    if (!ParseClockCorrection(m_correction->text())) {
        m_problem->setText(tr("The clock correction is not a time such as +0:12:30 or -1:00:00."));
        m_correction->setFocus();
        return;
    }
    QDialog::accept();
}
