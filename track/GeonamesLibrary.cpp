#include "track/GeonamesLibrary.h"

#include <dlfcn.h>

const GeonamesLibrary* Geonames() {
    static const GeonamesLibrary* const library = []() -> const GeonamesLibrary* {
        void* handle = dlopen("libgeonames.so.0", RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr)
            return nullptr;
        static GeonamesLibrary functions;
#define GEONAMES_RESOLVE(name)                                                                     \
    functions.name = reinterpret_cast<decltype(functions.name)>(dlsym(handle, #name));             \
    if (functions.name == nullptr)                                                                 \
        return nullptr;
        GEONAMES_FUNCTIONS(GEONAMES_RESOLVE)
#undef GEONAMES_RESOLVE
        return &functions;
    }();
    return library;
}
