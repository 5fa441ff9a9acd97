#include "app/trip/PictureThumbnails.h"

#include "formats/HeifDecoder.h"
#include "formats/PictureFormats.h"
#include "formats/PicturePreview.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QThread>

#include <fcntl.h>
#include <unistd.h>

namespace {

QImage Decode(QIODevice* device, const QSize& box) {
    QImageReader reader(device);
    reader.setAutoTransform(true);
    const QSize full = reader.size();
    // JPEG decodes straight to a fraction of its size when asked for a smaller one.
    if (full.isValid())
        reader.setScaledSize(full.scaled(box, Qt::KeepAspectRatio));
    QImage image = reader.read();
    if (!image.isNull() && (image.width() > box.width() || image.height() > box.height()))
        image = image.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image;
}

QImage MakeThumbnail(const QByteArray& path, const QByteArray& embedded, const QSize& box) {
    if (!embedded.isEmpty()) {
        QByteArray bytes = embedded;
        QBuffer buffer(&bytes);
        if (buffer.open(QIODevice::ReadOnly)) {
            QImage image = Decode(&buffer, box);
            if (!image.isNull())
                return image;
        }
    }
    // The thumbnail the file carries, as phones store one, or its picture decoded.
    if (PictureFormats::IsHeif(path))
        return HeifDecoder::Thumbnail(path, box).image;
    // Opened by the name's own bytes: a name that is not UTF-8 would not survive a QString.
    const int fd = open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return QImage();
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        close(fd);
        return QImage();
    }
    const QImage image = Decode(&file, box);
    // RAW files whose pictures Qt cannot read.
    return image.isNull() ? PicturePreview::Thumbnails({path}, box).value(0) : image;
}

} // namespace

PictureThumbnails::PictureThumbnails(QObject* parent) : QObject(parent) {
    // A picture without a small one inside takes a whole decode: every core helps.
    m_pool.setMaxThreadCount(qMax(1, QThread::idealThreadCount()));
}

PictureThumbnails::~PictureThumbnails() {
    m_pool.clear();
    m_pool.waitForDone();
}

void PictureThumbnails::Request(const QByteArray& path, const EmbeddedThumbnail& embedded) {
    m_pool.start([this, path, embedded] {
        const QImage image = MakeThumbnail(path, embedded.Bytes(), Size());
        // Dropped with this object, should it go first.
        QMetaObject::invokeMethod(
            this, [this, path, image] { emit ready(path, image); }, Qt::QueuedConnection);
    });
}
