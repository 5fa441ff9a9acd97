#include "DoneRecorder.h"

#include "base/Resource.h"
#include "script/ScriptRunner.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>
#include <cerrno>
#include <memory>
#include <mutex>
#include <sys/wait.h>
#include <thread>

namespace {

std::vector<std::string> Shell(const QByteArray& script) {
    return {"/bin/sh", "-c", script.toStdString()};
}

int OpenDescriptors() {
    return QDir("/proc/self/fd").entryList(QDir::Files | QDir::System).size();
}

// Waits, handling events, until the runner has nothing left to do.
bool WaitIdle(const ScriptRunner& runner, int timeoutMs = 10000) {
    return QTest::qWaitFor([&] { return !runner.IsBusy(); }, timeoutMs);
}

QByteArray MakeFile(const QTemporaryDir& dir, const char* name,
                    const QByteArray& content = "script") {
    QFile file(dir.filePath(name));
    file.open(QIODevice::WriteOnly);
    file.write(content);
    return QFile::encodeName(file.fileName());
}

// Either road to a child's end can be chosen.
class TestRunner : public ScriptRunner {
public:
    using ProcessRunner::SetUsePidFd;
};

// A runner without reports, to stop by hand.
class BareRunner : public ProcessRunner {
public:
    ~BareRunner() override { Stop(); }
    using ProcessRunner::SetUsePidFd;
    using ProcessRunner::Stop;
};

// Keeps what the child writes, for runs given an input.
class InputRunner : public ProcessRunner {
public:
    InputRunner() { SetInput(true); }
    ~InputRunner() override { Stop(); }
    QByteArray Output() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_output;
    }

protected:
    void OnOutput(const char* text, size_t length) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_output.append(text, static_cast<qsizetype>(length));
    }

private:
    std::mutex m_mutex;
    QByteArray m_output;
};

// The child's number, once the script has written it into file.
pid_t ReadPid(const QString& file) {
    QByteArray text;
    const bool written = QTest::qWaitFor(
        [&] {
            QFile pid(file);
            text = pid.open(QIODevice::ReadOnly) ? pid.readAll().trimmed() : QByteArray();
            return !text.isEmpty();
        },
        10000);
    return written ? static_cast<pid_t>(text.toInt()) : 0;
}

bool Reaped(pid_t pid) {
    return pid > 0 && waitpid(pid, nullptr, WNOHANG) == -1 && errno == ECHILD;
}

} // namespace

class ScriptRunnerTest : public QObject {
    Q_OBJECT

private slots:
    void output_data();
    void output();
    void outputAsPrinted();
    void writeFailureIsReported();
    void startFailure_data();
    void startFailure();
    void runsWaitTheirTurn();
    void descriptorsAreReleased();
    void destructionDuringLongRun();
    void destructionWithReportPending();
    void closingCarriesOutWrites_data();
    void closingCarriesOutWrites();
    void timeLimit_data();
    void timeLimit();
    void childrenAreReaped_data();
    void childrenAreReaped();
    void input_data();
    void input();
};

