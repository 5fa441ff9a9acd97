#pragma once

#include <functional>
#include <thread>

// Runs work the window's thread would otherwise do on its way to the map page, on a
// thread of its own while the window's thread is busy alone; joined when destroyed.
class StartWarmUp {
public:
    explicit StartWarmUp(std::function<void()> work) : m_thread(std::move(work)) {}
    ~StartWarmUp() { Wait(); }
    StartWarmUp(const StartWarmUp&) = delete;
    StartWarmUp& operator=(const StartWarmUp&) = delete;

    void Wait() {
        if (m_thread.joinable())
            m_thread.join();
    }

private:
    std::thread m_thread;
};

// While the application is being made: the font configuration and the network monitor.
void WarmUpBeforeApplication();
// While the window is being built: the list of image format plug-ins its icon is read with.
void WarmUpImageFormats();
