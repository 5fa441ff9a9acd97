#include "script/ProcessRunner.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

using Clock = std::chrono::steady_clock;

struct ProcessRunner::Run {
    pid_t pid = -1;
    UniqueFd pidfd;   // invalid where the kernel has no pidfd_open, or when not wanted
    UniqueFd abandon; // eventfd: the readers leave their pipes
    Clock::time_point deadline;
    std::mutex mutex;
    std::condition_variable readersDone;
    int nReadersDone = 0;
    std::thread output;
    std::thread error;
    std::thread wait;
};

namespace {

// How long a killed child may take to die before it is left to itself.
constexpr std::chrono::milliseconds KILL_GRACE{2000};
// How long killed descendants may take to let go of the pipes.
constexpr std::chrono::milliseconds PIPE_GRACE{1000};
// Without a pidfd the child's end is polled; the pauses grow up to this.
constexpr int MAX_POLL_PAUSE_MS = 50;

// Keeps a pipe end off descriptors 0 to 2, which the child's actions overwrite.
UniqueFd AboveStdio(int fd) {
    if (fd >= 0 && fd < 3) {
        int moved = fcntl(fd, F_DUPFD_CLOEXEC, 3);
        ::close(fd);
        fd = moved;
    }
    return UniqueFd(fd);
}

int MakePipe(UniqueFd& readEnd, UniqueFd& writeEnd) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        return errno;
    readEnd = AboveStdio(fds[0]);
    writeEnd = AboveStdio(fds[1]);
    if (!readEnd.IsValid() || !writeEnd.IsValid())
        return EMFILE;
    return 0;
}

// Owns one posix_spawn object from its init to its destroy.
template <typename T, int (*Init)(T*), int (*Destroy)(T*)> class SpawnObject {
public:
    SpawnObject() { Init(&m_object); }
    ~SpawnObject() { Destroy(&m_object); }
    SpawnObject(const SpawnObject&) = delete;
    SpawnObject& operator=(const SpawnObject&) = delete;
    T* Get() { return &m_object; }

private:
    T m_object;
};

using SpawnActions = SpawnObject<posix_spawn_file_actions_t, posix_spawn_file_actions_init,
                                 posix_spawn_file_actions_destroy>;
using SpawnAttributes =
    SpawnObject<posix_spawnattr_t, posix_spawnattr_init, posix_spawnattr_destroy>;

void Raise(const UniqueFd& eventFd) {
    if (!eventFd.IsValid())
        return;
    uint64_t one = 1;
    ssize_t written;
    do
        written = write(eventFd.Get(), &one, sizeof one);
    while (written < 0 && errno == EINTR);
}

enum class Wake { Ready, Stopped, TimeUp, Failed };

// Milliseconds from now until `until`, for poll; at most timeoutCap.
int PollTimeout(Clock::time_point until, int timeoutCap = INT_MAX) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - Clock::now()).count();
    return static_cast<int>(std::max<long long>(0, std::min<long long>(left, timeoutCap)));
}

// Sleeps until fd is readable (or hung up), one of the stop signals is raised, or
// the timeout (ms, -1 for none) has passed. Negative descriptors are not watched.
Wake WaitReadable(int fd, int stopFd, int abandonFd, int timeoutMs) {
    pollfd fds[3] = {{fd, POLLIN, 0}, {stopFd, POLLIN, 0}, {abandonFd, POLLIN, 0}};
    for (;;) {
        int n = poll(fds, 3, timeoutMs);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return Wake::Failed;
        }
        if (n == 0)
            return Wake::TimeUp;
        if (fds[1].revents != 0 || fds[2].revents != 0)
            return Wake::Stopped;
        if (fds[0].revents != 0)
            return Wake::Ready;
    }
}

int OpenPidFd(pid_t pid) {
#ifdef SYS_pidfd_open
    return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
#else
    (void)pid;
    return -1;
#endif
}