void ScriptRunnerTest::output_data() {
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<int>("reports");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QByteArray>("errorLine");

    QStringList forty;
    for (int i = 1; i <= 40; ++i)
        forty << QString("line %1 ").arg(i, 2, 10, QChar('0')) + QString(60, QChar('x'));
    QStringList firstForty;
    for (int i = 1; i <= 40; ++i)
        firstForty << QString::number(i);

    QTest::newRow("nothing") << QByteArray("exit 0") << 0 << QStringList() << QByteArray();
    QTest::newRow("standard error only")
        << QByteArray("echo oops >&2; exit 0") << 0 << QStringList() << QByteArray();
    QTest::newRow("CR LF only") << QByteArray("printf '\\r\\n'") << 1 << QStringList()
                                << QByteArray();
    QTest::newRow("empty line between") << QByteArray("printf 'a\\r\\n\\r\\nb\\r\\n'") << 1
                                        << QStringList{"a", "b"} << QByteArray();
    QTest::newRow("lone separators")
        << QByteArray("printf '\\n\\ra\\rb\\n\\n'") << 1 << QStringList{"a", "b"} << QByteArray();
    QTest::newRow("45 lines keep 40")
        << QByteArray("i=1; while [ $i -le 45 ]; do echo $i; i=$((i+1)); done") << 1 << firstForty
        << QByteArray();
    QTest::newRow("pipe filled before the end")
        << QByteArray("seq 1 20000; exit 0") << 1 << firstForty << QByteArray();
    // The pipe ends only when everyone holding it has finished.
    QTest::newRow("written after the child ended")
        << QByteArray("(sleep 0.3; echo late) & echo early") << 1 << QStringList{"early", "late"}
        << QByteArray();
    // One pipe ends long before the other; the run lasts until both have.
    QTest::newRow("standard error closed early")
        << QByteArray("exec 2>&-; (sleep 0.3; echo late) & echo early") << 1
        << QStringList{"early", "late"} << QByteArray();
    QTest::newRow("long line cut to 79") << QByteArray("printf '%0100d\\n' 0") << 1
                                         << QStringList{QString(79, QChar('0'))} << QByteArray();
    QTest::newRow("cut keeps characters whole")
        << QByteArray("printf '%078d\\303\\251\\n' 0") << 1 << QStringList{QString(78, QChar('0'))}
        << QByteArray();
    // Several kilobytes written in pieces, with pauses, arrive as one report.
    QByteArray pieces;
    for (const QString& line : forty)
        pieces += "echo '" + line.toUtf8() + "'; sleep 0.01; ";
    QTest::newRow("kilobytes in pieces") << pieces << 1 << forty << QByteArray();
    QTest::newRow("long error line kept whole") << QByteArray("printf '%0300d\\n' 0 >&2; echo out")
                                                << 1 << QStringList{"out"} << QByteArray(300, '0');
    QTest::newRow("error line cut between characters")
        << QByteArray("printf '%01022d\\303\\251 more\\n' 0 >&2; echo out") << 1
        << QStringList{"out"} << QByteArray(1022, '0');
    QTest::newRow("error text is not stored")
        << QByteArray("echo out; echo; echo 'first problem' >&2; echo second >&2; echo out2") << 1
        << QStringList{"out", "out2"} << QByteArray("first problem");
}

void ScriptRunnerTest::output() {
    QFETCH(QByteArray, script);
    QFETCH(int, reports);
    QFETCH(QStringList, lines);
    QFETCH(QByteArray, errorLine);

    DoneRecorder recorder;
    ScriptRunner runner;
    runner.SetNotifyWindow(&recorder);
    QCOMPARE(runner.Run(Shell(script), "sh", IDR_READ_GPS), 0);
    QVERIFY(WaitIdle(runner));
    // Nothing more arrives late.
    QTest::qWait(50);

    QCOMPARE(int(recorder.reports.size()), reports);
    if (reports == 0)
        return;
    const DoneRecorder::Report& report = recorder.reports.front();
    QCOMPARE(report.scriptId, IDR_READ_GPS);
    QCOMPARE(report.runner, &runner);
    QVERIFY(report.onOwnThread);
    QCOMPARE(report.lines, lines);
    QVERIFY(report.nullPastEnd);
    QCOMPARE(report.errorLine, errorLine);
    QCOMPARE(report.exitStatus, 0);
}

void ScriptRunnerTest::outputAsPrinted() {
    DoneRecorder recorder;
    ScriptRunner runner;
    runner.SetNotifyWindow(&recorder);
    runner.Run(Shell("printf 'a\\r\\n\\r\\nb\\r\\n'"), "sh", IDR_READ_GPS);
    QVERIFY(WaitIdle(runner));
    QCOMPARE(int(recorder.reports.size()), 1);
    // Empty lines are kept here, so printed line numbers can be counted.
    QCOMPARE(recorder.reports.front().output, QByteArray("a\r\n\r\nb\r\n"));
    // The store knows which printed line each of its lines was.
    QCOMPARE(QByteArray(runner.GetPrintedLine(0)), QByteArray("a"));
    QCOMPARE(runner.GetPrintedLine(1), nullptr);
    QCOMPARE(QByteArray(runner.GetPrintedLine(2)), QByteArray("b"));
    QCOMPARE(runner.GetPrintedLine(3), nullptr);

    // CR LF ends one line; a lone CR or LF ends one too.
    runner.Run(Shell("printf '\\n\\ra\\rb\\n\\nc'"), "sh", IDR_READ_GPS);
    QVERIFY(WaitIdle(runner));
    QCOMPARE(runner.GetLineCount(), 3u);
    QCOMPARE(runner.GetPrintedLine(0), nullptr);
    QCOMPARE(runner.GetPrintedLine(1), nullptr);
    QCOMPARE(QByteArray(runner.GetPrintedLine(2)), QByteArray("a"));
    QCOMPARE(QByteArray(runner.GetPrintedLine(3)), QByteArray("b"));
    QCOMPARE(QByteArray(runner.GetPrintedLine(5)), QByteArray("c"));
}

