#include "formats/EmbeddedPreview.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace EmbeddedPreview {

namespace {

constexpr int kRunLimitMs = 120000;

QString Script() {
    QFile file(QStringLiteral(":/formats/previews.pl"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Reads "<index> <length> <orientation>\n<bytes>" records into previews, best first.
void ParseRecords(const QByteArray& out, QList<Jpeg>& previews) {
    int at = 0;
    while (at < out.size()) {
        const int end = out.indexOf('\n', at);
        if (end < 0)
            return;
        const QList<QByteArray> words = out.mid(at, end - at).split(' ');
        if (words.size() != 3)
            return;
        bool indexOk = false;
        bool lengthOk = false;
        const int index = words[0].toInt(&indexOk);
        const int length = words[1].toInt(&lengthOk);
        if (!indexOk || !lengthOk || length < 0 || end + 1 + length > out.size())
            return;
        if (index >= 0 && index < previews.size()) {
            Jpeg& jpeg = previews[index];
            // The first record of a file is the best; the rest stand by.
            if (jpeg.data.isEmpty())
                jpeg.data = out.mid(end + 1, length);
            else if (length > 0)
                jpeg.others << out.mid(end + 1, length);
            jpeg.orientation = qBound(1, words[2].toInt(), 8);
        }
        at = end + 1 + length;
    }
}

// A folder that is ours alone: made 0700, or already there, owned by us and 0700.
bool PrivateFolder(const QString& folder) {
    const QByteArray name = QFile::encodeName(folder);
    if (!QDir().mkpath(QFileInfo(folder).path()))
        return false;
    if (mkdir(name.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat info {};
    if (lstat(name.constData(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != geteuid())
        return false;
    return (info.st_mode & 0777) == 0700 || chmod(name.constData(), 0700) == 0;
}

} // namespace

QList<Jpeg> Extract(const QList<QByteArray>& paths, Size size, QString* error) {
    QList<Jpeg> previews(paths.size());
    if (paths.isEmpty())
        return previews;
    QByteArray names;
    for (const QByteArray& path : paths)
        names += path + '\0';
    QProcess perl;
    // Names go on standard input: they keep their bytes, and none is taken for an option.
    perl.start(QStringLiteral("perl"),
               {QStringLiteral("-e"), Script(), QStringLiteral("--"),
                size == Size::Smallest ? QStringLiteral("smallest") : QStringLiteral("largest")});
    if (!perl.waitForStarted()) {
        if (error)
            *error = QStringLiteral("Perl could not be started: ") + perl.errorString();
        return previews;
    }
    perl.write(names);
    perl.closeWriteChannel();
    if (!perl.waitForFinished(kRunLimitMs)) {
        perl.kill();
        perl.waitForFinished();
    }
    ParseRecords(perl.readAllStandardOutput(), previews);
    if (error && (perl.exitStatus() != QProcess::NormalExit || perl.exitCode() != 0))
        *error = QString::fromUtf8(perl.readAllStandardError()).trimmed();
    return previews;
}

QString CacheFolder() {
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (!cache.isEmpty() && PrivateFolder(cache + QStringLiteral("/previews")))
        return cache + QStringLiteral("/previews");
    const QString temp =
        QDir::tempPath() + QStringLiteral("/kartavo-previews-") + QString::number(geteuid());
    return PrivateFolder(temp) ? temp : QString();
}

} // namespace EmbeddedPreview
