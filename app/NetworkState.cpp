#include "app/NetworkState.h"

// Kept free of Qt headers: GLib's headers clash with Qt's "signals" macro.
#include <gio/gio.h>

#include <utility>

namespace {

std::function<bool()>& Provider() {
    static std::function<bool()> provider;
    return provider;
}

bool SystemNetworkAvailable() {
    // GLib answers from the routing table; it needs no system bus.
    GNetworkMonitor* monitor = g_network_monitor_get_default();
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