void ScriptRunnerTest::writeFailureIsReported() {
    DoneRecorder recorder;
    ScriptRunner runner;
    runner.SetNotifyWindow(&recorder);
    const QByteArray script = "printf '\\n  \\r\\nCannot write x.jpg: denied\\n' >&2; exit 3";

    // A failing read is reported, so the window does not keep an old report...
    runner.Run(Shell(script), "sh", IDR_READ_GPS);
    QVERIFY(WaitIdle(runner));
    QCOMPARE(int(recorder.reports.size()), 1);
    QCOMPARE(recorder.reports.front().exitStatus, 3);
    QCOMPARE(recorder.reports.front().errorLine, QByteArray("Cannot write x.jpg: denied"));
    recorder.reports.clear();

    // ...and so is a failing write, with how it ended and why.
    runner.Run(Shell(script), "sh", IDR_WRITE_GPS);
    QVERIFY(WaitIdle(runner));
    QCOMPARE(int(recorder.reports.size()), 1);
    const DoneRecorder::Report& report = recorder.reports.front();
    QCOMPARE(report.scriptId, IDR_WRITE_GPS);
    QCOMPARE(report.lines, QStringList());
    QCOMPARE(report.exitStatus, 3);
    QCOMPARE(report.errorLine, QByteArray("Cannot write x.jpg: denied"));
    QVERIFY(runner.Failed());

    // A write killed by a signal is a failure too.
    runner.Run(Shell("kill -9 $$"), "sh", IDR_WRITE_GPS);
    QVERIFY(WaitIdle(runner));
    QCOMPARE(int(recorder.reports.size()), 2);
    QCOMPARE(recorder.reports.back().exitStatus, int(ScriptRunner::EXIT_SIGNALLED));
    QCOMPARE(recorder.reports.back().errorLine, QByteArray("sh was killed by signal 9 (Killed)"));

    // A successful write says so.
    runner.Run(Shell("echo done"), "sh", IDR_WRITE_GPS);
    QVERIFY(WaitIdle(runner));
    QCOMPARE(int(recorder.reports.size()), 3);
    QCOMPARE(recorder.reports.back().exitStatus, 0);
    QCOMPARE(recorder.reports.back().errorLine, QByteArray());
}

void ScriptRunnerTest::startFailure_data() {
    QTest::addColumn<QByteArray>("program");
    QTest::addColumn<QByteArray>("commandLine");
    QTest::addColumn<QString>("line");

    QTest::newRow("missing path") << QByteArray("/nonexistent/kartavo-perl")
                                  << QByteArray("perl \"/tmp/K1.tmp\" \"a.jpg\" ")
                                  << QString(
                                         "# Unable to start !!(perl \"/tmp/K1.tmp\" \"a.jpg\" )");
    QTest::newRow("not in PATH") << QByteArray("kartavo-no-such-program")
                                 << QByteArray("kartavo-no-such-program x")
                                 << QString("# Unable to start !!(kartavo-no-such-program x)");
    const QByteArray longLine = "perl \"" + QByteArray(400, 'p') + "\"";
    const QString prefix = "# Unable to start !!(perl \"";
    QTest::newRow("long command line") << QByteArray("/nonexistent/perl") << longLine
                                       << prefix + QString(79 - prefix.size(), QChar('p'));
    QTest::newRow("line break in the command line")
        << QByteArray("/nonexistent/perl") << QByteArray("perl \"a\nb.jpg\"")
        << QString("# Unable to start !!(perl \"a b.jpg\")");
}

void ScriptRunnerTest::startFailure() {
    QFETCH(QByteArray, program);
    QFETCH(QByteArray, commandLine);
    QFETCH(QString, line);

    QTemporaryDir dir;
    DoneRecorder recorder;
    ScriptRunner runner;
    runner.SetNotifyWindow(&recorder);
    const QByteArray tempFile = MakeFile(dir, "K1.tmp");
    runner.SetTempFile(tempFile.constData());

    const int result = runner.Run({program.toStdString(), "x"}, commandLine.constData(), 114);

    // Reported before Run returned, without any event handling.
    QCOMPARE(result, ENOENT);
    QCOMPARE(int(recorder.reports.size()), 1);
    const DoneRecorder::Report& report = recorder.reports.front();
    QCOMPARE(report.scriptId, 114);
    QCOMPARE(report.lines, QStringList{line});
    QCOMPARE(report.exitStatus, int(ScriptRunner::EXIT_UNKNOWN));
    QCOMPARE(report.errorLine, program + ": No such file or directory");
    QCOMPARE(report.tempFile, tempFile);
    QVERIFY(report.tempFileExists);
    QVERIFY(!QFile::exists(QString::fromLocal8Bit(tempFile)));
    QVERIFY(!runner.IsBusy());
}

