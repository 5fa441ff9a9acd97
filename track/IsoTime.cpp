#include "track/IsoTime.h"

namespace {

// Reads exactly count digits at pos.
bool Digits(QStringView text, qsizetype& pos, int count, int& value) {
    if (pos + count > text.size())
        return false;
    value = 0;
    for (int i = 0; i < count; ++i) {
        const QChar c = text[pos + i];
        if (c < u'0' || c > u'9')
            return false;
        value = value * 10 + (c.unicode() - u'0');
    }
    pos += count;
    return true;
}

bool Expect(QStringView text, qsizetype& pos, char16_t c) {
    if (pos >= text.size() || text[pos] != c)
        return false;
    ++pos;
    return true;
}

int DaysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

} // namespace

qint64 DaysFromCivil(int year, int month, int day) {
    const qint64 y = month <= 2 ? year - 1 : year;
    const qint64 era = (y >= 0 ? y : y - 399) / 400;
    const qint64 yoe = y - era * 400;
    const qint64 doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const qint64 doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

std::optional<qint64> ParseIsoUtcMs(QStringView text) {
    text = text.trimmed();
    qsizetype pos = 0;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (!Digits(text, pos, 4, year) || !Expect(text, pos, u'-') || !Digits(text, pos, 2, month) ||
        !Expect(text, pos, u'-') || !Digits(text, pos, 2, day))
        return std::nullopt;
    if (pos >= text.size() || (text[pos] != u'T' && text[pos] != u't' && text[pos] != u' '))
        return std::nullopt;
    ++pos;
    if (!Digits(text, pos, 2, hour) || !Expect(text, pos, u':') || !Digits(text, pos, 2, minute))
        return std::nullopt;
    // Seconds may be left out ("10:00Z").
    if (pos < text.size() && text[pos] == u':' && !(++pos, Digits(text, pos, 2, second)))
        return std::nullopt;
    if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || hour > 24 ||
        minute > 59 || second > 60 || (hour == 24 && (minute || second)))
        return std::nullopt;

    // Fraction: read to the nanosecond, round to the millisecond.
    qint64 nanos = 0;
    if (pos < text.size() && (text[pos] == u'.' || text[pos] == u',')) {
        ++pos;
        qint64 scale = 100000000;
        const qsizetype start = pos;
        for (; pos < text.size() && text[pos] >= u'0' && text[pos] <= u'9'; ++pos) {
            nanos += (text[pos].unicode() - u'0') * scale;
            scale /= 10;
        }
        if (pos == start)
            return std::nullopt;
    }

    qint64 offsetMinutes = 0;
    if (pos < text.size()) {
        const QChar sign = text[pos];
        if (sign == u'Z' || sign == u'z') {
            ++pos;
        } else if (sign == u'+' || sign == u'-' || sign == u'\u2212') {
            ++pos;
            int oh = 0, om = 0;
            if (!Digits(text, pos, 2, oh))
                return std::nullopt;
            if (pos < text.size()) {
                Expect(text, pos, u':');
                if (!Digits(text, pos, 2, om))
                    return std::nullopt;
            }
            if (oh > 18 || om > 59)
                return std::nullopt;
            offsetMinutes = (oh * 60 + om) * (sign == u'+' ? 1 : -1);
        }
        if (pos != text.size())
            return std::nullopt;
    }

    // A leap second is taken as the second after it, as most readers do.
    const qint64 seconds = DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 +
                           second - offsetMinutes * 60;
    return seconds * 1000 + (nanos + 500000) / 1000000;
}
