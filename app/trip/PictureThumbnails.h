#pragma once

#include <QByteArray>
#include <QImage>
#include <QObject>
#include <QSize>
#include <QThreadPool>

#include "pictures/ThumbnailStore.h"

// Makes list thumbnails away from the window's thread: the picture's embedded thumbnail
// where it has one, otherwise the picture itself decoded at a small scale.
class PictureThumbnails : public QObject {
    Q_OBJECT
public:
    explicit PictureThumbnails(QObject* parent = nullptr);
    ~PictureThumbnails() override;

    static QSize Size() { return QSize(64, 48); }

    // ready() follows, on this object's thread; an unreadable picture gives a null image.
    void Request(const QByteArray& path, const EmbeddedThumbnail& embedded);

signals:
    void ready(const QByteArray& path, const QImage& image);

private:
    QThreadPool m_pool;
};