void ScriptRunnerTest::runsWaitTheirTurn() {
    QTemporaryDir dir;
    const QByteArray flag = QFile::encodeName(dir.filePath("first-reported"));
    DoneRecorder recorder;
    ScriptRunner runner;
    runner.SetNotifyWindow(&recorder);
    recorder.onReport = [&](const DoneRecorder::Report& report) {
        if (report.lines.value(0) == "first") {
            QFile(QString::fromLocal8Bit(flag)).open(QIODevice::WriteOnly);
            // A launch made while a report is handled waits as well.
            runner.SetTempFile(MakeFile(dir, "K4.tmp").constData());
            runner.Run(Shell("echo fourth"), "sh", IDR_READ_GPS);
        }
    };

    const QByteArray files[] = {MakeFile(dir, "K1.tmp"), MakeFile(dir, "K2.tmp"),
                                MakeFile(dir, "K3.tmp")};
    runner.SetTempFile(files[0].constData());
    QCOMPARE(runner.Run(Shell("sleep 0.3; echo first"), "sh", IDR_READ_GPS), 0);
    runner.SetTempFile(files[1].constData());
    // Started only once the first run has been reported.
    QCOMPARE(runner.Run(Shell("test -e '" + flag + "' && echo second-after || echo too-early"),
                        "sh", IDR_WRITE_GPS),
             0);
    runner.SetTempFile(files[2].constData());
    QCOMPARE(runner.Run({"/nonexistent/perl"}, "third", IDR_READ_GPS), 0);
    QVERIFY(recorder.reports.empty());
    QCOMPARE(runner.GetTempFile(), files[2].constData());

    QVERIFY(WaitIdle(runner));
    QCOMPARE(int(recorder.reports.size()), 4);
    const QStringList expected[] = {
        {"first"}, {"second-after"}, {"# Unable to start !!(third)"}, {"fourth"}};
    const int ids[] = {IDR_READ_GPS, IDR_WRITE_GPS, IDR_READ_GPS, IDR_READ_GPS};
    for (int i = 0; i < 4; ++i) {
        const DoneRecorder::Report& report = recorder.reports[i];
        QCOMPARE(report.lines, expected[i]);
        QCOMPARE(report.scriptId, ids[i]);
        // Each report names its own run's file, which is there until the report is done.
        QVERIFY(report.tempFileExists);
        QVERIFY(!QFile::exists(QString::fromLocal8Bit(report.tempFile)));
    }
    for (int i = 0; i < 3; ++i)
        QCOMPARE(recorder.reports[i].tempFile, files[i]);
    QVERIFY(recorder.reports[3].tempFile.endsWith("K4.tmp"));
}

void ScriptRunnerTest::descriptorsAreReleased() {
    DoneRecorder recorder;
    ScriptRunner runner;
    runner.SetNotifyWindow(&recorder);
    runner.Run(Shell("echo warm-up"), "sh", IDR_READ_GPS);
    QVERIFY(WaitIdle(runner));

    const int before = OpenDescriptors();
    for (int i = 0; i < 5; ++i) {
        runner.Run(Shell("echo out; echo err >&2"), "sh", IDR_READ_GPS);
        runner.Run({"/nonexistent/perl"}, "x", IDR_READ_GPS);
    }
    QVERIFY(WaitIdle(runner));
    QCOMPARE(int(recorder.reports.size()), 11);
    // The last run's workers may still be finishing.
    QTRY_COMPARE(OpenDescriptors(), before);
}

