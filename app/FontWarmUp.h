#pragma once

#include <thread>

// Loads the font configuration on a thread of its own while the application starts: the
// window's first text would otherwise wait for it. Joins at the end of its scope.
class FontWarmUp {
public:
    FontWarmUp();
    ~FontWarmUp();
    FontWarmUp(const FontWarmUp&) = delete;
    FontWarmUp& operator=(const FontWarmUp&) = delete;

private:
    std::thread m_thread;
};
