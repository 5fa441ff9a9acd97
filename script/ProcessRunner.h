#pragma once

#include "script/UniqueFd.h"

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <sys/types.h>
#include <thread>
#include <vector>

// Runs one child process at a time with pipes for its standard output and error
// (standard input is /dev/null). Three workers per run: one reads standard output,
// one standard error, one waits for the child's end. Both pipes are read to their
// end before OnEnd, which is the last call of a run.
//
// Derived classes must call Stop() first in their destructor, so that no worker
// calls one of their operations while they are being destroyed. The child itself
// is never killed.
class ProcessRunner {
public:
    // Exit status of a run that was not started, or whose end was not seen.
    static constexpr int EXIT_UNKNOWN = -1;
    // Exit status of a child that was ended by a signal.
    static constexpr int EXIT_SIGNALLED = -2;

    ProcessRunner();
    virtual ~ProcessRunner();
    ProcessRunner(const ProcessRunner&) = delete;
    ProcessRunner& operator=(const ProcessRunner&) = delete;

    // Starts argv[0] (looked up in PATH) with the argument vector argv; no shell is
    // involved. commandLine is the text that stands for the run in messages. There
    // is no console to show, so show is ignored. Returns 0 when the child runs;
    // otherwise an errno value, after OnOutput received "# Unable to start !!(...)"
    // on the calling thread. EBUSY while a run is active; must not be called from
    // the run's own OnEnd.
    int Start(const std::vector<std::string>& argv, const char* commandLine, int show = 0);

    // True from a successful Start until the run's child has ended and its pipes
    // have been read to their end.
    bool IsRunning() const { return m_bRunning.load(); }
    // Exit code of the latest run's child, or EXIT_UNKNOWN / EXIT_SIGNALLED; valid in OnEnd.
    int GetChildExitStatus() const { return m_nExitStatus.load(); }
    // errno of the latest failed Start, 0 after a successful one.
    int GetStartError() const { return m_nStartError; }
    // Sends signal to the running child; false when no child runs.
    bool SignalChild(int signal);

protected:
    // After a successful start, on the thread that called Start.
    virtual void OnStart(const char* commandLine);
    // Each piece of standard output (on the output worker), and the start-failure
    // text (on the thread that called Start). text is zero-terminated.
    virtual void OnOutput(const char* text, size_t length);
    // Each piece of standard error, on the error worker.
    virtual void OnError(const char* text, size_t length);
    // Once per started run, on the wait worker, after the child has ended and both
    // pipes have reached their end, or after Stop.
    virtual void OnEnd();

    // Wakes every worker, waits for them to finish and releases the run. Does not wait
    // for the child. Afterwards Start fails. Safe to call more than once.
    void Stop();
    bool IsStopping() const { return m_bStop.load(); }

private:
    struct Run;

    void ReadPipe(UniqueFd fd, bool output, Run& run);
    void WaitChild(Run& run);
    void JoinRun();

    UniqueFd m_fdStop; // eventfd, readable once Stop has been called
    std::atomic<bool> m_bStop{false};
    std::atomic<bool> m_bRunning{false};
    std::atomic<int> m_nExitStatus{EXIT_UNKNOWN};
    int m_nStartError = 0;
    std::unique_ptr<Run> m_pRun;
};
