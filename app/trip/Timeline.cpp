#include "app/trip/Timeline.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kMargin = 8;
constexpr int kBarHeight = 6;
constexpr int kBarRows = 3;
constexpr int kTickHeight = 18;
constexpr int kLabelHeight = 16;
constexpr int kDragStart = 3; // pixels before a press becomes a drag

const QColor kMatched(0x19, 0x71, 0xc2);
const QColor kUnmatched(0xe0, 0x31, 0x31);
const QColor kUnknown(0x86, 0x8e, 0x96);

} // namespace

QString ShiftText(qint64 ms) {
    const qint64 seconds = std::llabs(ms) / 1000;
    QStringList parts;
    if (seconds >= 86400)
        parts << Timeline::tr("%1 d").arg(seconds / 86400);
    if (seconds % 86400 >= 3600)
        parts << Timeline::tr("%1 h").arg(seconds % 86400 / 3600);
    if (seconds % 3600 >= 60)
        parts << Timeline::tr("%1 min").arg(seconds % 3600 / 60);
    if (seconds % 60 != 0 || parts.isEmpty())
        parts << Timeline::tr("%1 s").arg(seconds % 60);
    return (ms < 0   ? QStringLiteral("-")
            : ms > 0 ? QStringLiteral("+")
                     : QString()) +
           parts.join(QLatin1Char(' '));
}