// True once the child has ended; it stays waitable, so its number stays ours.
bool HasEnded(pid_t pid) {
    siginfo_t info;
    std::memset(&info, 0, sizeof info);
    int result;
    do
        result = waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT);
    while (result < 0 && errno == EINTR);
    // ECHILD: nothing left to wait for.
    return result < 0 ? errno == ECHILD : info.si_pid == pid;
}

} // namespace

ProcessRunner::ProcessRunner() : m_fdStop(eventfd(0, EFD_CLOEXEC)) {}

ProcessRunner::~ProcessRunner() {
    Stop();
}

void ProcessRunner::OnStart(const char*) {}
void ProcessRunner::OnOutput(const char*, size_t) {}
void ProcessRunner::OnError(const char*, size_t) {}
void ProcessRunner::OnEnd() {}

int ProcessRunner::Start(const std::vector<std::string>& argv, const char* commandLine, int) {
    if (commandLine == nullptr)
        commandLine = "";
    if (m_bStop.load())
        return ECANCELED;
    if (m_bRunning.load())
        return EBUSY;
    if (m_pRun && m_pRun->wait.get_id() == std::this_thread::get_id())
        return EDEADLK;
    JoinRun();

    auto fail = [&](int error) {
        m_nStartError = error;
        m_nExitStatus = EXIT_UNKNOWN;
        m_nChildSignal = 0;
        m_bTimedOut = false;
        char text[256];
        int n = snprintf(text, sizeof text, "# Unable to start !!(%s)\n", commandLine);
        if (n < 0)
            text[0] = '\0';
        else if (static_cast<size_t>(n) >= sizeof text)
            snprintf(text + sizeof text - 3, 3, ")\n");
        // The text is one line, whatever the command line holds.
        size_t length = strlen(text);
        for (size_t i = 0; i + 1 < length; ++i)
            if (text[i] == '\r' || text[i] == '\n')
                text[i] = ' ';
        OnOutput(text, length);
        return error;
    };

    if (argv.empty())
        return fail(EINVAL);
    if (!m_fdStop.IsValid())
        return fail(EMFILE);

    UniqueFd outRead, outWrite, errRead, errWrite;
    if (int error = MakePipe(outRead, outWrite))
        return fail(error);
    if (int error = MakePipe(errRead, errWrite))
        return fail(error);
    UniqueFd abandon(eventfd(0, EFD_CLOEXEC));
    if (!abandon.IsValid())
        return fail(errno);
    // A socket rather than a pipe: writing to it can be told not to raise SIGPIPE.
    UniqueFd inputOurs, inputChild;
    if (m_bInput) {
        int fds[2];
        if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0)
            return fail(errno);
        inputOurs = AboveStdio(fds[0]);
        inputChild = AboveStdio(fds[1]);
        if (!inputOurs.IsValid() || !inputChild.IsValid())
            return fail(EMFILE);
    }

    SpawnActions actions;
    if (m_bInput)
        posix_spawn_file_actions_adddup2(actions.Get(), inputChild.Get(), STDIN_FILENO);
    else // /dev/null gives the child an immediate end of input
        posix_spawn_file_actions_addopen(actions.Get(), STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(actions.Get(), outWrite.Get(), STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(actions.Get(), errWrite.Get(), STDERR_FILENO);

    SpawnAttributes attributes;
    sigset_t signals;
    sigemptyset(&signals);
    posix_spawnattr_setsigmask(attributes.Get(), &signals);
    // A child should die of a broken pipe even if this process ignores it.
    sigaddset(&signals, SIGPIPE);
    posix_spawnattr_setsigdefault(attributes.Get(), &signals);
    // A group of its own, so that what the child starts can be ended with it.
    posix_spawnattr_setpgroup(attributes.Get(), 0);
    posix_spawnattr_setflags(attributes.Get(), POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF |
                                                   POSIX_SPAWN_SETPGROUP);

    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);

    pid_t pid = -1;
    int error = posix_spawnp(&pid, args[0], actions.Get(), attributes.Get(), args.data(), environ);
    if (error != 0)
        return fail(error);

    // The child holds its own copies; the pipes end when it and its descendants have.
    outWrite.Reset();
    errWrite.Reset();
    inputChild.Reset();
    m_fdInput = std::move(inputOurs);

    const long long limitMs = m_nTimeLimitMs.load();
    m_nStartError = 0;
    m_nExitStatus = EXIT_UNKNOWN;
    m_nChildSignal = 0;
    m_bTimedOut = false;
    m_bRunning = true;
    {
        std::lock_guard<std::mutex> lock(m_childMutex);
        m_childPid = pid;
    }
    m_pRun = std::make_unique<Run>();
    Run& run = *m_pRun;
    run.pid = pid;
    run.abandon = std::move(abandon);
    // No limit: a deadline no run reaches.
    run.deadline = Clock::now() + (limitMs > 0 ? std::chrono::milliseconds(limitMs)
                                               : std::chrono::hours(24 * 365));
    if (m_bUsePidFd.load())
        run.pidfd.Reset(OpenPidFd(pid));
    run.output =
        std::thread(&ProcessRunner::ReadPipe, this, std::move(outRead), true, std::ref(run));
    run.error =
        std::thread(&ProcessRunner::ReadPipe, this, std::move(errRead), false, std::ref(run));
    run.wait = std::thread(&ProcessRunner::WaitChild, this, std::ref(run));
    OnStart(commandLine);
    return 0;
}

