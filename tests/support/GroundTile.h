#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QPainter>

// A plain map tile with a faint grid, for screenshots: the map shows a ground without the
// network.
inline QByteArray GroundTile() {
    QImage image(256, 256, QImage::Format_RGB32);
    image.fill(QColor(242, 239, 233));
    QPainter painter(&image);
    painter.setPen(QColor(220, 215, 205));
    for (int i = 0; i < 256; i += 64) {
        painter.drawLine(i, 0, i, 255);
        painter.drawLine(0, i, 255, i);
    }
    painter.end();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}
