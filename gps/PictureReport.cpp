#include "gps/PictureReport.h"

#include "base/BoundedText.h"
#include "base/Resource.h"
#include "gps/DecimalText.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

enum PrintedLineNumber { kDate = 0, kLatRef = 1, kLat = 3, kLngRef = 4, kLng = 6, kAltitude = 7 };

// The integer at the start of text[offset, offset + width): an optional sign and digits;
// a piece without digits, or beyond the end of the text, gives 0.
int DatePiece(const char* text, std::size_t offset, std::size_t width) {
    const std::size_t length = std::strlen(text);
    if (offset >= length)
        return 0;
    const char* p = text + offset;
    const char* end = text + (offset + width < length ? offset + width : length);
    bool negative = false;
    if (p < end && (*p == '-' || *p == '+'))
        negative = *p++ == '-';
    int value = 0;
    for (; p < end && *p >= '0' && *p <= '9'; ++p)
        value = value * 10 + (*p - '0');
    return negative ? -value : value;
}

const char* Text(const PrintedLine& line, int number) {
    const char* text = line ? line(number) : nullptr;
    return text != nullptr ? text : "";
}

// Heights a picture can have been taken at, from deep mines to stratospheric balloons.
constexpr double kLowestAltitude = -12000.0;
constexpr double kHighestAltitude = 100000.0;

// A plain decimal that fits its field and lies within [lowest, highest].
bool UsableNumber(const char* text, double lowest, double highest) {
    if (!IsPlainDecimal(text) || std::strlen(text) >= kReportFieldSize)
        return false;
    const double value = ReadDecimal(text);
    return std::isfinite(value) && value >= lowest && value <= highest;
}

// The read script prints a coordinate's size; the reference gives its side. The number goes
// into page script, so it must be an unsigned plain decimal within the limit.
bool SignedDegrees(const char* reference, char positive, const char* degrees, double limit,
                   char (&out)[kReportFieldSize]) {
    if (degrees[0] == '-' || degrees[0] == '+' || !UsableNumber(degrees, 0.0, limit))
        return false;
    const char* sign = reference[0] == positive ? "" : "-";
    const int written = snprintf(out, sizeof out, "%s%s", sign, degrees);
    return written > 0 && static_cast<std::size_t>(written) < sizeof out;
}

void PositionText(PictureReport& report, const char* fileName, bool altitudeUnusable) {
    const char* altitude = report.bHasAltitude ? report.szAltitude : nullptr;
    const char* noAltitude = altitudeUnusable ? "unusable" : "unknown";
    // The altitude always shows; a file name too long for the box is cut and marked.
    const std::size_t fixed = std::strlen("GPS data : \r\nAltitude:  meter") +
                              (altitude ? std::strlen(altitude) : std::strlen(noAltitude));
    const std::size_t room = sizeof report.szText - 1 - fixed;
    std::size_t nameLength = std::strlen(fileName);
    const char* ellipsis = "";
    if (nameLength > room) {
        nameLength = Utf8PrefixLength(fileName, nameLength, room - 3);
        ellipsis = "...";
    }
    if (altitude)
        snprintf(report.szText, sizeof report.szText, "GPS data : %.*s%s\r\nAltitude: %s meter",
                 static_cast<int>(nameLength), fileName, ellipsis, altitude);
    else
        snprintf(report.szText, sizeof report.szText, "GPS data : %.*s%s\r\nAltitude: %s",
                 static_cast<int>(nameLength), fileName, ellipsis, noAltitude);
}

} // namespace

const char* PictureFileName(const char* path) {
    const char* slash = std::strrchr(path, '/');
    return slash ? slash + 1 : path;
}

PictureReport BuildPictureReport(bool hasLines, const PrintedLine& line, const char* picturePath,
                                 int zoom) {
    PictureReport report;
    if (!hasLines) {
        snprintf(report.szText, sizeof report.szText, "This picture has no information\r\n");
        return report;
    }

    const char* date = Text(line, kDate);
    report.year = DatePiece(date, 0, 4);
    report.month = DatePiece(date, 5, 2);
    report.day = DatePiece(date, 8, 2);
    report.hour = DatePiece(date, 11, 2);
    report.minute = DatePiece(date, 14, 2);
    report.second = DatePiece(date, 17, 2);

    const char* latitude = Text(line, kLat);
    const char* longitude = Text(line, kLng);
    report.bHasPosition =
        SignedDegrees(Text(line, kLatRef), 'N', latitude, 90.0, report.szLatitude) &&
        SignedDegrees(Text(line, kLngRef), 'E', longitude, 180.0, report.szLongitude);
    if (!report.bHasPosition && latitude[0] != '\0' && longitude[0] != '\0') {
        // A position no place can have: the map, the fields and the altitude stay.
        report.szLatitude[0] = report.szLongitude[0] = '\0';
        snprintf(report.szText, sizeof report.szText,
                 "This picture's GPS position is unusable\r\n");
        return report;
    }
    if (!report.bHasPosition) {
        report.szLatitude[0] = report.szLongitude[0] = '\0';
        snprintf(report.szScript, sizeof report.szScript, "SetCenter(%s,%s,%d)", DEFAULT_LATITUDE,
                 DEFAULT_LONGITUDE, DEFAULT_ZOOM);
        snprintf(report.szText, sizeof report.szText, "This picture has no GPS information\r\n");
        return report;
    }

    const char* altitude = Text(line, kAltitude);
    report.bHasAltitude = UsableNumber(altitude, kLowestAltitude, kHighestAltitude);
    if (report.bHasAltitude)
        snprintf(report.szAltitude, sizeof report.szAltitude, "%s", altitude);

    snprintf(report.szScript, sizeof report.szScript, "SetCenter(%s,%s,%d)", report.szLatitude,
             report.szLongitude, zoom);
    PositionText(report, PictureFileName(picturePath), !report.bHasAltitude && altitude[0] != '\0');
    return report;
}
