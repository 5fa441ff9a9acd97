#include "app/QuitOnSignal.h"

#include <QSocketNotifier>

#include <atomic>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>

namespace {

// The handler may only write to a descriptor; the rest happens on the event loop.
std::atomic<int> g_nSignalFd{-1};
int g_anPair[2] = {-1, -1};

void OnSignal(int) {
    const int fd = g_nSignalFd.load();
    if (fd >= 0) {
        const char byte = 1;
        [[maybe_unused]] ssize_t written = write(fd, &byte, 1);
    }
}

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

} // namespace

QuitOnSignal::QuitOnSignal(std::function<void()> onSignal, QObject* parent)
    : QObject(parent), m_onSignal(std::move(onSignal)) {
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_anPair) != 0)
        return;
    g_nSignalFd.store(g_anPair[0]);
    m_pNotifier = new QSocketNotifier(g_anPair[1], QSocketNotifier::Read, this);
    connect(m_pNotifier, &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        while (read(g_anPair[1], bytes, sizeof bytes) > 0) {
        }
        if (m_onSignal)
            m_onSignal();
    });
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kSignals)
        sigaction(signal, &action, nullptr);
}

QuitOnSignal::~QuitOnSignal() {
    for (int signal : kSignals)
        std::signal(signal, SIG_DFL);
    g_nSignalFd.store(-1);
    delete m_pNotifier;
    m_pNotifier = nullptr;
    for (int& fd : g_anPair) {
        if (fd >= 0)
            close(fd);
        fd = -1;
    }
}
