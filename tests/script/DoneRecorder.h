#pragma once

#include "base/Messages.h"
#include "script/ScriptRunner.h"

#include <QByteArray>
#include <QFile>
#include <QObject>
#include <QStringList>
#include <QThread>
#include <functional>
#include <vector>

// Stands in for the main window: keeps what each UWM_COMMAND_DONE showed while it
// was being handled.
class DoneRecorder : public QObject {
public:
    struct Report {
        int scriptId = 0;
        ScriptRunner* runner = nullptr;
        QStringList lines;
        bool nullPastEnd = false;
        bool onOwnThread = false;
        QByteArray tempFile;
        bool tempFileExists = false;
        QByteArray tempFileContent;
        int exitStatus = 0;
        QByteArray errorLine;
        QByteArray output;
    };

    std::vector<Report> reports;
    // Called at the end of handling each report.
    std::function<void(const Report&)> onReport;

    bool event(QEvent* e) override {
        if (e->type() != UWM_COMMAND_DONE)
            return QObject::event(e);
        auto* done = static_cast<CommandDoneEvent*>(e);
        Report report;
        report.scriptId = done->scriptId();
        report.runner = done->runner();
        ScriptRunner* runner = done->runner();
        for (unsigned i = 0; i < runner->GetLineCount(); ++i)
            report.lines << QString::fromUtf8(runner->GetLine(i));
        report.nullPastEnd = runner->GetLine(runner->GetLineCount()) == nullptr;
        report.onOwnThread = QThread::currentThread() == thread();
        report.tempFile = runner->GetTempFile();
        if (!report.tempFile.isEmpty()) {
            QFile temp(QString::fromLocal8Bit(report.tempFile));
            report.tempFileExists = temp.exists();
            if (temp.open(QIODevice::ReadOnly))
                report.tempFileContent = temp.readAll();
        }
        report.exitStatus = runner->GetExitStatus();
        report.errorLine = runner->GetErrorLine();
        report.output = QByteArray::fromStdString(runner->GetOutput());
        reports.push_back(report);
        if (onReport)
            onReport(reports.back());
        return true;
    }
};
