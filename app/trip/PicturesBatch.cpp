#include "app/trip/PicturesBatch.h"

#include "app/ControlPanel.h"
#include "app/trip/PicturesWindow.h"
#include "app/trip/UndoReport.h"
#include "formats/PictureFormats.h"
#include "pictures/PictureList.h"

#include <QEvent>

namespace {

QString NameOf(const QByteArray& path) {
    return PictureList::ReadableName(path.mid(path.lastIndexOf('/') + 1));
}

void Inform(const QString& text) {
    SetInfoText(text.toUtf8().constData());
}

} // namespace

PicturesBatch::PicturesBatch(PicturesWindow* window) : QObject(window), m_window(window) {
    connect(&m_runner, &BatchRunner::pictureRead, this, &PicturesBatch::OnRead);
    connect(&m_runner, &BatchRunner::pictureWritten, this, &PicturesBatch::OnWritten);
    connect(&m_runner, &BatchRunner::pictureUndone, this, &PicturesBatch::OnUndone);
    connect(&m_runner, &BatchRunner::progress, this,
            [this](int done, int total) { m_window->ShowProgress(m_what, done, total); });
    connect(&m_runner, &BatchRunner::finished, this, &PicturesBatch::OnFinished);
    // Shown, the window will read; with new positions waiting, it will write. Perl and
    // ExifTool are loaded for it meanwhile.
    window->installEventFilter(this);
    m_prepareTimer.setSingleShot(true);
    m_prepareTimer.setInterval(300);
    connect(&m_prepareTimer, &QTimer::timeout, this, &PicturesBatch::PrepareNext);
    connect(window->Model(), &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& first) {
                if (first.column() >= PictureList::NewPosition && !m_prepareTimer.isActive())
                    m_prepareTimer.start();
            });
}

bool PicturesBatch::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_window && event->type() == QEvent::Show) {
        m_prepareTimer.start();
    } else if (watched == m_window && event->type() == QEvent::Hide) {
        m_prepareTimer.stop();
        m_runner.DropPrepared(); // closed: Perl's memory goes back
    }
    return QObject::eventFilter(watched, event);
}

void PicturesBatch::PrepareNext() {
    if (m_operation != Operation::None || !m_window->isVisible())
        return;
    m_runner.Prepare(m_window->Model()->WaitingRows().isEmpty() ? BatchRunner::Next::Read
                                                                : BatchRunner::Next::Write);
}

void PicturesBatch::Read(const QList<QByteArray>& paths) {
    m_pendingReads << paths;
    StartNextRead();
}

void PicturesBatch::StartNextRead() {
    if (m_operation != Operation::None || m_pendingReads.isEmpty())
        return;
    m_current = m_pendingReads;
    if (!m_runner.Read(m_current))
        return;
    m_pendingReads.clear();
    Begin(Operation::Read, tr("Reading"), static_cast<int>(m_current.size()));
}

void PicturesBatch::Write() {
    PictureList* list = m_window->Model();
    const QList<int> rows = list->WaitingRows();
    if (rows.isEmpty() || m_operation != Operation::None)
        return;
    QList<PictureWrite> writes;
    QList<QByteArray> paths;
    const PictureFormats::WriteSetting where = PictureFormats::ReadWriteSetting();
    for (int row : rows) {
        const auto place = list->NewPositionOf(row);
        PictureWrite write;
        write.path = list->Path(row);
        write.latitude = place->latitude;
        write.longitude = place->longitude;
        write.altitude = place->altitude;
        write.utcTime = place->utcTime;
        if (PictureFormats::WritesSidecar(write.path, where))
            write.sidecar = PictureFormats::SidecarPath(write.path, where.name);
        writes << write;
        paths << write.path;
    }
    if (!m_runner.Write(writes)) {
        m_window->SetStatus(tr("The pictures are busy; write again when they are done."));
        return;
    }
    m_current = paths;
    Begin(Operation::Write, tr("Writing"), static_cast<int>(writes.size()));
}

void PicturesBatch::WriteNames(bool overwrite) {
    PictureList* list = m_window->Model();
    const QList<int> rows = list->NamedRows();
    if (rows.isEmpty() || m_operation != Operation::None)
        return;
    QList<NamesWrite> writes;
    QList<QByteArray> paths;
    const PictureFormats::WriteSetting where = PictureFormats::ReadWriteSetting();
    for (int row : rows) {
        const auto names = list->ProposedNamesOf(row);
        NamesWrite write;
        write.path = list->Path(row);
        write.city = names->city;
        write.state = names->state;
        write.country = names->country;
        write.countryCode = names->countryCode;
        write.overwrite = overwrite;
        // Where positions go into sidecars, so do the names.
        if (PictureFormats::WritesSidecar(write.path, where))
            write.sidecar = PictureFormats::SidecarPath(write.path, where.name);
        writes << write;
        paths << write.path;
    }
    if (!m_runner.WriteNames(writes)) {
        m_window->SetStatus(tr("The pictures are busy; write again when they are done."));
        return;
    }
    m_current = paths;
    Begin(Operation::Names, tr("Writing place names"), static_cast<int>(writes.size()));
}

