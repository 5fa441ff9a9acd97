#include "base/AppState.h"

#include "script/ScriptRunner.h"

AppState g_app;

AppState::AppState() : pMapView(nullptr, nullptr), pPhotoView(nullptr, nullptr) {}

AppState::~AppState() = default;
