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
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr size_t MAX_PATH_TEXT = 512;
constexpr size_t MAX_COMMAND_LINE = 1024;
// Names taken by earlier launches in the same millisecond are skipped.
constexpr int MAX_NAME_TRIES = 1000;
constexpr char FOLDER_PREFIX[] = "kartavo-";
constexpr size_t FOLDER_PREFIX_LENGTH = sizeof FOLDER_PREFIX - 1;
// mkdtemp's random part.
constexpr size_t FOLDER_RANDOM_LENGTH = 6;

using DirList = std::unique_ptr<DIR, int (*)(DIR*)>;

// Lists the folder fd without taking fd over.
DirList ListFolder(int fd) {
    const int copy = fcntl(fd, F_DUPFD_CLOEXEC, 0);
    DIR* list = copy >= 0 ? fdopendir(copy) : nullptr;
    if (list == nullptr && copy >= 0)
        ::close(copy);
    if (list != nullptr)
        rewinddir(list);
    return DirList(list, closedir);
}

bool IsPrivateFolder(const struct stat& info) {
    return S_ISDIR(info.st_mode) && info.st_uid == geteuid() && (info.st_mode & 07777) == 0700;
}

bool IsAllDigits(const char* text, size_t length) {
    if (length == 0)
        return false;
    for (size_t i = 0; i < length; ++i)
        if (text[i] < '0' || text[i] > '9')
            return false;
    return true;
}

// "K<number>.tmp", the only names the folders hold.
bool IsScriptName(const char* name) {
    const size_t length = strlen(name);
    return length > 5 && name[0] == 'K' && strcmp(name + length - 4, ".tmp") == 0 &&
           IsAllDigits(name + 1, length - 5);
}

// The process that made the folder "kartavo-<pid>-XXXXXX", or 0 for any other name.
pid_t FolderMaker(const char* name) {
    if (strncmp(name, FOLDER_PREFIX, FOLDER_PREFIX_LENGTH) != 0)
        return 0;
    const char* number = name + FOLDER_PREFIX_LENGTH;
    const char* dash = strchr(number, '-');
    if (dash == nullptr || !IsAllDigits(number, static_cast<size_t>(dash - number)) ||
        strlen(dash + 1) != FOLDER_RANDOM_LENGTH || dash - number > 9)
        return 0;
    return static_cast<pid_t>(strtol(number, nullptr, 10));
}

// Empties the folder (script files only) and removes it from parentFd by name. The
// folder must be this user's and be the one folderFd stands for.
void RemoveFolder(int parentFd, const char* name, int folderFd) {
    struct stat held {};
    struct stat named {};
    if (fstat(folderFd, &held) != 0 || !S_ISDIR(held.st_mode) || held.st_uid != geteuid())
        return;
    if (fstatat(parentFd, name, &named, AT_SYMLINK_NOFOLLOW) != 0 || named.st_dev != held.st_dev ||
        named.st_ino != held.st_ino)
        return;
    if (DirList list = ListFolder(folderFd)) {
        while (const dirent* entry = readdir(list.get()))
            if (IsScriptName(entry->d_name))
                unlinkat(folderFd, entry->d_name, 0);
    }
    if (unlinkat(parentFd, name, AT_REMOVEDIR) == 0)
        Trace("# Removed folder: %s\n", name);
}