void PicturesBatch::UndoLast() {
    if (m_operation != Operation::None || m_runner.IsBusy()) {
        Inform(tr("Undo must wait until the pictures in hand are done"));
        return;
    }
    if (!m_runner.CanUndo() || !m_runner.UndoLast()) {
        Inform(tr("There is no write to undo"));
        return;
    }
    m_current.clear();
    Begin(Operation::Undo, tr("Undoing"), 0);
}

void PicturesBatch::Cancel() {
    if (m_operation == Operation::None)
        return;
    m_cancelling = true;
    // Reads still to come would only start again.
    if (m_operation == Operation::Read)
        m_pendingReads.clear();
    m_runner.Cancel();
}

void PicturesBatch::Begin(Operation operation, const QString& what, int total) {
    m_operation = operation;
    m_what = what;
    m_failed = 0;
    m_notDone = 0;
    m_notUndone.clear();
    m_cancelling = false;
    m_window->SetBusy(true);
    m_window->ShowProgress(what, 0, total);
}

void PicturesBatch::OnRead(int index, const PictureRead& result) {
    if (index < 0 || index >= m_current.size())
        return;
    // The row is found by its file: rows may have been removed or sorted meanwhile.
    const int row = m_window->Model()->RowOf(m_current[index]);
    if (row >= 0)
        m_window->Model()->SetInfo(row, result);
}

void PicturesBatch::OnWritten(int index, bool ok, const QString& reason) {
    if (index < 0 || index >= m_current.size())
        return;
    PictureList* list = m_window->Model();
    const int row = list->RowOf(m_current[index]);
    if (ok) {
        m_changed << m_current[index];
        if (row >= 0 && m_operation == Operation::Names)
            list->ClearProposedNames(row); // read again: the names it holds now show
        else if (row >= 0)
            list->MarkWritten(row);
        return;
    }
    if (m_cancelling) {
        // Not begun when Cancel came: still waiting, and the picture as it was.
        ++m_notDone;
        if (row >= 0)
            list->MarkNotWritten(row, reason);
        return;
    }
    ++m_failed;
    if (row >= 0)
        list->MarkFailed(row, reason);
}

void PicturesBatch::OnUndone(const QByteArray& path, bool ok, const QString& reason) {
    PictureList* list = m_window->Model();
    const int row = list->RowOf(path);
    if (ok) {
        m_changed << path;
        if (row >= 0)
            list->MarkNotWritten(row, QString());
        return;
    }
    m_notUndone << tr("%1: %2").arg(NameOf(path), reason);
    if (row >= 0)
        list->MarkFailed(row, tr("not undone: %1").arg(reason));
}

void PicturesBatch::OnFinished(int succeeded, int, bool cancelled) {
    const Operation operation = m_operation;
    m_operation = Operation::None;
    m_window->HideProgress();
    m_window->SetBusy(false);
    if (operation == Operation::Write)
        ReportWrite(cancelled);
    else if (operation == Operation::Names)
        ReportNames(cancelled);
    else if (operation == Operation::Undo)
        ReportUndo();
    else if (operation == Operation::Read && cancelled)
        m_window->SetStatus(
            tr("Reading stopped after %1.").arg(PictureList::PictureCount(succeeded)));
    // What was written or put back is read again, so "position now" is true.
    if (!m_changed.isEmpty()) {
        m_pendingReads = m_changed + m_pendingReads;
        m_changed.clear();
    }
    emit finished();
    StartNextRead();
    PrepareNext();
}

void PicturesBatch::ReportWrite(bool cancelled) {
    const int written = static_cast<int>(m_changed.size());
    QString text = tr("GPS information recorded in %1").arg(PictureList::PictureCount(written));
    text += QStringLiteral("\r\n") + tr("%1 failed").arg(m_failed);
    if (cancelled)
        text += QStringLiteral("\r\n") + tr("Cancelled: %1 not written").arg(m_notDone);
    Inform(text);
    m_window->SetStatus(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("; ")));
}

void PicturesBatch::ReportNames(bool cancelled) {
    QString text = tr("Place names recorded in %1")
                       .arg(PictureList::PictureCount(static_cast<int>(m_changed.size())));
    text += QStringLiteral("; ") + tr("%1 failed").arg(m_failed);
    if (cancelled)
        text += QStringLiteral("; ") + tr("Cancelled: %1 not written").arg(m_notDone);
    m_window->SetStatus(text);
    emit namesWritten(text);
}

void PicturesBatch::ReportUndo() {
    QString text = tr("GPS information put back in %1")
                       .arg(PictureList::PictureCount(static_cast<int>(m_changed.size())));
    if (!m_notUndone.isEmpty())
        text += QStringLiteral("\r\n") + tr("Not undone:") + QStringLiteral("\r\n") +
                m_notUndone.join(QStringLiteral("\r\n"));
    Inform(text);
    m_window->SetStatus(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("; ")));
    ShowUndoReport(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}
