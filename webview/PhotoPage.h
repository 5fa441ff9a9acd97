#pragma once

#include <string>

// The script that points the photo page's image at the picture file path (UTF-8).
std::string PhotoScript(const char* path);

// Shows the picture file path (UTF-8) in the photo view, 240 pixels wide; before the
// photo page has loaded, as soon as it has.
void ShowPhoto(const char* path);
