#include "script/ScriptRunner.h"

#include "base/BoundedText.h"

#include "base/Messages.h"
#include "base/Resource.h"
#include "base/Trace.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QtGlobal>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

// Posted by a run's wait worker when the run has ended.
constexpr QEvent::Type RUN_ENDED = static_cast<QEvent::Type>(QEvent::User + 0x0801);

// The lines of one script's output are few; anything past this is not kept.
constexpr size_t MAX_OUTPUT = 64 * 1024;

// How long a killed read may take to end at teardown.
constexpr std::chrono::milliseconds READ_END_GRACE{3000};
// How long past its time limit a run may take to end at teardown.
constexpr std::chrono::milliseconds LIMIT_GRACE{5000};

bool IsSeparator(char c) {
    return c == '\r' || c == '\n';
}

// Runs that only read may be dropped when the program ends; everything else is carried out.
bool OnlyReads(int scriptId) {
    return scriptId == IDR_READ_GPS;
}

const char* ProgramName(const std::vector<std::string>& argv) {
    if (argv.empty())
        return "";
    const char* slash = strrchr(argv[0].c_str(), '/');
    return slash != nullptr ? slash + 1 : argv[0].c_str();
}

} // namespace

// Lives on the runner's thread and turns a finished run into its report there.
class ScriptRunner::Relay : public QObject {
public:
    explicit Relay(ScriptRunner& runner) : m_runner(runner) {}

    bool event(QEvent* e) override {
        if (e->type() != RUN_ENDED)
            return QObject::event(e);
        m_runner.FinishRun();
        return true;
    }

private:
    ScriptRunner& m_runner;
};

ScriptRunner::ScriptRunner() : m_pRelay(std::make_unique<Relay>(*this)) {}

ScriptRunner::~ScriptRunner() {
    FinishAccepted();
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bStopping = true;
    }
    m_cvHandled.notify_all();
    // Only a run that would not end in time is still there; Stop ends it.
    Stop();
    RemoveTempFile(m_current.tempFile);
    for (const Job& job : m_queue)
        RemoveTempFile(job.tempFile);
    // The relay goes with the members, and with it a report still waiting to be handled.
}

void ScriptRunner::FinishAccepted() {
    m_bTearingDown = true;
    for (const Job& job : m_queue)
        if (OnlyReads(job.scriptId))
            RemoveTempFile(job.tempFile);
    m_queue.erase(std::remove_if(m_queue.begin(), m_queue.end(),
                                 [](const Job& job) { return OnlyReads(job.scriptId); }),
                  m_queue.end());

    while (m_bBusy) {
        std::chrono::milliseconds wait = READ_END_GRACE;
        if (OnlyReads(m_current.scriptId)) {
            KillChild();
        } else {
            const std::chrono::milliseconds limit = m_current.timeLimit;
            // A run without a limit is still not awaited for ever: the program must end.
            wait = (limit.count() > 0 ? limit : DEFAULT_TIME_LIMIT) + LIMIT_GRACE;
        }
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            if (!m_cvHandled.wait_for(lock, wait, [this] { return m_bEnded; }))
                return;
        }
        // Reports and removes this run's file, then starts the next write.
        FinishRun();
    }
}

void ScriptRunner::SetNotifyWindow(QObject* window) {
    m_pNotifyWnd = window;
}

void ScriptRunner::SetTempFile(const char* path) {
    if (path == nullptr)
        path = "";
    CopyBounded(m_szTempFile, sizeof m_szTempFile, path, strlen(path));
}

const char* ScriptRunner::GetTempFile() const {
    return m_bInReport ? m_szReportTempFile : m_szTempFile;
}

const char* ScriptRunner::GetErrorLine() const {
    return m_szErrorLine;
}

const char* ScriptRunner::GetLine(unsigned index) const {
    return index < m_nLineCount ? m_szLines[index] : nullptr;
}

int ScriptRunner::Run(const std::vector<std::string>& argv, const char* commandLine, int scriptId) {
    if (IsStopping() || m_bTearingDown) {
        // Nothing will run it.
        RemoveTempFile(m_szTempFile);
        return ECANCELED;
    }
    Job job;
    job.scriptId = scriptId;
    job.argv = argv;
    job.commandLine = commandLine != nullptr ? commandLine : "";
    job.tempFile = m_szTempFile;
    if (m_bBusy) {
        m_queue.push_back(std::move(job));
        return 0;
    }
    m_bBusy = true;
    int error = StartJob(std::move(job));
    if (error != 0)
        StartQueued();
    return error;
}

int ScriptRunner::StartJob(Job job) {
    m_current = std::move(job);
    m_strOutput.clear();
    m_szErrorCollect[0] = '\0';
    m_nErrorCollect = 0;
    m_bErrorCollected = false;

    m_current.timeLimit = GetTimeLimit();
    int error = Start(m_current.argv, m_current.commandLine.c_str(), 0);
    if (error == 0)
        return 0;
    // The start-failure line has gone through OnOutput; the reason goes beside it.
    const char* program = m_current.argv.empty() ? "" : m_current.argv[0].c_str();
    snprintf(m_szErrorCollect, sizeof m_szErrorCollect, "%s: %s", program, strerror(error));
    Trace("# Unable to start %s: %s\n", program, strerror(error));
    Report(EXIT_UNKNOWN);
    RemoveTempFile(m_current.tempFile);
    m_current.tempFile.clear();
    return error;
}

void ScriptRunner::StartQueued() {
    while (!m_queue.empty() && !IsStopping()) {
        Job job = std::move(m_queue.front());
        m_queue.pop_front();
        if (StartJob(std::move(job)) == 0)
            return;
    }
    m_bBusy = false;
}

