#include "pictures/BatchJournal.h"

#include "pictures/BatchFields.h"
#include "script/UniqueFd.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace BatchJournal {

namespace {

const char HEADER[] = "KARTAVO-JOURNAL\t1\n";
const QString SUFFIX = QStringLiteral(".journal");
const QString UNDONE_SUFFIX = QStringLiteral(".undone");

QString SystemReason() {
    return QString::fromLocal8Bit(strerror(errno));
}

} // namespace

QString DefaultFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Kartavo/journal");
}

QString Create(const QString& folder, QString& error) {
    if (!QDir().mkpath(folder)) {
        error = QStringLiteral("Cannot make the undo journal folder %1").arg(folder);
        return {};
    }
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString stamp =
        QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
    for (int n = 0; n < 100; ++n) {
        const QString path = folder + QLatin1Char('/') + stamp + QLatin1Char('-') +
                             QStringLiteral("%1").arg(n, 2, 10, QChar('0')) + SUFFIX;
        UniqueFd fd(open(QFile::encodeName(path).constData(),
                         O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (!fd.IsValid()) {
            if (errno == EEXIST)
                continue;
            error =
                QStringLiteral("Cannot make an undo journal in %1: %2").arg(folder, SystemReason());
            return {};
        }
        const ssize_t length = static_cast<ssize_t>(sizeof HEADER - 1);
        // The batch script flushes it and its folder before it writes a record: no
        // waiting for the disk here, on the window's thread.
        if (write(fd.Get(), HEADER, sizeof HEADER - 1) != length) {
            error =
                QStringLiteral("Cannot write the undo journal %1: %2").arg(path, SystemReason());
            unlink(QFile::encodeName(path).constData());
            return {};
        }
        return path;
    }
    error = QStringLiteral("Cannot make an undo journal in %1: no free name").arg(folder);
    return {};
}

QString Newest(const QString& folder) {
    const QStringList names =
        QDir(folder).entryList({QStringLiteral("*") + SUFFIX}, QDir::Files, QDir::Name);
    return names.isEmpty() ? QString() : QDir(folder).filePath(names.last());
}

bool Read(const QString& journal, QList<Entry>& entries, QString& error) {
    QFile file(journal);
    if (!file.open(QIODevice::ReadOnly)) {
        error =
            QStringLiteral("Cannot read the undo journal %1: %2").arg(journal, file.errorString());
        return false;
    }
    const QList<QByteArray> lines = file.readAll().split('\n');
    if (lines.isEmpty() || lines.first() + '\n' != HEADER) {
        error = QStringLiteral("%1 is not an undo journal").arg(journal);
        return false;
    }
    entries.clear();
    QHash<QByteArray, int> rows;
    for (const QByteArray& line : lines) {
        const QList<QByteArray> fields = BatchFields::Split(line);
        if (fields.size() < 2)
            continue;
        const QByteArray& kind = fields[0];
        if (kind == "B" && fields.size() >= 7) {
            Entry entry;
            entry.id = fields[1];
            entry.path = fields[2];
            entry.target = fields[3];
            entry.state = fields[4];
            entry.before = line;
            rows.insert(entry.id, entries.size());
            entries.append(entry);
            continue;
        }
        // A and U records follow their picture's B record.
        const auto row = rows.constFind(fields[1]);
        if (row == rows.constEnd() || fields.size() < 3)
            continue;
        Entry& entry = entries[*row];
        if (kind == "A") {
            entry.written = fields[2];
        } else if (kind == "U") {
            entry.undone = true;
            entry.undoneState = fields[2];
        }
    }
    return true;
}

void FollowUndoneWrites(const QString& journal, QList<Entry>& entries) {
    const QFileInfo info(journal);
    const QString stem = info.completeBaseName();
    const QStringList undone =
        info.dir().entryList({QStringLiteral("*") + UNDONE_SUFFIX}, QDir::Files, QDir::Name);
    for (const QString& name : undone) {
        if (QFileInfo(name).completeBaseName() <= stem)
            continue;
        QList<Entry> later;
        QString error;
        if (!Read(info.dir().filePath(name), later, error))
            continue;
        for (Entry& entry : entries)
            for (const Entry& next : later)
                if (next.target == entry.target && next.undone && !entry.written.isEmpty() &&
                    next.state == entry.written)
                    entry.written = next.undoneState;
    }
}

bool MarkUndone(const QString& journal, QString& error) {
    QString undone = journal;
    undone.replace(undone.size() - SUFFIX.size(), SUFFIX.size(), UNDONE_SUFFIX);
    // Not flushed: should the new name be lost, a later undo finds its pictures as
    // they were before the write, and leaves them so.
    if (rename(QFile::encodeName(journal).constData(), QFile::encodeName(undone).constData()) !=
        0) {
        error = QStringLiteral("Cannot mark the undo journal %1 undone: %2")
                    .arg(journal, SystemReason());
        return false;
    }
    return true;
}

} // namespace BatchJournal
