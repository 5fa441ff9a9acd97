#include "script/ProcessRunner.h"

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/eventfd.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

struct ProcessRunner::Run {
    pid_t pid = -1;
    UniqueFd pidfd; // invalid where the kernel has no pidfd_open
    std::mutex mutex;
    std::condition_variable readersDone;
    int nReadersDone = 0;
    bool reaped = false; // set, under mutex, before the child may be reaped
    std::thread output;
    std::thread error;
    std::thread wait;
};

namespace {

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

enum class Wake { Ready, Stopped, Failed };

// Sleeps until fd is readable (or hung up) or the stop signal is raised.
Wake WaitReadable(int fd, int stopFd) {
    pollfd fds[2] = {{fd, POLLIN, 0}, {stopFd, POLLIN, 0}};
    for (;;) {
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return Wake::Failed;
        }
        if (fds[1].revents != 0)
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

    SpawnActions actions;
    // Nothing is ever written to the child: /dev/null gives it an immediate end of input.
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
    posix_spawnattr_setflags(attributes.Get(), POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

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

    m_nStartError = 0;
    m_nExitStatus = EXIT_UNKNOWN;
    m_bRunning = true;
    m_pRun = std::make_unique<Run>();
    Run& run = *m_pRun;
    run.pid = pid;
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
    while (WaitReadable(fd.Get(), m_fdStop.Get()) == Wake::Ready) {
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

void ProcessRunner::WaitChild(Run& run) {
    const bool ended =
        run.pidfd.IsValid() && WaitReadable(run.pidfd.Get(), m_fdStop.Get()) == Wake::Ready;
    {
        // Output still in the pipes belongs to this run.
        std::unique_lock<std::mutex> lock(run.mutex);
        run.readersDone.wait(lock, [&run] { return run.nReadersDone == 2; });
        // From here on the child's number may go to another process.
        run.reaped = true;
    }
    // Without a pidfd the end of both pipes stands for the child's end.
    const bool reap = ended || (!run.pidfd.IsValid() && !m_bStop.load());
    run.pidfd.Reset();

    int exitStatus = EXIT_UNKNOWN;
    if (reap) {
        int status = 0;
        pid_t result;
        do
            result = waitpid(run.pid, &status, 0);
        while (result < 0 && errno == EINTR);
        if (result == run.pid)
            exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : EXIT_SIGNALLED;
    }
    m_nExitStatus = exitStatus;
    m_bRunning = false;
    OnEnd();
}

bool ProcessRunner::SignalChild(int signal) {
    if (!m_pRun || !m_bRunning.load())
        return false;
    // Under the run's lock the child is not yet reaped, so its number is still its own.
    std::lock_guard<std::mutex> lock(m_pRun->mutex);
    return !m_pRun->reaped && kill(m_pRun->pid, signal) == 0;
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
    if (!m_bStop.exchange(true) && m_fdStop.IsValid()) {
        uint64_t one = 1;
        ssize_t written;
        do
            written = write(m_fdStop.Get(), &one, sizeof one);
        while (written < 0 && errno == EINTR);
    }
    JoinRun();
}
