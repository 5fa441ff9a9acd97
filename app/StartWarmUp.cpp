#include "app/StartWarmUp.h"

#include "app/NetworkState.h"

#include <QImageReader>

#include <fontconfig/fontconfig.h>

void WarmUpBeforeApplication() {
    // Qt's font database takes fontconfig's default configuration as it finds it.
    FcInit();
    PrepareNetworkMonitor();
}

void WarmUpImageFormats() {
    QImageReader::supportedImageFormats();
}
