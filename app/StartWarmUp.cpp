#include "app/StartWarmUp.h"

#include "app/NetworkState.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QImageReader>

#include <fontconfig/fontconfig.h>

#include <thread>

namespace {

// Joined at the latest when the program ends, however it ends.
struct JoinedThread {
    std::thread thread;
    ~JoinedThread() {
        if (thread.joinable())
            thread.join();
    }
};

std::thread& WarmUpThread() {
    static JoinedThread warmUp;
    return warmUp.thread;
}

void WarmUp() {
    // Qt's font database takes fontconfig's default configuration as it finds it.
    FcInit();
    PrepareNetworkMonitor();
    // The menu bar asks the session bus whether a global menu is there.
    QDBusConnection::sessionBus();
    // Listed once for all image readers; the window icon is the first.
    QImageReader::supportedImageFormats();
}

void StartWarmUpThread() {
    WarmUpThread() = std::thread(&WarmUp);
}

} // namespace

void WarmUpWhileApplicationIsMade() {
    // Called once QCoreApplication's own part is made, which the session bus needs.
    qAddPreRoutine(&StartWarmUpThread);
}

void WaitForWarmUp() {
    if (WarmUpThread().joinable())
        WarmUpThread().join();
}
