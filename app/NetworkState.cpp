#include "app/NetworkState.h"

// Kept free of Qt headers: GLib's headers clash with Qt's "signals" macro.
#include <gio/gio.h>

#include <thread>
#include <utility>

namespace {

std::function<bool()>& Provider() {
    static std::function<bool()> provider;
    return provider;
}

// Joined when the monitor is first wanted, or at the end of the program.
struct MonitorThread {
    std::thread thread;
    ~MonitorThread() { Join(); }
    void Join() {
        if (thread.joinable())
            thread.join();
    }
};

MonitorThread& Preparing() {
    static MonitorThread preparing;
    return preparing;
}

GNetworkMonitor* Monitor() {
    Preparing().Join();
    return g_network_monitor_get_default();
}

bool SystemNetworkAvailable() {
    // GLib answers from the routing table; it needs no system bus.
    GNetworkMonitor* monitor = Monitor();
    return monitor != nullptr && g_network_monitor_get_network_available(monitor);
}

} // namespace

bool IsNetworkAvailable() {
    const auto& provider = Provider();
    return provider ? provider() : SystemNetworkAvailable();
}

void SetNetworkStateProvider(std::function<bool()> provider) {
    Provider() = std::move(provider);
}

void PrepareNetworkMonitor() {
    // Made with no main context of the thread's own, the monitor reports to the default
    // one, which the window's thread runs.
    if (!Preparing().thread.joinable())
        Preparing().thread = std::thread([] { g_network_monitor_get_default(); });
}

// GLib delivers "network-changed" from the main context, which Qt's event loop runs.
struct NetworkWatch::Connection {
    std::function<void()> changed;
    GNetworkMonitor* monitor = nullptr;
    gulong handler = 0;

    static void OnChanged(GNetworkMonitor*, gboolean, gpointer data) {
        static_cast<Connection*>(data)->changed();
    }
};

NetworkWatch::NetworkWatch(std::function<void()> changed)
    : m_connection(std::make_unique<Connection>()) {
    m_connection->changed = std::move(changed);
    m_connection->monitor = Monitor();
    if (m_connection->monitor != nullptr) {
        g_object_ref(m_connection->monitor);
        m_connection->handler =
            g_signal_connect(m_connection->monitor, "network-changed",
                             G_CALLBACK(&Connection::OnChanged), m_connection.get());
    }
}

NetworkWatch::~NetworkWatch() {
    if (m_connection->monitor != nullptr) {
        if (m_connection->handler != 0)
            g_signal_handler_disconnect(m_connection->monitor, m_connection->handler);
        g_object_unref(m_connection->monitor);
    }
}
