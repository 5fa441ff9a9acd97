#include "app/NetworkState.h"

// Kept free of Qt headers: GLib's headers clash with Qt's "signals" macro.
#include <gio/gio.h>

#include <dlfcn.h>

#include <thread>
#include <utility>

namespace {

// GIO, opened when the monitor is made: linked, it costs every start of the program a few
// milliseconds before main, and the monitor is made on a thread of its own. The calls
// below go through these pointers, named as GIO's own functions.
#define GIO_FUNCTIONS(X)                                                                           \
    X(g_network_monitor_get_default)                                                               \
    X(g_network_monitor_get_network_available)                                                     \
    X(g_object_ref)                                                                                \
    X(g_object_unref)                                                                              \
    X(g_signal_connect_data)                                                                       \
    X(g_signal_handler_disconnect)

namespace Gio {
#define GIO_POINTER(name) decltype(&::name) name = nullptr;
GIO_FUNCTIONS(GIO_POINTER)
#undef GIO_POINTER
} // namespace Gio

// Once for the process; false if GIO cannot be opened (then there is no monitor).
bool LoadGio() {
    static const bool loaded = [] {
        void* library = dlopen("libgio-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
        if (library == nullptr)
            return false;
#define GIO_RESOLVE(name)                                                                          \
    Gio::name = reinterpret_cast<decltype(Gio::name)>(dlsym(library, #name));                      \
    if (Gio::name == nullptr)                                                                      \
        return false;
        GIO_FUNCTIONS(GIO_RESOLVE)
#undef GIO_RESOLVE
        return true;
    }();
    return loaded;
}

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
    return LoadGio() ? Gio::g_network_monitor_get_default() : nullptr;
}

bool SystemNetworkAvailable() {
    // GLib answers from the routing table; it needs no system bus.
    GNetworkMonitor* monitor = Monitor();
    return monitor != nullptr && Gio::g_network_monitor_get_network_available(monitor);
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
        Preparing().thread = std::thread([] {
            if (LoadGio())
                Gio::g_network_monitor_get_default();
        });
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
        (Gio::g_object_ref)(m_connection->monitor);
        m_connection->handler = Gio::g_signal_connect_data(
            m_connection->monitor, "network-changed", G_CALLBACK(&Connection::OnChanged),
            m_connection.get(), nullptr, GConnectFlags(0));
    }
}

NetworkWatch::~NetworkWatch() {
    if (m_connection->monitor != nullptr) {
        if (m_connection->handler != 0)
            Gio::g_signal_handler_disconnect(m_connection->monitor, m_connection->handler);
        Gio::g_object_unref(m_connection->monitor);
    }
}
