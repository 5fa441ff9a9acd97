#include "places/NominatimClock.h"

QElapsedTimer& NominatimLastSent() {
    static QElapsedTimer lastSent;
    return lastSent;
}