Timeline::Timeline(QWidget* parent) : QWidget(parent), m_zone(QTimeZone::systemTimeZone()) {
    setObjectName(QStringLiteral("timeline"));
    setAccessibleName(tr("Timeline"));
    setAccessibleDescription(tr("Pictures by their corrected time over the tracks' times. "
                                "Left and Right move the pictures by a minute (with Shift "
                                "a second, with Ctrl an hour); Enter sets the clock "
                                "correction, Esc puts them back."));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(false);
    m_apply = new QPushButton(tr("&Apply"), this);
    m_apply->setObjectName(QStringLiteral("timelineApply"));
    m_cancel = new QPushButton(tr("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("timelineCancel"));
    for (QPushButton* button : {m_apply, m_cancel}) {
        button->setFocusPolicy(Qt::NoFocus); // Enter and Esc on the strip do the same
        button->hide();
    }
    connect(m_apply, &QPushButton::clicked, this, &Timeline::Confirm);
    connect(m_cancel, &QPushButton::clicked, this, &Timeline::CancelShift);
}

QSize Timeline::sizeHint() const {
    return {600, minimumSizeHint().height()};
}

QSize Timeline::minimumSizeHint() const {
    return {200, 4 + kBarRows * (kBarHeight + 2) + 4 + kTickHeight + kLabelHeight + 4};
}

void Timeline::SetData(std::vector<TimelineTick> ticks, std::vector<TimelineTrack> tracks,
                       qint64 largestGapMs, const QTimeZone& zone) {
    m_ticks = std::move(ticks);
    m_tracks = std::move(tracks);
    m_gapMs = largestGapMs;
    m_zone = zone.isValid() ? zone : QTimeZone::systemTimeZone();
    qint64 first = 0;
    qint64 last = 0;
    bool any = false;
    auto take = [&](qint64 ms) {
        first = any ? std::min(first, ms) : ms;
        last = any ? std::max(last, ms) : ms;
        any = true;
    };
    for (const TimelineTick& tick : m_ticks)
        take(tick.utcMs);
    for (const TimelineTrack& track : m_tracks)
        for (const auto& span : track.spans) {
            take(span.first);
            take(span.second);
        }
    // Half an hour on each side of a single moment; a little room at the ends otherwise.
    const qint64 pad = last - first < 60000 ? 1800000 : (last - first) / 40;
    m_firstMs = first - pad;
    m_lastMs = last + pad;
    update();
}

void Timeline::Preview(qint64 shiftMs) {
    m_shiftMs = shiftMs;
    ShiftChanged();
}

bool Timeline::Covered(qint64 utcMs) const {
    for (const TimelineTrack& track : m_tracks)
        for (const auto& span : track.spans)
            if (utcMs >= span.first - m_gapMs && utcMs <= span.second + m_gapMs)
                return true;
    return false;
}

int Timeline::UnmatchedCount() const {
    if (m_tracks.empty())
        return 0;
    return static_cast<int>(std::count_if(m_ticks.begin(), m_ticks.end(), [this](const auto& t) {
        return !Covered(t.utcMs + m_shiftMs);
    }));
}

QRect Timeline::Strip() const {
    return QRect(kMargin, 4, std::max(1, width() - 2 * kMargin), height() - 8);
}

int Timeline::XOf(qint64 utcMs) const {
    const QRect strip = Strip();
    const double span = static_cast<double>(std::max<qint64>(1, m_lastMs - m_firstMs));
    return strip.left() + static_cast<int>(std::lround((utcMs - m_firstMs) * strip.width() / span));
}

void Timeline::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect strip = Strip();
    painter.fillRect(rect(), palette().base());
    if (hasFocus()) {
        painter.setPen(QPen(palette().highlight().color(), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    if (m_ticks.empty() && m_tracks.empty()) {
        painter.setPen(palette().placeholderText().color());
        painter.drawText(strip, Qt::AlignCenter, tr("The pictures' and tracks' times show here."));
        return;
    }
    // Tracks: a bar a track, its gaps left open.
    for (std::size_t i = 0; i < m_tracks.size(); ++i) {
        const int y = strip.top() + static_cast<int>(i % kBarRows) * (kBarHeight + 2);
        for (const auto& span : m_tracks[i].spans) {
            const int x1 = XOf(span.first);
            const int x2 = std::max(x1 + 2, XOf(span.second));
            painter.fillRect(QRect(x1, y, x2 - x1, kBarHeight), m_tracks[i].colour);
        }
    }
    // Pictures: one tick each at the time tried; the selected ones stand out. A year of
    // pictures is thousands of ticks a pixel column: each column is drawn once, in the
    // colour of the last tick on it, which is what drawing them all in turn left.
    const int tickTop = strip.top() + kBarRows * (kBarHeight + 2) + 4;
    const QColor text = palette().text().color();
    for (const bool selected : {false, true}) {
        std::vector<const QColor*> columns(static_cast<std::size_t>(width()) + 2, nullptr);
        for (const TimelineTick& tick : m_ticks) {
            if (tick.selected != selected)
                continue;
            const qint64 at = tick.utcMs + m_shiftMs;
            const QColor* colour = selected           ? &text
                                   : m_tracks.empty() ? &kUnknown
                                   : Covered(at)      ? &kMatched
                                                      : &kUnmatched;
            // A wide tick just outside still reaches in.
            const int x = XOf(at);
            if (x >= -1 && x <= width())
                columns[static_cast<std::size_t>(x + 1)] = colour;
        }
        for (std::size_t column = 0; column < columns.size(); ++column) {
            if (columns[column] == nullptr)
                continue;
            const int x = static_cast<int>(column) - 1;
            painter.setPen(QPen(*columns[column], selected ? 3 : 1));
            painter.drawLine(x, tickTop + (selected ? 0 : 3), x, tickTop + kTickHeight);
        }
    }
    // The ends of the strip in the camera's zone, and the shift being tried.
    painter.setPen(palette().text().color());
    const QRect labels(strip.left(), tickTop + kTickHeight + 1, strip.width(), kLabelHeight);
    const QLocale locale;
    auto when = [&](qint64 ms) {
        return locale.toString(QDateTime::fromMSecsSinceEpoch(ms, m_zone), QLocale::ShortFormat);
    };
    painter.drawText(labels, Qt::AlignLeft | Qt::AlignVCenter, when(m_firstMs));
    painter.drawText(labels, Qt::AlignRight | Qt::AlignVCenter, when(m_lastMs));
    QString middle;
    if (m_shiftMs != 0)
        middle = tr("Pictures moved %1: Enter or Apply sets the clock correction")
                     .arg(ShiftText(m_shiftMs));
    else if (const int unmatched = UnmatchedCount())
        middle = tr("%1 outside the tracks' times").arg(unmatched);
    if (!middle.isEmpty())
        painter.drawText(labels, Qt::AlignHCenter | Qt::AlignVCenter, middle);
}

int Timeline::TickAt(const QPoint& pos) const {
    int best = -1;
    int bestDistance = 5;
    for (const TimelineTick& tick : m_ticks) {
        const int distance = std::abs(XOf(tick.utcMs + m_shiftMs) - pos.x());
        if (distance < bestDistance) {
            best = tick.row;
            bestDistance = distance;
        }
    }
    return best;
}

void Timeline::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || m_ticks.empty())
        return QWidget::mousePressEvent(event);
    m_pressX = event->position().toPoint().x();
    m_pressShiftMs = m_shiftMs;
    m_dragging = false;
}

void Timeline::mouseMoveEvent(QMouseEvent* event) {
    if (m_pressX < 0)
        return;
    const int dx = event->position().toPoint().x() - m_pressX;
    if (!m_dragging && std::abs(dx) < kDragStart)
        return;
    m_dragging = true;
    const double msPerPixel =
        static_cast<double>(m_lastMs - m_firstMs) / std::max(1, Strip().width());
    // Whole seconds, as the correction is kept.
    m_shiftMs = m_pressShiftMs + std::llround(dx * msPerPixel / 1000.0) * 1000;
    ShiftChanged();
}

void Timeline::mouseReleaseEvent(QMouseEvent* event) {
    if (m_pressX >= 0 && !m_dragging) {
        const int row = TickAt(event->position().toPoint());
        if (row >= 0)
            emit tickClicked(row);
    }
    m_pressX = -1;
    m_dragging = false;
}

void Timeline::keyPressEvent(QKeyEvent* event) {
    qint64 step = 60000;
    if (event->modifiers() & Qt::ShiftModifier)
        step = 1000;
    else if (event->modifiers() & Qt::ControlModifier)
        step = 3600000;
    switch (event->key()) {
    case Qt::Key_Left:
        Preview(m_shiftMs - step);
        break;
    case Qt::Key_Right:
        Preview(m_shiftMs + step);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_shiftMs == 0)
            return QWidget::keyPressEvent(event);
        Confirm();
        break;
    case Qt::Key_Escape:
        if (m_shiftMs == 0)
            return QWidget::keyPressEvent(event);
        CancelShift();
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void Timeline::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int y = Strip().top();
    const QSize cancel = m_cancel->sizeHint();
    const QSize apply = m_apply->sizeHint();
    m_cancel->setGeometry(width() - kMargin - cancel.width(), y, cancel.width(), cancel.height());
    m_apply->setGeometry(m_cancel->x() - 4 - apply.width(), y, apply.width(), apply.height());
}

void Timeline::Confirm() {
    const qint64 shift = m_shiftMs;
    m_shiftMs = 0;
    ShiftChanged();
    if (shift != 0)
        emit shiftConfirmed(shift);
}

void Timeline::CancelShift() {
    m_shiftMs = 0;
    ShiftChanged();
}

void Timeline::ShiftChanged() {
    m_apply->setVisible(m_shiftMs != 0);
    m_cancel->setVisible(m_shiftMs != 0);
    update();
}
