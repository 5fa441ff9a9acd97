#pragma once

#include "pictures/BatchRunner.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QTimer>

class PicturesWindow;

// Runs the Pictures window's reads, writes and undos through the batch engine, one at a
// time, and puts what comes back into the list.
class PicturesBatch : public QObject {
    Q_OBJECT
public:
    explicit PicturesBatch(PicturesWindow* window);

    BatchRunner& Runner() { return m_runner; }
    bool IsBusy() const { return m_runner.IsBusy(); }
    // Files are being changed (a write or an undo), not only read.
    bool IsWriting() const {
        return m_operation != Operation::None && m_operation != Operation::Read;
    }
    bool CanUndo() const { return !m_runner.IsBusy() && m_runner.CanUndo(); }

    // Reads wait for the operation in hand; the newest reads go last.
    void Read(const QList<QByteArray>& paths);
    // Writes every waiting new position.
    void Write();
    // Writes every proposed place name; names the pictures hold only with overwrite.
    void WriteNames(bool overwrite);
    void UndoLast();
    void Cancel();

signals:
    // A read, write or undo has ended and been reported.
    void finished();
    // A write of place names has ended: what it did, in a line.
    void namesWritten(const QString& summary);

private:
    enum class Operation { None, Read, Write, Undo, Names };

    bool eventFilter(QObject* watched, QEvent* event) override;
    // Has Perl and ExifTool ready for what the window is likely to do next.
    void PrepareNext();
    void StartNextRead();
    void Begin(Operation operation, const QString& what, int total);
    void OnRead(int index, const PictureRead& result);
    void OnWritten(int index, bool ok, const QString& reason);
    void OnUndone(const QByteArray& path, bool ok, const QString& reason);
    void OnFinished(int succeeded, int failed, bool cancelled);
    void ReportWrite(bool cancelled);
    void ReportNames(bool cancelled);
    void ReportUndo();

    PicturesWindow* m_window;
    BatchRunner m_runner;
    Operation m_operation = Operation::None;
    QString m_what;
    QList<QByteArray> m_current; // the paths of the operation in hand, by index
    QList<QByteArray> m_pendingReads;
    QList<QByteArray> m_changed; // written or undone: read again at the end
    int m_failed = 0;
    int m_notDone = 0;
    QStringList m_notUndone;
    bool m_cancelling = false;
    QTimer m_prepareTimer; // new positions come in bursts: one look at them after
};
