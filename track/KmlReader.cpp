#include "track/KmlReader.h"

#include "track/IsoTime.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QXmlStreamReader>

namespace {

QString Tr(const char* text) {
    return QCoreApplication::translate("KmlReader", text);
}

// "lon,lat[,alt]" (coordinates) or "lon lat [alt]" (gx:coord).
bool ReadTuple(QStringView text, QChar separator, TrackPoint& point) {
    const auto parts = text.split(separator, Qt::SkipEmptyParts);
    if (parts.size() < 2 || parts.size() > 3)
        return false;
    bool lonOk = false, latOk = false;
    point.longitude = parts[0].toDouble(&lonOk);
    point.latitude = parts[1].toDouble(&latOk);
    if (parts.size() == 3) {
        bool ok = false;
        const double elevation = parts[2].toDouble(&ok);
        if (ok && std::isfinite(elevation))
            point.elevation = elevation;
    }
    return lonOk && latOk && std::abs(point.latitude) <= 90 && std::abs(point.longitude) <= 180;
}

// The times and positions of a track, in two lists that pair up in order.
void ReadTimedTrack(QXmlStreamReader& xml, TrackSegment& segment) {
    std::vector<qint64> times;
    TrackSegment points;
    while (xml.readNextStartElement()) {
        if (xml.name() == u"when") {
            times.push_back(ParseIsoUtcMs(xml.readElementText()).value_or(TrackPoint::kNoTime));
        } else if (xml.name() == u"coord") {
            TrackPoint point;
            if (!ReadTuple(xml.readElementText().simplified(), u' ', point)) {
                xml.raiseError(Tr("a position that is not \"longitude latitude altitude\""));
                return;
            }
            points.push_back(point);
        } else {
            xml.skipCurrentElement();
        }
    }
    if (xml.hasError())
        return;
    if (!times.empty() && times.size() != points.size()) {
        xml.raiseError(
            Tr("a track with %1 times for %2 positions").arg(times.size()).arg(points.size()));
        return;
    }
    for (std::size_t i = 0; i < times.size(); ++i)
        points[i].utcMs = times[i];
    segment = std::move(points);
}

void ReadLine(QXmlStreamReader& xml, TrackSegment& segment) {
    while (xml.readNextStartElement()) {
        if (xml.name() != u"coordinates") {
            xml.skipCurrentElement();
            continue;
        }
        const QString text = xml.readElementText();
        for (QStringView tuple : QStringView(text).split(u' ', Qt::SkipEmptyParts)) {
            tuple = tuple.trimmed();
            if (tuple.isEmpty())
                continue;
            TrackPoint point;
            if (!ReadTuple(tuple, u',', point)) {
                xml.raiseError(Tr("a position that is not \"longitude,latitude,altitude\""));
                return;
            }
            segment.push_back(point);
        }
    }
}

} // namespace

void ReadKmlTracks(QXmlStreamReader& xml, const QString& path, std::vector<Track>& tracks) {
    // Placemarks nest inside Documents and Folders to any depth; each Placemark is a track.
    Track current;
    int placemarkDepth = -1;
    int depth = 1;
    auto finish = [&] {
        if (current.segments.empty())
            return;
        current.fileName = path;
        if (current.name.isEmpty()) {
            const QString base = QFileInfo(path).completeBaseName();
            current.name =
                tracks.empty() ? base : QStringLiteral("%1 (%2)").arg(base).arg(tracks.size() + 1);
        }
        tracks.push_back(std::move(current));
        current = Track();
    };
    while (!xml.atEnd() && !xml.hasError() && depth > 0) {
        xml.readNext();
        if (xml.isEndElement()) {
            if (--depth == placemarkDepth) {
                finish();
                placemarkDepth = -1;
            }
            continue;
        }
        if (!xml.isStartElement())
            continue;
        const QStringView name = xml.name();
        TrackSegment segment;
        if (name == u"Track") {
            ReadTimedTrack(xml, segment);
        } else if (name == u"LineString") {
            ReadLine(xml, segment);
        } else if (name == u"name" && placemarkDepth >= 0 && current.name.isEmpty()) {
            current.name = xml.readElementText().simplified();
        } else {
            if (name == u"Placemark") {
                finish();
                placemarkDepth = depth;
            }
            ++depth;
            continue;
        }
        // The element was read to its end.
        if (!segment.empty())
            current.segments.push_back(std::move(segment));
        if (placemarkDepth < 0)
            finish();
    }
}
