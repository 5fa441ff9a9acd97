#include "script/ScriptLauncher.h"

#include "base/AppState.h"
#include "base/Trace.h"
#include "script/ScriptRunner.h"
#include "script/UniqueFd.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr size_t MAX_PATH_TEXT = 512;
constexpr size_t MAX_COMMAND_LINE = 1024;
// Names taken by earlier launches in the same millisecond, or by strangers, are skipped.
constexpr int MAX_NAME_TRIES = 1000;

// Creates a new file only this user can read, never through a link and never over
// an existing file.
UniqueFd CreateTempFile(char* path, size_t size) {
    // Qt answers "" when TMPDIR names no folder; the name must not land in "/".
    const QString tempPath = QDir::tempPath();
    if (tempPath.isEmpty()) {
        path[0] = '\0';
        return UniqueFd();
    }
    const QByteArray folder = QFile::encodeName(QDir::cleanPath(tempPath));
    const long long number = std::chrono::duration_cast<std::chrono::milliseconds>(
                                 std::chrono::steady_clock::now().time_since_epoch())
                                 .count();
    for (int i = 0; i < MAX_NAME_TRIES; ++i) {
        int n = snprintf(path, size, "%s/K%lld.tmp", folder.constData(), number + i);
        if (n < 0 || static_cast<size_t>(n) >= size)
            break;
        int fd = open(path, O_CREAT | O_EXCL | O_NOFOLLOW | O_WRONLY | O_CLOEXEC, 0600);
        if (fd >= 0)
            return UniqueFd(fd);
        if (errno != EEXIST && errno != EINTR)
            break;
    }
    path[0] = '\0';
    return UniqueFd();
}

bool WriteAll(int fd, const QByteArray& bytes) {
    const char* data = bytes.constData();
    size_t left = static_cast<size_t>(bytes.size());
    while (left > 0) {
        ssize_t n = write(fd, data, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        left -= static_cast<size_t>(n);
    }
    return true;
}

void AppendWords(std::vector<std::string>& argv, const char* text) {
    std::string word;
    for (const char* p = text;; ++p) {
        if (*p == '\0' || *p == ' ' || *p == '\t') {
            if (!word.empty())
                argv.push_back(word);
            word.clear();
            if (*p == '\0')
                break;
        } else {
            word += *p;
        }
    }
}

} // namespace

int RunScript(int scriptId, const char* picturePath, const char* arguments) {
    if (picturePath == nullptr)
        picturePath = "";
    if (arguments == nullptr)
        arguments = "";

    QFile resource(QStringLiteral(":/TEXT/%1").arg(scriptId));
    if (!resource.open(QIODevice::ReadOnly)) {
        Trace("# No script %d.\n", scriptId);
        return 0;
    }
    const QByteArray script = resource.readAll();

    char tempFile[MAX_PATH_TEXT];
    UniqueFd fd = CreateTempFile(tempFile, sizeof tempFile);
    if (!fd.IsValid()) {
        Trace("# Could not open temp file.\n");
        return 0;
    }
    bool written = WriteAll(fd.Get(), script);
    written = close(fd.Release()) == 0 && written;
    if (!written) {
        unlink(tempFile);
        Trace("# Could not write temp file.\n");
        return 0;
    }

    if (!g_app.pRunner) {
        // Nothing will run it.
        unlink(tempFile);
        return 1;
    }

    char commandLine[MAX_COMMAND_LINE];
    snprintf(commandLine, sizeof commandLine, "perl \"%s\" \"%s\" %s", tempFile, picturePath,
             arguments);
    std::vector<std::string> argv{"perl", tempFile, picturePath};
    AppendWords(argv, arguments);

    Trace("# %s\n", commandLine);
    g_app.pRunner->SetTempFile(tempFile);
    g_app.pRunner->Run(argv, commandLine, scriptId);
    return 1;
}
