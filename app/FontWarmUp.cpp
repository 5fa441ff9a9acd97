#include "app/FontWarmUp.h"

#include <fontconfig/fontconfig.h>

#include <memory>

namespace {

// Fontconfig keeps one configuration per process and builds it safely from any thread;
// Qt's font database finds it built and listed.
void LoadFontConfiguration() {
    if (FcInit() == FcFalse)
        return;
    const std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> pattern(FcPatternCreate(),
                                                                          &FcPatternDestroy);
    const std::unique_ptr<FcObjectSet, decltype(&FcObjectSetDestroy)> objects(
        FcObjectSetBuild(FC_FAMILY, nullptr), &FcObjectSetDestroy);
    if (!pattern || !objects)
        return;
    const std::unique_ptr<FcFontSet, decltype(&FcFontSetDestroy)> fonts(
        FcFontList(nullptr, pattern.get(), objects.get()), &FcFontSetDestroy);
}

} // namespace

FontWarmUp::FontWarmUp() : m_thread(&LoadFontConfiguration) {}

FontWarmUp::~FontWarmUp() {
    if (m_thread.joinable())
        m_thread.join();
}
