#pragma once

#include "script/UniqueFd.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <sys/types.h>
#include <thread>
#include <vector>

// Runs one child process at a time with pipes for its standard output and error
// (standard input is /dev/null, or a socket the caller writes once: SetInput). Three workers per
// run: one reads standard output, one standard error, one waits for the child's end. Both pipes are
// read to their end before OnEnd, which is the last call of a run.
//
// The child leads a process group of its own. A run that lasts longer than its time
// limit (from its start to the end of both pipes) is ended: its process group is
// killed (SIGKILL) and the run ends as TimedOut. Every child is reaped.
//
// Derived classes must call Stop() first in their destructor, so that no worker
// calls one of their operations while they are being destroyed.
class ProcessRunner {
public:
    // Exit status of a run that was not started, or whose end was not seen.
    static constexpr int EXIT_UNKNOWN = -1;
    // Exit status of a child that was ended by a signal.
    static constexpr int EXIT_SIGNALLED = -2;
    // Time limit of a run unless SetTimeLimit says otherwise.
    static constexpr std::chrono::milliseconds DEFAULT_TIME_LIMIT{60000};

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

    // Whether the runs started from now on read their standard input from SendInput
    // rather than /dev/null.
    void SetInput(bool input) { m_bInput = input; }
    // Gives the running child bytes as its whole standard input, then its end. False
    // when the run has no input, it was already given, or the child does not take it
    // within a few seconds (it ended, or does not read). Never raises SIGPIPE.
    bool SendInput(const std::string& bytes);

    // Limit of the runs started from now on; zero or less means none.
    void SetTimeLimit(std::chrono::milliseconds limit) { m_nTimeLimitMs = limit.count(); }
    std::chrono::milliseconds GetTimeLimit() const {
        return std::chrono::milliseconds(m_nTimeLimitMs.load());
    }
    // True when the latest run was ended at its time limit; valid in OnEnd.
    bool TimedOut() const { return m_bTimedOut.load(); }
    // Signal that ended the latest run's child, 0 when it exited by itself; valid in OnEnd.
    int GetChildSignal() const { return m_nChildSignal.load(); }

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

    // Kills the running child and its process group (SIGKILL); the run then ends as
    // usual. False when no child runs.
    bool KillChild();

    // Wakes every worker, kills a child that still runs (with its process group),
    // reaps it (waiting a moment at most, so a child stuck in the kernel cannot hold
    // the caller), waits for the workers and releases the run. Afterwards Start
    // fails. Safe to call more than once.
    void Stop();
    bool IsStopping() const { return m_bStop.load(); }

    // Where the kernel has pidfd_open, the child's end is awaited on its pidfd;
    // otherwise by polling waitid(WNOHANG) against the stop signal. false chooses the
    // second road even where pidfd exists (tests take both). For the next Start.
    void SetUsePidFd(bool use) { m_bUsePidFd = use; }

private:
    struct Run;
    enum class End { Ended, Stopped, TimeUp };

    void ReadPipe(UniqueFd fd, bool output, Run& run);
    void WaitChild(Run& run);
    End AwaitChild(Run& run, std::chrono::steady_clock::time_point until, bool heedStop);
    bool AwaitReaders(Run& run, std::chrono::steady_clock::time_point until);
    void Reap(Run& run, bool ended);
    bool SendSignal(int signal, bool group);
    void JoinRun();

    UniqueFd m_fdStop; // eventfd, readable once Stop has been called
    std::atomic<bool> m_bStop{false};
    std::atomic<bool> m_bRunning{false};
    std::atomic<int> m_nExitStatus{EXIT_UNKNOWN};
    std::atomic<int> m_nChildSignal{0};
    std::atomic<bool> m_bTimedOut{false};
    std::atomic<long long> m_nTimeLimitMs{DEFAULT_TIME_LIMIT.count()};
    std::atomic<bool> m_bUsePidFd{true};
    int m_nStartError = 0;
    std::unique_ptr<Run> m_pRun;
    bool m_bInput = false;
    UniqueFd m_fdInput; // this end of the running child's standard input

    // The child that may still be signalled: set at start, cleared once it is reaped,
    // so that no signal ever reaches a process that took over its number.
    std::mutex m_childMutex;
    pid_t m_childPid = -1;
};
