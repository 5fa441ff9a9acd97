#include "pictures/Leftovers.h"

#include "pictures/BatchJournal.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QThreadPool>

#include <cerrno>
#include <csignal>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool Alive(pid_t pid) {
    return pid > 0 && (kill(pid, 0) == 0 || errno == EPERM);
}

int CleanFolder(const QByteArray& folder) {
    // The batch script's new files; the single write's also name the host it ran on.
    static const QRegularExpression name(
        QStringLiteral("^\\.kartavo-(?:([^/]+)-)?(\\d+)-[A-Za-z0-9]{6}\\.tmp$"));
    char host[256] = {};
    gethostname(host, sizeof host - 1);
    DIR* dir = opendir(folder.constData());
    if (!dir)
        return 0;
    int removed = 0;
    while (const dirent* entry = readdir(dir)) {
        const QByteArray file(entry->d_name);
        const auto match = name.match(QString::fromLatin1(file));
        if (!match.hasMatch())
            continue;
        if (match.hasCaptured(1) && match.captured(1) != QString::fromLatin1(host))
            continue; // another machine's, on a shared folder: its process is not ours to see
        bool number = false;
        const pid_t pid = static_cast<pid_t>(match.captured(2).toLongLong(&number));
        if (!number || Alive(pid))
            continue;
        const QByteArray path = folder + '/' + file;
        struct stat info {};
        if (lstat(path.constData(), &info) == 0 && S_ISREG(info.st_mode) &&
            unlink(path.constData()) == 0)
            ++removed;
    }
    closedir(dir);
    return removed;
}

} // namespace

namespace Leftovers {

int Remove(const QString& journalFolder) {
    const QDir dir(journalFolder);
    QSet<QByteArray> folders;
    for (const QString& journal :
         dir.entryList({QStringLiteral("*.journal"), QStringLiteral("*.undone")}, QDir::Files)) {
        QList<BatchJournal::Entry> entries;
        QString error;
        if (!BatchJournal::Read(dir.filePath(journal), entries, error))
            continue;
        for (const BatchJournal::Entry& entry : entries) {
            const qsizetype slash = entry.target.lastIndexOf('/');
            if (slash > 0)
                folders.insert(entry.target.left(slash));
        }
    }
    int removed = 0;
    for (const QByteArray& folder : folders)
        removed += CleanFolder(folder);
    return removed;
}

void RemoveInBackground() {
    const QString folder = BatchJournal::DefaultFolder();
    QThreadPool::globalInstance()->start([folder] { Remove(folder); });
}

} // namespace Leftovers
