#pragma once

#include "script/ProcessRunner.h"

#include <QPointer>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class QObject;

// Runs the GPS scripts one after another and reports each run to the notify window
// with one CommandDoneEvent (UWM_COMMAND_DONE), delivered on the thread that made
// the runner while the run's worker waits.
//
// A run is reported once, after the child has ended and both its pipes have been
// read to their end, when it wrote anything to standard output or failed (a non-zero
// exit status); a run of the write script (IDR_WRITE_GPS) is reported in any case. So
// a failure reaches the window: check Failed() and GetErrorLine(). A child that cannot be started
// is reported before Run returns, with the single line "# Unable to start !!(...)".
// A run that outlasts the time limit (ProcessRunner::SetTimeLimit) is killed and
// reported as failed, and the next one starts.
//
// While a report is handled, GetLineCount/GetLine hold the lines of the run's standard
// output, and GetTempFile, GetExitStatus and GetErrorLine describe that run. After
// the report the run's temporary script file is removed, and the next queued run
// starts. Use the runner on the thread that made it, and do not destroy it from
// inside a report.
//
// Destruction carries out what was accepted: the running run and every queued one,
// unless it only reads (IDR_READ_GPS), go on to their end and are reported, one after
// another, each within its time limit. A running read is killed and queued reads are
// dropped, without a report. Only then do the workers stop.
class ScriptRunner : public ProcessRunner {
public:
    static constexpr unsigned MAX_SCRIPT_LINES = 40;
    static constexpr unsigned MAX_SCRIPT_LINE = 80;
    static constexpr unsigned MAX_TEMP_PATH = 512;
    static constexpr unsigned MAX_ERROR_LINE = 1024;

    ScriptRunner();
    ~ScriptRunner() override;

    void SetNotifyWindow(QObject* window);

    // Runs argv for script scriptId with the file of the latest SetTempFile. While a
    // run is active the launch waits its turn and Run returns 0. Returns 0 when the
    // run started or waits; otherwise the errno of the failed start, after its report.
    int Run(const std::vector<std::string>& argv, const char* commandLine, int scriptId);

    unsigned GetLineCount() const { return m_nLineCount; }
    // Line index of the report, or null past the last line.
    const char* GetLine(unsigned index) const;
    // The stored line that was printed as line number (counting empty ones), or null
    // when that line was empty or not stored.
    const char* GetPrintedLine(unsigned number) const;

    void SetTempFile(const char* path);
    // During a report: the reported run's temporary file; otherwise the latest one set.
    const char* GetTempFile() const;

    // How the reported run ended: the script's exit code (0 for success),
    // EXIT_UNKNOWN when it could not be started, EXIT_SIGNALLED when it was killed
    // (also at the time limit).
    int GetExitStatus() const { return m_nReportStatus; }
    bool Failed() const { return m_nReportStatus != 0; }
    // Why the reported run failed: how it was ended ("perl was stopped after 60 s",
    // "perl was killed by signal 9 (Killed)"), why it could not be started ("perl: No
    // such file or directory"), or else the first non-empty line it wrote to standard
    // error. At most MAX_ERROR_LINE - 1 bytes, cut between characters.
    const char* GetErrorLine() const;

    // The reported run's whole standard output as printed (up to 64 KiB), empty lines
    // included, for readers that go by printed line number.
    const std::string& GetOutput() const { return m_strReportOutput; }

    // During a report: the reported run's argument vector, as given to Run.
    const std::vector<std::string>& GetArguments() const { return m_current.argv; }

    // True while a run is active, being reported or waiting.
    bool IsBusy() const { return m_bBusy; }

protected:
    void OnOutput(const char* text, size_t length) override;
    void OnError(const char* text, size_t length) override;
    void OnEnd() override;

private:
    struct Job {
        int scriptId = 0;
        std::vector<std::string> argv;
        std::string commandLine;
        std::string tempFile;
        std::chrono::milliseconds timeLimit{0}; // as it was when the run started
    };
    class Relay;

    int StartJob(Job job);
    void StartQueued();
    void FinishRun();
    void FinishAccepted();
    void DescribeEnd();
    void Report(int exitStatus);
    void FillLines(const char* text, size_t length);
    static void RemoveTempFile(const std::string& path);

    // Report state: written and read on the runner's own thread only.
    int m_nScriptId = 0;
    QPointer<QObject> m_pNotifyWnd;
    unsigned m_nLineCount = 0;
    char m_szLines[MAX_SCRIPT_LINES][MAX_SCRIPT_LINE] = {};
    unsigned m_anPrintedLine[MAX_SCRIPT_LINES] = {};
    char m_szTempFile[MAX_TEMP_PATH] = {};
    char m_szReportTempFile[MAX_TEMP_PATH] = {};
    char m_szErrorLine[MAX_ERROR_LINE] = {};
    int m_nReportStatus = 0;
    std::string m_strReportOutput;
    bool m_bInReport = false;
    bool m_bBusy = false;
    bool m_bTearingDown = false;
    Job m_current;
    std::deque<Job> m_queue;

    // Collected by the run's workers; read once the run has ended.
    std::string m_strOutput;
    // Room past the line's limit, so that the cut can find a character boundary.
    char m_szErrorCollect[MAX_ERROR_LINE + 4] = {};
    size_t m_nErrorCollect = 0;
    bool m_bErrorCollected = false;

    // Hand-over of a finished run to the runner's thread.
    std::mutex m_mutex;
    std::condition_variable m_cvHandled; // also tells of a run's end
    bool m_bEnded = false;               // the current run has ended, not yet finished
    bool m_bHandled = false;
    bool m_bStopping = false;
    std::unique_ptr<Relay> m_pRelay;
};
