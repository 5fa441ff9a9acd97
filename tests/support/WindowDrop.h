#pragma once

#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QStringList>
#include <QUrl>
#include <QWidget>
#include <QWindow>

// Offers a drag of local files at a point of a top-level window, the way the window system
// does: through its QWindow, which finds the widget under the point that takes drops.
// Returns whether the drop was taken.
inline bool OfferDropUrls(QWidget* topLevel, QPoint windowPos, const QList<QUrl>& urls) {
    QMimeData mime;
    mime.setUrls(urls);
    QStringList files;
    for (const QUrl& url : urls)
        files << url.toString(QUrl::FullyEncoded);
    mime.setText(files.join(QLatin1Char('\n'))); // file managers offer plain text too
    QWindow* window = topLevel->windowHandle();
    QDragEnterEvent enter(windowPos, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(windowPos, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &drop);
    return drop.isAccepted();
}

inline bool OfferDrop(QWidget* topLevel, QPoint windowPos, const QStringList& files) {
    QList<QUrl> urls;
    for (const QString& file : files)
        urls << QUrl::fromLocalFile(file);
    return OfferDropUrls(topLevel, windowPos, urls);
}
