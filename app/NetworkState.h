#pragma once

#include <functional>
#include <memory>

// Whether the computer has a network, asked once at start-up. Tests put their own
// answer in its place; an empty function restores the system's.
bool IsNetworkAvailable();
void SetNetworkStateProvider(std::function<bool()> provider);

// Makes the system's network monitor on a thread of its own, for the question at start-up:
// making it takes a few milliseconds (GIO's types and modules, then the routing table or
// NetworkManager) that the window's thread then need not wait for.
void PrepareNetworkMonitor();

// Calls changed from the event loop each time the system reports that the network may
// have changed (a link or a route came or went), until the watch is destroyed.
class NetworkWatch {
public:
    explicit NetworkWatch(std::function<void()> changed);
    ~NetworkWatch();
    NetworkWatch(const NetworkWatch&) = delete;
    NetworkWatch& operator=(const NetworkWatch&) = delete;

private:
    struct Connection;
    std::unique_ptr<Connection> m_connection;
};
