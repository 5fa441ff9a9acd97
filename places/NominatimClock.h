#pragma once

#include <QElapsedTimer>

// When Kartavo last asked Nominatim, for every kind of request: the service's limit of one
// request a second holds for the program, not for one window.
QElapsedTimer& NominatimLastSent();
