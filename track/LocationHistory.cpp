#include "track/LocationHistory.h"

#include "track/IsoTime.h"
#include "track/JsonStream.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <limits>
#include <optional>
#include <vector>

namespace {

QString Tr(const char* text, int n = -1) {
    return QCoreApplication::translate("LocationHistory", text, nullptr, n);
}

// The fields any of the forms has; every other key is read past without being kept.
enum Field {
    LatitudeE7,
    LongitudeE7,
    Accuracy,
    Altitude,
    Timestamp,
    TimestampMs,
    Point,
    Time,
    OffsetMinutes,
    StartTime,
    LatLng,
    AccuracyMeters,
    AltitudeMeters,
    kFieldCount
};
constexpr std::array<const char*, kFieldCount> kFieldNames{
    "latitudeE7",    "longitudeE7", "accuracy",
    "altitude",      "timestamp",   "timestampMs",
    "point",         "time",        "durationMinutesOffsetFromStartTime",
    "startTime",     "LatLng",      "accuracyMeters",
    "altitudeMeters"};

int FieldOf(const QByteArray& key) {
    for (int i = 0; i < kFieldCount; ++i)
        if (key == kFieldNames[i])
            return i;
    return -1;
}

struct Fields {
    std::array<QByteArray, kFieldCount> text;
    std::array<bool, kFieldCount> has{};
    std::optional<double> Number(Field f) const {
        if (!has[f])
            return std::nullopt;
        bool ok = false;
        const double value = text[f].toDouble(&ok);
        if (ok)
            return value;
        // A bare NaN or Infinity is a value, but none that can be used.
        if (text[f] == "NaN" || text[f].endsWith("Infinity"))
            return std::numeric_limits<double>::quiet_NaN();
        return std::nullopt;
    }
};

// A timelinePath point waits for its segment's start, which may come after it.
struct PathPoint {
    QByteArray point;
    QByteArray time;
    QByteArray minutes;
};

struct Frame {
    bool object = false;
    QByteArray key; // this container's key in its parent, empty in an array
    Fields fields;
    std::vector<PathPoint> path;
};

// Times before this or after this are none a phone recorded.
constexpr qint64 kEarliestMs = 473385600000LL; // 1985-01-01
constexpr qint64 kLatestMs = 4102444800000LL;  // 2100-01-01
constexpr int kMaxDepth = 64;

class HistoryReader {
public:
    HistoryReader(const LocationHistoryOptions& options) : m_options(options) {}

    LocationHistoryResult Read(const QString& path) {
        const QString name = QFileInfo(path).fileName();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return Refused(Tr("Cannot open %1: %2").arg(name, file.errorString()));
        const qint64 total = file.size();
        JsonStream json(file);
        std::vector<Frame> frames;
        frames.reserve(kMaxDepth);
        enum class Expect { Value, ValueOrEnd, Key, KeyOrEnd, Colon, CommaOrEnd, Nothing };
        Expect expect = Expect::Value;
        QByteArray key;
        qint64 nextReport = 0;
        for (int count = 0;; ++count) {
            const JsonStream::Token token = json.Next();
            if ((count & 0xfff) == 0) {
                if (m_options.cancel != nullptr && m_options.cancel->load())
                    return Refused(Tr("Reading %1 was cancelled.").arg(name));
                if (m_options.progress && json.Position() >= nextReport) {
                    m_options.progress(json.Position(), total);
                    nextReport = json.Position() + (1 << 22);
                }
            }
            using T = JsonStream::Token;
            if (token == T::Error)
                return Refused(Tr("%1 is not a readable JSON file: %2.").arg(name, json.Error()));
            if (token == T::End) {
                if (expect != Expect::Nothing)
                    return Refused(Tr("%1 ends too early, at byte %2: it may have been cut "
                                      "short.")
                                       .arg(name)
                                       .arg(json.Position()));
                break;
            }
            bool valueDone = false;
            switch (expect) {
            case Expect::Nothing:
                return Refused(
                    Tr("%1 goes on after its end, at byte %2.").arg(name).arg(json.Position()));
            case Expect::Value:
            case Expect::ValueOrEnd:
                if (token == T::ObjectBegin || token == T::ArrayBegin) {
                    if (frames.size() >= kMaxDepth)
                        return Refused(
                            Tr("%1 is nested too deeply to be a location history.").arg(name));
                    Frame frame;
                    frame.object = token == T::ObjectBegin;
                    frame.key = key;
                    frames.push_back(std::move(frame));
                    expect = token == T::ObjectBegin ? Expect::KeyOrEnd : Expect::ValueOrEnd;
                } else if (token == T::String || token == T::Number || token == T::Literal) {
                    if (!frames.empty() && frames.back().object) {
                        const int field = FieldOf(key);
                        if (field >= 0) {
                            frames.back().fields.text[field] = json.Text();
                            frames.back().fields.has[field] = token != T::Literal;
                        }
                    }
                    valueDone = true;
                } else if (token == T::ArrayEnd && expect == Expect::ValueOrEnd) {
                    Close(frames);
                    valueDone = true;
                } else {
                    return Unexpected(name, json);
                }
                break;
            case Expect::Key:
            case Expect::KeyOrEnd:
                if (token == T::String) {
                    key = json.Text();
                    expect = Expect::Colon;
                } else if (token == T::ObjectEnd && expect == Expect::KeyOrEnd) {
                    Close(frames);
                    valueDone = true;
                } else {
                    return Unexpected(name, json);
                }
                break;
            case Expect::Colon:
                if (token != T::Colon)
                    return Unexpected(name, json);
                expect = Expect::Value;
                break;
            case Expect::CommaOrEnd:
                if (token == T::Comma) {
                    expect = frames.back().object ? Expect::Key : Expect::Value;
                    key.clear();
                } else if ((token == T::ObjectEnd && frames.back().object) ||
                           (token == T::ArrayEnd && !frames.back().object)) {
                    Close(frames);
                    valueDone = true;
                } else {
                    return Unexpected(name, json);
                }
                break;
            }
            if (valueDone) {
                expect = frames.empty() ? Expect::Nothing : Expect::CommaOrEnd;
                key.clear();
            }
        }
        if (m_options.progress)
            m_options.progress(total, total);
        if (m_records == 0)
            return Refused(Tr("%1 is not a location history: it holds none of the positions "
                              "a phone's or account's location history export has.")
                               .arg(name));
        return Finish(path);
    }

private:
    LocationHistoryResult Refused(const QString& why) {
        LocationHistoryResult result;
        result.error = why;
        return result;
    }