void ScriptRunnerTest::destructionDuringLongRun() {
    QTemporaryDir dir;
    DoneRecorder recorder;
    const QByteArray queued = MakeFile(dir, "K2.tmp");
    QElapsedTimer timer;
    {
        auto runner = std::make_unique<ScriptRunner>();
        runner->SetNotifyWindow(&recorder);
        QCOMPARE(runner->Run(Shell("echo partial; sleep 30"), "sh", IDR_READ_GPS), 0);
        runner->SetTempFile(queued.constData());
        runner->Run(Shell("echo never"), "sh", IDR_READ_GPS);
        QTest::qWait(100);
        timer.start();
        runner.reset();
    }
    // Not a timing test: it must just not wait for the child.
    QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
    QTest::qWait(50);
    QVERIFY(recorder.reports.empty());
    // A launch that never ran leaves no file behind.
    QVERIFY(!QFile::exists(QString::fromLocal8Bit(queued)));
}

void ScriptRunnerTest::destructionWithReportPending() {
    DoneRecorder recorder;
    auto runner = std::make_unique<ScriptRunner>();
    runner->SetNotifyWindow(&recorder);
    runner->Run(Shell("echo hello"), "sh", IDR_READ_GPS);
    // Let the run end and its report be posted, without handling any event.
    QElapsedTimer timer;
    timer.start();
    while (runner->IsRunning() && timer.elapsed() < 10000)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    QVERIFY(!runner->IsRunning());
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    runner.reset();
    QTest::qWait(50);
    QVERIFY(recorder.reports.empty());
}

void ScriptRunnerTest::closingCarriesOutWrites_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<int>("beforeId");
    // Nothing runs before the write: it is the started run.
    QTest::newRow("started write") << QByteArray() << 0;
    QTest::newRow("queued behind a read") << QByteArray("echo reading; sleep 30") << IDR_READ_GPS;
    QTest::newRow("queued behind a write") << QByteArray("sleep 0.2; echo first") << IDR_WRITE_GPS;
}

void ScriptRunnerTest::closingCarriesOutWrites() {
    QFETCH(QByteArray, before);
    QFETCH(int, beforeId);

    QTemporaryDir dir;
    const QString target = dir.filePath("picture");
    // Takes a moment before its effect, as a write to a slow disk does.
    const QByteArray script = MakeFile(dir, "K2.tmp",
                                       "select(undef, undef, undef, 0.3);\n"
                                       "open(my $f, '>', $ARGV[0]) or die \"$ARGV[0]: $!\";\n"
                                       "print $f \"written\\n\";\n"
                                       "close($f) or die \"$ARGV[0]: $!\";\n"
                                       "print \"$ARGV[0]\\n\";\n");
    DoneRecorder recorder;
    QElapsedTimer timer;
    {
        auto runner = std::make_unique<ScriptRunner>();
        runner->SetNotifyWindow(&recorder);
        if (!before.isEmpty()) {
            runner->SetTempFile(MakeFile(dir, "K1.tmp").constData());
            runner->Run(Shell(before), "sh", beforeId);
        }
        runner->SetTempFile(script.constData());
        runner->Run({"perl", script.toStdString(), QFile::encodeName(target).toStdString()}, "perl",
                    IDR_WRITE_GPS);
        // A read asked for after the write is not wanted any more.
        runner->SetTempFile(MakeFile(dir, "K3.tmp").constData());
        runner->Run(Shell("echo late read"), "sh", IDR_READ_GPS);
        timer.start();
        runner.reset();
    }
    // The write was carried out before the runner went, and a read was not awaited.
    QVERIFY2(timer.elapsed() < 10000, qPrintable(QString::number(timer.elapsed())));
    QFile written(target);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), QByteArray("written\n"));

    QStringList reported;
    for (const DoneRecorder::Report& report : recorder.reports) {
        QVERIFY(report.scriptId != IDR_READ_GPS);
        QCOMPARE(report.exitStatus, 0);
        reported << report.lines;
    }
    QVERIFY(!reported.isEmpty());
    QCOMPARE(reported.last(), target);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"picture"});
}

void ScriptRunnerTest::timeLimit_data() {
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<bool>("pidFd");
    for (bool pidFd : {true, false}) {
        const char* road = pidFd ? "pidfd" : "waitpid";
        QTest::addRow("child takes too long, %s", road)
            << QByteArray("echo started; sleep 30") << pidFd;
        // The child is done, but what it started holds the pipes.
        QTest::addRow("descendant holds the pipes, %s", road)
            << QByteArray("(sleep 30) & echo started") << pidFd;
    }
}