void ScriptRunner::OnOutput(const char* text, size_t length) {
    size_t room = MAX_OUTPUT - m_strOutput.size();
    m_strOutput.append(text, length < room ? length : room);
}

void ScriptRunner::OnError(const char* text, size_t length) {
    Trace("$ STDERR:%s\n", text);
    // Keep the first non-empty line: it says why a script failed.
    for (size_t i = 0; i < length && !m_bErrorCollected; ++i) {
        if (IsSeparator(text[i])) {
            m_bErrorCollected = m_szErrorCollect[strspn(m_szErrorCollect, " \t")] != '\0';
            if (!m_bErrorCollected)
                m_nErrorCollect = 0;
        } else if (m_nErrorCollect + 1 < sizeof m_szErrorCollect && text[i] != '\0') {
            m_szErrorCollect[m_nErrorCollect++] = text[i];
        }
        m_szErrorCollect[m_nErrorCollect] = '\0';
    }
}

void ScriptRunner::OnEnd() {
    std::unique_lock<std::mutex> lock(m_mutex);
    if (m_bStopping)
        return;
    m_bEnded = true;
    m_bHandled = false;
    m_cvHandled.notify_all();
    // The event queue owns the event; it is dropped if the relay goes first.
    QCoreApplication::postEvent(m_pRelay.get(), new QEvent(RUN_ENDED));
    m_cvHandled.wait(lock, [this] { return m_bHandled || m_bStopping; });
}

void ScriptRunner::DescribeEnd() {
    // How the run was ended says more than anything it may have written before.
    const char* program = ProgramName(m_current.argv);
    if (TimedOut()) {
        const long long ms = m_current.timeLimit.count();
        if (ms % 1000 == 0)
            snprintf(m_szErrorCollect, sizeof m_szErrorCollect, "%s was stopped after %lld s",
                     program, ms / 1000);
        else
            snprintf(m_szErrorCollect, sizeof m_szErrorCollect, "%s was stopped after %.1f s",
                     program, static_cast<double>(ms) / 1000.0);
    } else if (const int signal = GetChildSignal()) {
        snprintf(m_szErrorCollect, sizeof m_szErrorCollect, "%s was killed by signal %d (%s)",
                 program, signal, strsignal(signal));
    }
}

void ScriptRunner::FinishRun() {
    {
        // The teardown may have finished this run already.
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_bEnded)
            return;
        m_bEnded = false;
    }
    // A run that printed something or failed is reported, so that a failure is seen
    // rather than an old report left standing; a write is always reported. At the end
    // of the program only what changes pictures is.
    const int status = GetChildExitStatus();
    DescribeEnd();
    const bool wanted = !m_bTearingDown || !OnlyReads(m_current.scriptId);
    if (wanted && (!m_strOutput.empty() || status != 0 || m_current.scriptId == IDR_WRITE_GPS))
        Report(status);
    if (m_bTearingDown && wanted && status != 0) {
        // The window is closed by now: a failed write must still be said somewhere.
        qWarning("Kartavo: %s failed at exit: %s", m_current.commandLine.c_str(),
                 m_szErrorCollect[0] != '\0' ? m_szErrorCollect : "no reason given");
    }
    RemoveTempFile(m_current.tempFile);
    m_current.tempFile.clear();
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bHandled = true;
    }
    m_cvHandled.notify_all();
    StartQueued();
}

void ScriptRunner::Report(int exitStatus) {
    FillLines(m_strOutput.data(), m_strOutput.size());
    m_nScriptId = m_current.scriptId;
    m_nReportStatus = exitStatus;
    m_strReportOutput = m_strOutput;
    CopyBounded(m_szErrorLine, sizeof m_szErrorLine, m_szErrorCollect, strlen(m_szErrorCollect));
    CopyBounded(m_szReportTempFile, sizeof m_szReportTempFile, m_current.tempFile.data(),
                m_current.tempFile.size());
    if (m_pNotifyWnd.isNull())
        return;
    m_bInReport = true;
    CommandDoneEvent done(m_nScriptId, this);
    QCoreApplication::sendEvent(m_pNotifyWnd.data(), &done);
    m_bInReport = false;
}

void ScriptRunner::FillLines(const char* text, size_t length) {
    m_nLineCount = 0;
    unsigned printed = 0; // the printed line that text[i] belongs to
    size_t i = 0;
    while (i < length) {
        const size_t start = i;
        while (i < length && !IsSeparator(text[i]))
            ++i;
        if (i > start && m_nLineCount < MAX_SCRIPT_LINES) {
            char* slot = m_szLines[m_nLineCount];
            CopyBounded(slot, MAX_SCRIPT_LINE, text + start, i - start);
            m_anPrintedLine[m_nLineCount] = printed;
            Trace("[%u]=%s\n", m_nLineCount, slot);
            ++m_nLineCount;
        }
        if (i < length) {
            // One line end: CR LF, or a lone CR or LF.
            if (text[i] == '\r' && i + 1 < length && text[i + 1] == '\n')
                ++i;
            ++i;
            ++printed;
        }
    }
}

const char* ScriptRunner::GetPrintedLine(unsigned number) const {
    for (unsigned index = 0; index < m_nLineCount; ++index) {
        if (m_anPrintedLine[index] == number)
            return m_szLines[index];
    }
    return nullptr;
}

void ScriptRunner::RemoveTempFile(const std::string& path) {
    if (!path.empty() && unlink(path.c_str()) == 0)
        Trace("# Removed: %s\n", path.c_str());
}
