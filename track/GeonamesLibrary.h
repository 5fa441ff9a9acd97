#pragma once

// GLib's headers name a member "signals", which Qt defines as a macro.
#pragma push_macro("signals")
#undef signals
#include <geonames.h>
#pragma pop_macro("signals")

// libgeonames, the offline list of cities. Linked, it and GIO (which it brings) cost every
// start of the program a few milliseconds before main; it is opened when the list is first
// used. The members, named as libgeonames' own functions, point to them.
#define GEONAMES_FUNCTIONS(X)                                                                      \
    X(geonames_city_free)                                                                          \
    X(geonames_city_get_country)                                                                   \
    X(geonames_city_get_country_code)                                                              \
    X(geonames_city_get_latitude)                                                                  \
    X(geonames_city_get_longitude)                                                                 \
    X(geonames_city_get_name)                                                                      \
    X(geonames_city_get_population)                                                                \
    X(geonames_city_get_state)                                                                     \
    X(geonames_city_get_timezone)                                                                  \
    X(geonames_get_city)                                                                           \
    X(geonames_get_n_cities)                                                                       \
    X(geonames_query_cities_sync)

struct GeonamesLibrary {
#define GEONAMES_POINTER(name) decltype(&::name) name = nullptr;
    GEONAMES_FUNCTIONS(GEONAMES_POINTER)
#undef GEONAMES_POINTER
};

// Loaded once for the process; null if it cannot be (then there are no cities).
const GeonamesLibrary* Geonames();