void ScriptRunnerTest::timeLimit() {
    QFETCH(QByteArray, script);
    QFETCH(bool, pidFd);

    DoneRecorder recorder;
    TestRunner runner;
    runner.SetUsePidFd(pidFd);
    runner.SetNotifyWindow(&recorder);
    runner.SetTimeLimit(std::chrono::milliseconds(300));
    QElapsedTimer timer;
    timer.start();
    runner.Run(Shell(script), "sh", IDR_READ_GPS);
    runner.Run(Shell("echo next"), "sh", IDR_READ_GPS);
    QVERIFY(WaitIdle(runner));
    QVERIFY2(timer.elapsed() < 10000, qPrintable(QString::number(timer.elapsed())));

    QCOMPARE(int(recorder.reports.size()), 2);
    const DoneRecorder::Report& stopped = recorder.reports.front();
    QCOMPARE(stopped.lines, QStringList{"started"});
    QCOMPARE(stopped.exitStatus, int(ScriptRunner::EXIT_SIGNALLED));
    QCOMPARE(stopped.errorLine, QByteArray("sh was stopped after 0.3 s"));
    // The next run starts as usual.
    QCOMPARE(recorder.reports.back().lines, QStringList{"next"});
    QCOMPARE(recorder.reports.back().exitStatus, 0);
}

void ScriptRunnerTest::childrenAreReaped_data() {
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QString>("end");
    QTest::addColumn<bool>("pidFd");
    // Closing its pipes early leaves only the child's own end to wait for.
    const QByteArray lingers = "exec >/dev/null 2>&1; sleep 30";
    for (bool pidFd : {true, false}) {
        const char* road = pidFd ? "pidfd" : "waitpid";
        QTest::addRow("run, %s", road) << QByteArray("echo out") << "run" << pidFd;
        QTest::addRow("failed run, %s", road) << QByteArray("exit 3") << "run" << pidFd;
        QTest::addRow("teardown, %s", road) << lingers << "teardown" << pidFd;
        QTest::addRow("stop, %s", road) << lingers << "stop" << pidFd;
    }
}

void ScriptRunnerTest::childrenAreReaped() {
    QFETCH(QByteArray, script);
    QFETCH(QString, end);
    QFETCH(bool, pidFd);

    QTemporaryDir dir;
    const QString pidFile = dir.filePath("pid");
    const auto argv = Shell("echo $$ > '" + QFile::encodeName(pidFile) + "'; " + script);
    DoneRecorder recorder;
    QElapsedTimer timer;
    pid_t pid = 0;
    if (end == "stop") {
        BareRunner runner;
        runner.SetUsePidFd(pidFd);
        QCOMPARE(runner.Start(argv, "sh"), 0);
        pid = ReadPid(pidFile);
        QTest::qWait(100);
        timer.start();
        runner.Stop();
    } else {
        auto runner = std::make_unique<TestRunner>();
        runner->SetUsePidFd(pidFd);
        runner->SetNotifyWindow(&recorder);
        runner->Run(argv, "sh", IDR_READ_GPS);
        pid = ReadPid(pidFile);
        if (end == "run")
            QVERIFY(WaitIdle(*runner));
        else
            QTest::qWait(100);
        timer.start();
        runner.reset();
    }
    // Neither road may hold the caller until the child ends by itself.
    QVERIFY2(timer.elapsed() < 10000, qPrintable(QString::number(timer.elapsed())));
    QVERIFY(pid > 0);
    QVERIFY(Reaped(pid));
}

void ScriptRunnerTest::input_data() {
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<bool>("taken");
    // More than a socket holds at once, with zero bytes in it.
    QTest::newRow("read to its end") << QByteArray("cat") << true;
    // A child that will not read: an error, not SIGPIPE ending this process.
    QTest::newRow("input closed") << QByteArray("exec 0<&-; sleep 2") << false;
}

void ScriptRunnerTest::input() {
    QFETCH(QByteArray, script);
    QFETCH(bool, taken);
    std::string input;
    for (int i = 0; i < 600000; ++i)
        input += static_cast<char>(i % 251);
    InputRunner runner;
    QCOMPARE(runner.Start(Shell(script), "input", 0), 0);
    QCOMPARE(runner.SendInput(input), taken);
    QVERIFY(QTest::qWaitFor([&] { return !runner.IsRunning(); }, 10000));
    if (taken)
        QCOMPARE(runner.Output(), QByteArray::fromStdString(input));
    QVERIFY(!runner.SendInput(input)); // given once
}

QTEST_GUILESS_MAIN(ScriptRunnerTest)
#include "ScriptRunnerTest.moc"