void ProcessRunner::ReadPipe(UniqueFd fd, bool output, Run& run) {
    char buffer[4096 + 1];
    while (WaitReadable(fd.Get(), m_fdStop.Get(), run.abandon.Get(), -1) == Wake::Ready) {
        ssize_t n = read(fd.Get(), buffer, sizeof buffer - 1);
        if (n > 0) {
            buffer[n] = '\0';
            if (output)
                OnOutput(buffer, static_cast<size_t>(n));
            else
                OnError(buffer, static_cast<size_t>(n));
        } else if (n == 0 || (errno != EINTR && errno != EAGAIN)) {
            break;
        }
    }
    fd.Reset();
    {
        std::lock_guard<std::mutex> lock(run.mutex);
        ++run.nReadersDone;
    }
    run.readersDone.notify_all();
}

ProcessRunner::End ProcessRunner::AwaitChild(Run& run, Clock::time_point until, bool heedStop) {
    const int stopFd = heedStop ? m_fdStop.Get() : -1;
    if (run.pidfd.IsValid()) {
        // The pidfd turns readable when the child ends; it is reaped later.
        switch (WaitReadable(run.pidfd.Get(), stopFd, -1, PollTimeout(until))) {
        case Wake::Ready:
            return End::Ended;
        case Wake::Stopped:
            return End::Stopped;
        case Wake::TimeUp:
            return End::TimeUp;
        case Wake::Failed:
            break; // fall back to polling
        }
    }
    // Polled with growing pauses; the stop signal ends each pause at once.
    for (int pause = 1;; pause = std::min(pause * 2, MAX_POLL_PAUSE_MS)) {
        if (HasEnded(run.pid))
            return End::Ended;
        const int timeout = PollTimeout(until, pause);
        if (Clock::now() >= until)
            return End::TimeUp;
        if (WaitReadable(-1, stopFd, -1, timeout) == Wake::Stopped)
            return End::Stopped;
    }
}

bool ProcessRunner::AwaitReaders(Run& run, Clock::time_point until) {
    std::unique_lock<std::mutex> lock(run.mutex);
    auto done = [&run] { return run.nReadersDone == 2; };
    if (until == Clock::time_point::max()) {
        run.readersDone.wait(lock, done);
        return true;
    }
    return run.readersDone.wait_until(lock, until, done);
}

