#include "pictures/ThumbnailStore.h"

#include <QDir>

#include <cerrno>
#include <unistd.h>

std::shared_ptr<const ThumbnailStore> ThumbnailStore::Make() {
    std::shared_ptr<ThumbnailStore> store(new ThumbnailStore);
    store->m_file.setFileTemplate(QDir::tempPath() + QStringLiteral("/kartavo-thumbnails-XXXXXX"));
    if (!store->m_file.open())
        return nullptr;
    return store;
}

QByteArray ThumbnailStore::Read(qint64 offset, qint64 length) const {
    // pread, not QFile::read: the thumbnail makers read from several threads at once.
    constexpr qint64 kLargest = 16 * 1024 * 1024;
    if (offset < 0 || length <= 0 || length > kLargest)
        return QByteArray();
    QByteArray bytes(length, Qt::Uninitialized);
    qint64 done = 0;
    while (done < length) {
        const ssize_t n =
            pread(m_file.handle(), bytes.data() + done, static_cast<size_t>(length - done),
                  static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return QByteArray();
        done += n;
    }
    return bytes;
}