    LocationHistoryResult Unexpected(const QString& name, const JsonStream& json) {
        return Refused(Tr("%1 is not a readable JSON file: something unexpected at byte %2.")
                           .arg(name)
                           .arg(json.Position()));
    }

    // The container on top has ended: a record it was is taken.
    void Close(std::vector<Frame>& frames) {
        Frame frame = std::move(frames.back());
        frames.pop_back();
        if (frame.object && !frames.empty()) {
            const Frame& parent = frames.back();
            const Frame* grand = frames.size() >= 2 ? &frames[frames.size() - 2] : nullptr;
            if (!parent.object && parent.key == "locations")
                TakeE7(frame.fields);
            else if (parent.object && frame.key == "position" && grand != nullptr &&
                     grand->key == "rawSignals")
                TakeRawSignal(frame.fields);
            else if (!parent.object && parent.key == "timelinePath" && grand != nullptr &&
                     grand->object)
                frames[frames.size() - 2].path.push_back(
                    {frame.fields.text[Point],
                     frame.fields.has[Time] ? frame.fields.text[Time] : "",
                     frame.fields.has[OffsetMinutes] ? frame.fields.text[OffsetMinutes] : ""});
        }
        if (!frame.path.empty())
            TakePath(frame);
    }

    void TakeE7(const Fields& f) {
        ++m_records;
        const auto lat = f.Number(LatitudeE7);
        const auto lon = f.Number(LongitudeE7);
        std::optional<qint64> ms;
        if (f.has[Timestamp])
            ms = ParseIsoUtcMs(QString::fromUtf8(f.text[Timestamp]));
        else if (const auto n = f.Number(TimestampMs); n && std::abs(*n) < 1e15)
            ms = static_cast<qint64>(*n);
        if (!lat || !lon || !(std::abs(*lat) <= 9e8) || !(std::abs(*lon) <= 1.8e9)) {
            ++m_bad;
            return;
        }
        Take(*lat / 1e7, *lon / 1e7, ms, f.Number(Accuracy), f.Number(Altitude));
    }

    void TakeRawSignal(const Fields& f) {
        ++m_records;
        const auto place = ParseDegrees(f.text[LatLng]);
        if (!place) {
            ++m_bad;
            return;
        }
        Take(place->first, place->second,
             f.has[Timestamp] ? ParseIsoUtcMs(QString::fromUtf8(f.text[Timestamp])) : std::nullopt,
             f.Number(AccuracyMeters), f.Number(AltitudeMeters));
    }

