#pragma once

#include <QColor>
#include <QString>
#include <QTimeZone>
#include <QWidget>

#include <utility>
#include <vector>

class QPushButton;

// A picture on the timeline: its moment by the camera's clock, corrected and in UTC.
struct TimelineTick {
    int row = -1;
    qint64 utcMs = 0;
    bool selected = false;
};

// A track's coverage: stretches whose neighbouring points are at most the largest gap apart.
struct TimelineTrack {
    QString name;
    QColor colour;
    std::vector<std::pair<qint64, qint64>> spans;
};

// A strip over the trip's time under the map: each picture a tick at its corrected time,
// each track's coverage a bar with its gaps, ticks without a match in a warning colour.
// Dragging the ticks (or the arrow keys) tries a new clock correction; Enter or Apply
// confirms it, Esc or Cancel puts the ticks back.
class Timeline : public QWidget {
    Q_OBJECT
public:
    explicit Timeline(QWidget* parent);

    void SetData(std::vector<TimelineTick> ticks, std::vector<TimelineTrack> tracks,
                 qint64 largestGapMs, const QTimeZone& zone);
    // Moves the ticks by shiftMs without confirming, as while dragging (the match dialog
    // shows its correction this way).
    void Preview(qint64 shiftMs);
    qint64 PendingShiftMs() const { return m_shiftMs; }
    // How many ticks fall outside every track's coverage at the shift shown.
    int UnmatchedCount() const;
    // The x of a tick's moment with no shift, for tests and the pointer.
    int XOf(qint64 utcMs) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void shiftConfirmed(qint64 shiftMs);
    void tickClicked(int row);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    bool Covered(qint64 utcMs) const;
    QRect Strip() const;
    void Confirm();
    void CancelShift();
    void ShiftChanged();
    int TickAt(const QPoint& pos) const;

    std::vector<TimelineTick> m_ticks;
    std::vector<TimelineTrack> m_tracks;
    qint64 m_gapMs = 60000;
    QTimeZone m_zone;
    qint64 m_firstMs = 0;
    qint64 m_lastMs = 0;
    qint64 m_shiftMs = 0;
    bool m_dragging = false;
    int m_pressX = -1;
    qint64 m_pressShiftMs = 0;
    QPushButton* m_apply;
    QPushButton* m_cancel;
};

// "+1 h 2 min 3 s", "-45 s", "0 s".
QString ShiftText(qint64 ms);
