#pragma once

#include <functional>

// Whether the computer has a network, asked once at start-up. Tests put their own
// answer in its place; an empty function restores the system's.
bool IsNetworkAvailable();
void SetNetworkStateProvider(std::function<bool()> provider);