    void TakePath(const Frame& segment) {
        const std::optional<qint64> start =
            segment.fields.has[StartTime]
                ? ParseIsoUtcMs(QString::fromUtf8(segment.fields.text[StartTime]))
                : std::nullopt;
        for (const PathPoint& p : segment.path) {
            ++m_records;
            const auto place = ParseDegrees(p.point);
            std::optional<qint64> ms;
            if (!p.time.isEmpty()) {
                ms = ParseIsoUtcMs(QString::fromUtf8(p.time));
            } else if (start && !p.minutes.isEmpty()) {
                bool ok = false;
                const double minutes = p.minutes.toDouble(&ok);
                if (ok && std::abs(minutes) < 1e7)
                    ms = *start + static_cast<qint64>(std::llround(minutes * 60000));
            }
            if (!place) {
                ++m_bad;
                continue;
            }
            Take(place->first, place->second, ms, std::nullopt, std::nullopt);
        }
    }

    // "48.1234567°, 11.1234567°" or "geo:48.1234567,11.1234567".
    static std::optional<std::pair<double, double>> ParseDegrees(const QByteArray& raw) {
        QString text = QString::fromUtf8(raw).trimmed();
        if (text.startsWith(QLatin1String("geo:"), Qt::CaseInsensitive))
            text = text.mid(4);
        text.remove(QChar(0x00B0));
        const QStringList parts = text.split(QLatin1Char(','));
        if (parts.size() != 2)
            return std::nullopt;
        bool latOk = false, lonOk = false;
        const double lat = parts[0].trimmed().toDouble(&latOk);
        const double lon = parts[1].trimmed().toDouble(&lonOk);
        if (!latOk || !lonOk || !(std::abs(lat) <= 90) || !(std::abs(lon) <= 180))
            return std::nullopt;
        return std::make_pair(lat, lon);
    }

    void Take(double lat, double lon, std::optional<qint64> ms, std::optional<double> accuracy,
              std::optional<double> altitude) {
        if (!ms || *ms < kEarliestMs || *ms >= kLatestMs || (accuracy && std::isnan(*accuracy))) {
            ++m_bad;
            return;
        }
        if (*ms < m_options.fromMs || *ms > m_options.toMs) {
            ++m_outside;
            return;
        }
        if (accuracy && *accuracy > m_options.maxAccuracyMetres) {
            ++m_inaccurate;
            return;
        }
        TrackPoint point;
        point.latitude = lat;
        point.longitude = lon;
        point.utcMs = *ms;
        if (altitude && std::isfinite(*altitude))
            point.elevation = *altitude;
        m_points.push_back(point);
    }

    LocationHistoryResult Finish(const QString& path) {
        LocationHistoryResult result;
        // The forms list the same moment more than once (a path point and a raw signal):
        // the first is kept, as the matcher wants one place per moment.
        std::stable_sort(
            m_points.begin(), m_points.end(),
            [](const TrackPoint& a, const TrackPoint& b) { return a.utcMs < b.utcMs; });
        m_points.erase(std::unique(m_points.begin(), m_points.end(),
                                   [](const TrackPoint& a, const TrackPoint& b) {
                                       return a.utcMs == b.utcMs;
                                   }),
                       m_points.end());
        result.ok = true;
        result.kept = static_cast<int>(m_points.size());
        result.outside = m_outside;
        result.inaccurate = m_inaccurate;
        result.bad = m_bad;
        result.track.fileName = path;
        result.track.name = QFileInfo(path).completeBaseName();
        if (!m_points.empty()) {
            m_points.shrink_to_fit();
            result.track.segments.push_back(std::move(m_points));
        }
        return result;
    }

    const LocationHistoryOptions& m_options;
    std::vector<TrackPoint> m_points;
    qint64 m_records = 0;
    int m_outside = 0;
    int m_inaccurate = 0;
    int m_bad = 0;
};

} // namespace

LocationHistoryResult ReadLocationHistory(const QString& path,
                                          const LocationHistoryOptions& options) {
    return HistoryReader(options).Read(path);
}

QString DescribeLocationHistory(const LocationHistoryResult& r) {
    QStringList parts;
    parts << Tr("%n point(s) kept", r.kept);
    if (r.outside > 0)
        parts << Tr("%n outside the chosen days", r.outside);
    if (r.inaccurate > 0)
        parts << Tr("%n less accurate than asked", r.inaccurate);
    if (r.bad > 0)
        parts << Tr("%n left out as unreadable or impossible", r.bad);
    return parts.join(QStringLiteral("; ")) + QLatin1Char('.');
}