void ProcessRunner::WaitChild(Run& run) {
    bool timedOut = false;
    End end = AwaitChild(run, run.deadline, true);
    if (end != End::Ended) {
        // Past its time, or nobody will take its result: the child and its group go.
        timedOut = end == End::TimeUp;
        SendSignal(SIGKILL, true);
        end = AwaitChild(run, Clock::now() + KILL_GRACE, false);
    }
    // Output still in the pipes belongs to this run, also what descendants write later.
    if (!AwaitReaders(run, run.deadline)) {
        if (!m_bStop.load())
            timedOut = true;
        // The child leads the group and is not reaped yet, so the group is still its.
        SendSignal(SIGKILL, true);
        AwaitReaders(run, Clock::now() + PIPE_GRACE);
        Raise(run.abandon);
        AwaitReaders(run, Clock::time_point::max());
    }
    // Both readers are done with it: every handle of the run goes when the run ends.
    run.abandon.Reset();
    // Nobody takes what the rest of the group would still do.
    if (m_bStop.load())
        SendSignal(SIGKILL, true);
    Reap(run, end == End::Ended);
    if (timedOut) {
        // Even a child that ended by itself left a run that had to be killed.
        m_nExitStatus = EXIT_SIGNALLED;
        m_nChildSignal = SIGKILL;
    }
    m_bTimedOut = timedOut;
    m_bRunning = false;
    OnEnd();
}

void ProcessRunner::Reap(Run& run, bool ended) {
    int exitStatus = EXIT_UNKNOWN;
    int signal = 0;
    {
        std::lock_guard<std::mutex> lock(m_childMutex);
        if (ended) {
            int status = 0;
            pid_t result;
            do
                result = waitpid(run.pid, &status, 0);
            while (result < 0 && errno == EINTR);
            if (result == run.pid) {
                if (WIFEXITED(status)) {
                    exitStatus = WEXITSTATUS(status);
                } else if (WIFSIGNALED(status)) {
                    exitStatus = EXIT_SIGNALLED;
                    signal = WTERMSIG(status);
                }
            }
        }
        // A child stuck past every grace is left to itself; it is never signalled again.
        m_childPid = -1;
    }
    run.pidfd.Reset();
    m_nExitStatus = exitStatus;
    m_nChildSignal = signal;
}

bool ProcessRunner::SendSignal(int signal, bool group) {
    std::lock_guard<std::mutex> lock(m_childMutex);
    if (m_childPid <= 0)
        return false;
    // The whole group, then the child itself in case it left the group.
    bool sent = false;
    if (group)
        sent = kill(-m_childPid, signal) == 0;
    return kill(m_childPid, signal) == 0 || sent;
}

bool ProcessRunner::SendInput(const std::string& bytes) {
    UniqueFd input = std::move(m_fdInput); // closed on return: the child's end of input
    if (!input.IsValid() || !m_bRunning.load())
        return false;
    // A child that takes nothing for this long is not going to; the caller's thread waits.
    constexpr int INPUT_WAIT_MS = 3000;
    const Clock::time_point until = Clock::now() + std::chrono::milliseconds(INPUT_WAIT_MS);
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t sent = send(input.Get(), bytes.data() + done, bytes.size() - done,
                                  MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent >= 0) {
            done += static_cast<size_t>(sent);
            continue;
        }
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            return false;
        pollfd fd{input.Get(), POLLOUT, 0};
        const int timeout = PollTimeout(until);
        if (timeout == 0 || (poll(&fd, 1, timeout) < 0 && errno != EINTR))
            return false;
    }
    return true;
}

bool ProcessRunner::SignalChild(int signal) {
    return SendSignal(signal, false);
}

bool ProcessRunner::KillChild() {
    return SendSignal(SIGKILL, true);
}

void ProcessRunner::JoinRun() {
    if (!m_pRun)
        return;
    for (std::thread* worker : {&m_pRun->output, &m_pRun->error, &m_pRun->wait})
        if (worker->joinable())
            worker->join();
    m_pRun.reset();
}

void ProcessRunner::Stop() {
    if (!m_bStop.exchange(true))
        Raise(m_fdStop);
    JoinRun();
}
