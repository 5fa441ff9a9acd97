#include "app/FeatureMenus.h"

void AddTrackMenu(QWidget*) {}
