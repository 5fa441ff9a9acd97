#include "app/MapCommands.h"

// The map view is not built yet: these do nothing.
void CenterMap(int) {}

void OnMapTitleChanged() {}

std::optional<std::string> MapTitle() {
    return std::nullopt;
}
