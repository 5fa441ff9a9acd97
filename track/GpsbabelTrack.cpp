#include "track/GpsbabelTrack.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>

#include <array>

namespace {

QString Tr(const char* text, int n = -1) {
    return QCoreApplication::translate("GpsbabelTrack", text, nullptr, n);
}

struct Format {
    const char* extension;
    const char* name;
};

// Extensions whose files gpsbabel reads, with the format it is told; kept to formats whose
// extension says what they are, so that no file is guessed at.
constexpr std::array<Format, 17> kFormats{{
    {"fit", "garmin_fit"},
    {"tcx", "gtrnctr"},
    {"crs", "gtrnctr"},
    {"hst", "gtrnctr"},
    {"nmea", "nmea"},
    {"nma", "nmea"},
    {"igc", "igc"},
    {"geojson", "geojson"},
    {"gdb", "gdb"},
    {"loc", "geo"},
    {"plt", "ozi"},
    {"sbp", "sbp"},
    {"sbn", "sbn"},
    {"ov2", "tomtom"},
    {"trl", "dmtlog"},
    {"tk1", "wintec_tes"},
    {"csv", "unicsv"},
}};

// Output beyond this is no track a person recorded; it stops a runaway child filling memory.
constexpr qint64 kMaxOutput = 1LL << 30;

GpxResult Refused(const QString& text) {
    GpxResult result;
    result.error = text;
    return result;
}

QString FirstLine(const QByteArray& text) {
    for (const QByteArray& line : text.split('\n')) {
        const QString trimmed = QString::fromUtf8(line).trimmed();
        if (!trimmed.isEmpty())
            return trimmed;
    }
    return QString();
}

} // namespace

QString GpsbabelFormat(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    for (const Format& f : kFormats)
        if (suffix == QLatin1String(f.extension))
            return QString::fromLatin1(f.name);
    return QString();
}

QStringList GpsbabelPatterns() {
    QStringList patterns;
    for (const Format& f : kFormats) {
        const QString ext = QString::fromLatin1(f.extension);
        patterns << QStringLiteral("*.") + ext << QStringLiteral("*.") + ext.toUpper();
    }
    return patterns;
}

GpxResult ReadWithGpsbabel(const QString& path, const QString& format,
                           const GpsbabelOptions& options) {
    const QString fileName = QFileInfo(path).fileName();
    QProcess process;
    process.setProgram(options.program);
    // An absolute path never begins with a dash, so gpsbabel cannot take it for an option.
    process.setArguments({QStringLiteral("-i"), format, QStringLiteral("-f"),
                          QFileInfo(path).absoluteFilePath(), QStringLiteral("-o"),
                          QStringLiteral("gpx"), QStringLiteral("-F"), QStringLiteral("-")});
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(QIODevice::ReadOnly);
    if (!process.waitForStarted(10000))
        return Refused(Tr("%1 cannot be read: gpsbabel, which converts it, did not start (%2). "
                          "Install the gpsbabel package.")
                           .arg(fileName, process.errorString()));

    QByteArray output;
    QByteArray errors;
    QElapsedTimer clock;
    clock.start();
    auto stop = [&process](const QString& why) {
        process.kill();
        process.waitForFinished(5000);
        return Refused(why);
    };
    while (process.state() != QProcess::NotRunning) {
        if (options.cancel != nullptr && options.cancel->load())
            return stop(Tr("Reading %1 was cancelled.").arg(fileName));
        if (options.timeLimitMs > 0 && clock.elapsed() > options.timeLimitMs)
            return stop(Tr("gpsbabel took longer than %n second(s) to read %1 and was "
                           "stopped.",
                           options.timeLimitMs / 1000)
                            .arg(fileName));
        process.waitForFinished(100);
        output += process.readAllStandardOutput();
        errors += process.readAllStandardError();
        if (output.size() > kMaxOutput)
            return stop(Tr("gpsbabel's conversion of %1 is too large.").arg(fileName));
    }
    output += process.readAllStandardOutput();
    errors += process.readAllStandardError();

    if (process.exitStatus() != QProcess::NormalExit)
        return Refused(Tr("gpsbabel stopped unexpectedly while reading %1.").arg(fileName));
    if (process.exitCode() != 0) {
        const QString why = FirstLine(errors);
        return Refused(why.isEmpty() ? Tr("gpsbabel cannot read %1 (exit code %2).")
                                           .arg(fileName)
                                           .arg(process.exitCode())
                                     : Tr("gpsbabel cannot read %1: %2").arg(fileName, why));
    }
    QBuffer buffer(&output);
    buffer.open(QIODevice::ReadOnly);
    GpxResult result = ReadGpx(buffer, path);
    // The converted text's line numbers mean nothing to the user.
    if (!result.ok)
        result.error = Tr("gpsbabel found no track points in %1.").arg(fileName);
    return result;
}

GpxResult ReadTrackFile(const QString& path, const GpsbabelOptions& options) {
    const QString format = GpsbabelFormat(path);
    return format.isEmpty() ? ReadGpxFile(path) : ReadWithGpsbabel(path, format, options);
}
