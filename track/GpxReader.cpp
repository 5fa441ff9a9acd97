#include "track/GpxReader.h"

#include "track/IsoTime.h"
#include "track/KmlReader.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

namespace {

QString Tr(const char* text) {
    return QCoreApplication::translate("GpxReader", text);
}

class GpxParser {
public:
    GpxParser(QIODevice& device, const QString& path)
        : m_xml(&device), m_path(path), m_fileName(QFileInfo(path).fileName()) {}

    GpxResult Parse() {
        GpxResult result;
        if (!m_xml.readNextStartElement()) {
            result.error = m_xml.hasError() ? Tr("%1 is not a GPX or KML file (line %2: %3).")
                                                  .arg(m_fileName)
                                                  .arg(m_xml.lineNumber())
                                                  .arg(m_xml.errorString())
                                            : Tr("%1 is empty.").arg(m_fileName);
            return result;
        }
        if (m_xml.name() == u"kml") {
            ReadKmlTracks(m_xml, m_path, m_tracks);
        } else if (m_xml.name() == u"gpx") {
            m_namespace = m_xml.namespaceUri().toString();
            while (m_xml.readNextStartElement()) {
                if (IsGpx(u"trk"))
                    ReadTrack(u"trkseg", u"trkpt", true);
                else if (IsGpx(u"rte"))
                    ReadTrack(QStringView(), u"rtept", false);
                else
                    m_xml.skipCurrentElement();
            }
        } else {
            result.error = Tr("%1 is neither a GPX nor a KML file: it begins with <%2> on line "
                              "%3.")
                               .arg(m_fileName, m_xml.name().toString())
                               .arg(m_xml.lineNumber());
            return result;
        }
        // Anything after the end of the root is also an error of the file.
        while (!m_xml.atEnd())
            m_xml.readNext();

        if (m_xml.hasError()) {
            const bool early = m_xml.error() == QXmlStreamReader::PrematureEndOfDocumentError;
            result.error = (early ? Tr("%1 ends too early, at line %2: %3")
                                  : Tr("%1 is broken at line %2: %3"))
                               .arg(m_fileName)
                               .arg(m_xml.lineNumber())
                               .arg(m_xml.errorString());
            return result;
        }
        if (m_tracks.empty()) {
            result.error = Tr("%1 holds no track points.").arg(m_fileName);
            return result;
        }
        if (m_badTimes > 0)
            result.notes << QCoreApplication::translate(
                                "GpxReader",
                                "%n point(s) of %1 have a time that cannot be read; they are "
                                "drawn but not matched.",
                                nullptr, m_badTimes)
                                .arg(m_fileName);
        result.ok = true;
        result.tracks = std::move(m_tracks);
        return result;
    }

private:
    bool IsGpx(QStringView name) const {
        return m_xml.name() == name && m_xml.namespaceUri() == m_namespace;
    }

    // A track (segments in segmentName elements) or a route (points straight inside).
    void ReadTrack(QStringView segmentName, QStringView pointName, bool timed) {
        Track track;
        track.fileName = m_path;
        TrackSegment routePoints;
        while (m_xml.readNextStartElement()) {
            if (IsGpx(u"name")) {
                track.name = m_xml.readElementText().simplified();
            } else if (!segmentName.isEmpty() && IsGpx(segmentName)) {
                TrackSegment segment;
                while (m_xml.readNextStartElement()) {
                    if (IsGpx(pointName))
                        ReadPoint(segment, timed);
                    else
                        m_xml.skipCurrentElement();
                }
                if (!segment.empty())
                    track.segments.push_back(std::move(segment));
            } else if (segmentName.isEmpty() && IsGpx(pointName)) {
                ReadPoint(routePoints, timed);
            } else {
                m_xml.skipCurrentElement();
            }
        }
        if (!routePoints.empty())
            track.segments.push_back(std::move(routePoints));
        if (track.segments.empty() || m_xml.hasError())
            return;
        if (track.name.isEmpty()) {
            const QString base = QFileInfo(m_fileName).completeBaseName();
            track.name = m_tracks.empty()
                             ? base
                             : QStringLiteral("%1 (%2)").arg(base).arg(m_tracks.size() + 1);
        }
        m_tracks.push_back(std::move(track));
    }

    void ReadPoint(TrackSegment& segment, bool timed) {
        bool latOk = false, lonOk = false;
        TrackPoint point;
        point.latitude = m_xml.attributes().value(QLatin1String("lat")).toDouble(&latOk);
        point.longitude = m_xml.attributes().value(QLatin1String("lon")).toDouble(&lonOk);
        if (!latOk || !lonOk || !(std::abs(point.latitude) <= 90) ||
            !(std::abs(point.longitude) <= 180)) {
            m_xml.raiseError(Tr("a point without a usable latitude and longitude"));
            return;
        }
        while (m_xml.readNextStartElement()) {
            if (IsGpx(u"ele")) {
                bool ok = false;
                const double elevation = m_xml.readElementText().trimmed().toDouble(&ok);
                if (ok && std::isfinite(elevation))
                    point.elevation = elevation;
            } else if (IsGpx(u"time")) {
                const QString text = m_xml.readElementText();
                if (const auto ms = ParseIsoUtcMs(text))
                    point.utcMs = timed ? *ms : TrackPoint::kNoTime;
                else if (timed)
                    ++m_badTimes;
            } else {
                m_xml.skipCurrentElement();
            }
        }
        segment.push_back(point);
    }

    QXmlStreamReader m_xml;
    QString m_path;
    QString m_fileName; // for messages
    QString m_namespace;
    std::vector<Track> m_tracks;
    int m_badTimes = 0;
};

} // namespace

GpxResult ReadGpx(QIODevice& device, const QString& path) {
    return GpxParser(device, path).Parse();
}

GpxResult ReadGpxFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        GpxResult result;
        result.error = Tr("Cannot open %1: %2").arg(QFileInfo(path).fileName(), file.errorString());
        return result;
    }
    return ReadGpx(file, path);
}
