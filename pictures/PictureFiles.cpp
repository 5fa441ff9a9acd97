#include "pictures/PictureFiles.h"

#include "formats/PictureFormats.h"

#include <algorithm>
#include <memory>

#include <dirent.h>
#include <sys/stat.h>

namespace {

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

using OnFolder = std::function<void(QList<QByteArray>&&)>;

void Walk(const QByteArray& folder, bool subfolders, const std::atomic<bool>* stop,
          const OnFolder& onFolder) {
    std::unique_ptr<DIR, DirCloser> dir(opendir(folder.constData()));
    if (!dir)
        return;
    QList<QByteArray> files;
    QList<QByteArray> folders;
    while (const dirent* entry = readdir(dir.get())) {
        if (stop != nullptr && stop->load())
            return;
        const QByteArray name(entry->d_name);
        if (name.startsWith('.'))
            continue;
        const QByteArray path = folder.endsWith('/') ? folder + name : folder + '/' + name;
        struct stat own {};
        if (lstat(path.constData(), &own) != 0)
            continue;
        if (S_ISDIR(own.st_mode)) {
            if (subfolders)
                folders << path;
            continue;
        }
        // A link to a picture is listed as itself; writing it writes its target.
        struct stat target {};
        if (S_ISLNK(own.st_mode) &&
            (stat(path.constData(), &target) != 0 || !S_ISREG(target.st_mode)))
            continue;
        if (HasPictureExtension(name))
            files << path;
    }
    dir.reset();
    // Folder by folder, in name order within each.
    std::sort(files.begin(), files.end());
    if (!files.isEmpty())
        onFolder(std::move(files));
    std::sort(folders.begin(), folders.end());
    for (const QByteArray& sub : folders)
        Walk(sub, subfolders, stop, onFolder);
}

} // namespace

bool HasPictureExtension(const QByteArray& name) {
    return PictureFormats::IsListed(name);
}

QList<QByteArray> ListPictureFiles(const QByteArray& folder, bool subfolders,
                                   const std::atomic<bool>* stop) {
    QList<QByteArray> found;
    Walk(folder, subfolders, stop, [&found](QList<QByteArray>&& files) { found << files; });
    return found;
}

void ListPictureFiles(const QByteArray& folder, bool subfolders, const std::atomic<bool>* stop,
                      const OnFolder& onFolder) {
    Walk(folder, subfolders, stop, onFolder);
}
