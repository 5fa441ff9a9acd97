// Kept apart from Qt's headers: GLib's clash with Qt's "signals" macro.
#include <gio/gio.h>

// Raises the system network monitor's change report, as a link coming up does.
void EmitNetworkChanged() {
    GNetworkMonitor* monitor = g_network_monitor_get_default();
    g_signal_emit_by_name(monitor, "network-changed", TRUE);
}