// A process that is gone cannot clean up after itself; folders of live ones stay.
void RemoveStaleFolders(int parentFd) {
    DirList list = ListFolder(parentFd);
    if (!list)
        return;
    std::vector<std::string> stale;
    while (const dirent* entry = readdir(list.get())) {
        const pid_t maker = FolderMaker(entry->d_name);
        if (maker <= 0 || maker == getpid())
            continue;
        if (kill(maker, 0) == 0 || errno != ESRCH)
            continue;
        stale.emplace_back(entry->d_name);
    }
    for (const std::string& name : stale) {
        UniqueFd folder(
            openat(parentFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (folder.IsValid())
            RemoveFolder(parentFd, name.c_str(), folder.Get());
    }
}

// The private folders of this process; the latest is the one in use.
class ScriptFolders {
public:
    struct Folder {
        std::string parent; // the temporary folder it lies in
        std::string name;
        std::string path;
        UniqueFd fd;
    };

    ScriptFolders() = default;
    ScriptFolders(const ScriptFolders&) = delete;
    ScriptFolders& operator=(const ScriptFolders&) = delete;
    ~ScriptFolders() {
        // A run that still needs its file keeps the folder; the next start removes it.
        if (!g_app.pRunner || !g_app.pRunner->IsBusy())
            RemoveAll();
    }

    // The folder to write into now, or null when none can be made.
    const Folder* Current() {
        // Qt answers "" when TMPDIR names no folder; nothing may land in "/".
        const QString tempPath = QDir::tempPath();
        if (tempPath.isEmpty())
            return nullptr;
        const std::string parent = QFile::encodeName(QDir::cleanPath(tempPath)).toStdString();
        if (!m_folders.empty() && m_folders.back().parent == parent && StillOurs(m_folders.back()))
            return &m_folders.back();
        return Make(parent);
    }

    void RemoveAll() {
        for (const Folder& folder : m_folders) {
            UniqueFd parent(open(folder.parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
            if (parent.IsValid())
                RemoveFolder(parent.Get(), folder.name.c_str(), folder.fd.Get());
        }
        m_folders.clear();
    }

private:
    // Still the folder we made, as we made it: never write into one someone replaced.
    static bool StillOurs(const Folder& folder) {
        struct stat held {};
        struct stat named {};
        return fstat(folder.fd.Get(), &held) == 0 && lstat(folder.path.c_str(), &named) == 0 &&
               held.st_dev == named.st_dev && held.st_ino == named.st_ino && IsPrivateFolder(named);
    }

    const Folder* Make(const std::string& parent) {
        UniqueFd parentFd(open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (!parentFd.IsValid())
            return nullptr;
        RemoveStaleFolders(parentFd.Get());

        char path[MAX_PATH_TEXT];
        const int n = snprintf(path, sizeof path, "%s/%s%d-XXXXXX", parent.c_str(), FOLDER_PREFIX,
                               static_cast<int>(getpid()));
        if (n < 0 || static_cast<size_t>(n) >= sizeof path || mkdtemp(path) == nullptr)
            return nullptr;
        Folder folder;
        folder.parent = parent;
        folder.path = path;
        folder.name = folder.path.substr(parent.size() + 1);
        folder.fd.Reset(open(path, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        // A strict umask must not leave the folder unusable to ourselves.
        if (folder.fd.IsValid())
            fchmod(folder.fd.Get(), 0700);
        if (!folder.fd.IsValid() || !StillOurs(folder))
            return nullptr;
        Trace("# Script folder: %s\n", path);
        m_folders.push_back(std::move(folder));
        return &m_folders.back();
    }

    std::vector<Folder> m_folders;
};

ScriptFolders& Folders() {
    static ScriptFolders folders;
    return folders;
}

// Creates a new file only this user can read in the private folder, never through a
// link and never over an existing file.
UniqueFd CreateTempFile(char* path, size_t size) {
    path[0] = '\0';
    const ScriptFolders::Folder* folder = Folders().Current();
    if (folder == nullptr)
        return UniqueFd();
    const long long number = std::chrono::duration_cast<std::chrono::milliseconds>(
                                 std::chrono::steady_clock::now().time_since_epoch())
                                 .count();
    for (int i = 0; i < MAX_NAME_TRIES; ++i) {
        char name[32];
        snprintf(name, sizeof name, "K%lld.tmp", number + i);
        int n = snprintf(path, size, "%s/%s", folder->path.c_str(), name);
        if (n < 0 || static_cast<size_t>(n) >= size)
            break;
        int fd = openat(folder->fd.Get(), name,
                        O_CREAT | O_EXCL | O_NOFOLLOW | O_WRONLY | O_CLOEXEC, 0600);
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

std::string ScriptFolder() {
    const ScriptFolders::Folder* folder = Folders().Current();
    return folder != nullptr ? folder->path : std::string();
}

void RemoveScriptFolders() {
    Folders().RemoveAll();
}

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
