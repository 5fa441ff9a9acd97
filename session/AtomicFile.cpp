#include "session/AtomicFile.h"

#include "script/UniqueFd.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

bool Fail(QString* problem, const QString& what) {
    if (problem != nullptr)
        *problem = QStringLiteral("%1: %2").arg(what, QString::fromLocal8Bit(strerror(errno)));
    return false;
}

} // namespace

bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* problem) {
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath()))
        return Fail(problem, QStringLiteral("cannot make %1").arg(info.absolutePath()));
    QByteArray temp = QFile::encodeName(info.absoluteFilePath()) + ".XXXXXX";
    UniqueFd fd(mkostemp(temp.data(), O_CLOEXEC));
    if (!fd.IsValid())
        return Fail(problem, QStringLiteral("cannot write beside %1").arg(path));
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t wrote = ::write(fd.Get(), data, static_cast<size_t>(left));
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0) {
            const int saved = errno;
            ::unlink(temp.constData());
            errno = saved;
            return Fail(problem, QStringLiteral("cannot write %1").arg(path));
        }
        data += wrote;
        left -= wrote;
    }
    if (::fsync(fd.Get()) != 0 || ::rename(temp.constData(), QFile::encodeName(path)) != 0) {
        const int saved = errno;
        ::unlink(temp.constData());
        errno = saved;
        return Fail(problem, QStringLiteral("cannot write %1").arg(path));
    }
    fd.Reset();
    UniqueFd folder(::open(QFile::encodeName(info.absolutePath()).constData(),
                           O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.IsValid() || ::fsync(folder.Get()) != 0)
        return Fail(problem, QStringLiteral("cannot flush %1").arg(info.absolutePath()));
    return true;
}
