#pragma once

#include "pictures/BatchRunner.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QList>
#include <QMap>
#include <QObject>
#include <QString>
#include <QTest>
#include <QThread>

#include <functional>

// Keeps what a BatchRunner reports during one operation.
struct BatchRecorder {
    struct Undone {
        QByteArray path;
        bool ok = false;
        QString reason;
    };

    // Ends the connections with the recorder: a runner outlives the recorders it reports to.
    QObject context;
    QMap<int, PictureRead> reads;
    QMap<int, QPair<bool, QString>> writes;
    QList<Undone> undone;
    int lastDone = 0;
    int total = 0;
    int succeeded = -1;
    int failed = -1;
    bool cancelled = false;
    bool finished = false;
    bool onOwnThread = true;
    // Called on each written picture, e.g. to cancel half way.
    std::function<void(int index)> onWritten;

    explicit BatchRecorder(BatchRunner& runner) {
        QThread* own = QThread::currentThread();
        auto check = [this, own] { onOwnThread = onOwnThread && QThread::currentThread() == own; };
        QObject::connect(&runner, &BatchRunner::pictureRead, &context,
                         [this, check](int index, const PictureRead& read) {
                             check();
                             reads.insert(index, read);
                         });
        QObject::connect(&runner, &BatchRunner::pictureWritten, &context,
                         [this, check](int index, bool ok, const QString& reason) {
                             check();
                             writes.insert(index, {ok, reason});
                             if (onWritten)
                                 onWritten(index);
                         });
        QObject::connect(&runner, &BatchRunner::pictureUndone, &context,
                         [this, check](const QByteArray& path, bool ok, const QString& reason) {
                             check();
                             undone.append({path, ok, reason});
                         });
        QObject::connect(&runner, &BatchRunner::progress, &context, [this](int done, int all) {
            lastDone = done;
            total = all;
        });
        QObject::connect(&runner, &BatchRunner::finished, &context,
                         [this](int ok, int bad, bool wasCancelled) {
                             succeeded = ok;
                             failed = bad;
                             cancelled = wasCancelled;
                             finished = true;
                         });
    }

    // Runs the event loop until the operation has finished.
    bool Wait(int seconds = 120) {
        QDeadlineTimer deadline(seconds * 1000);
        while (!finished && !deadline.hasExpired())
            QTest::qWait(10);
        return finished;
    }

    const Undone* UndoneOf(const QByteArray& path) const {
        for (const Undone& entry : undone)
            if (entry.path == path)
                return &entry;
        return nullptr;
    }
};
