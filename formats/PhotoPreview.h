#pragma once

#include <string>

// The photo page shows JPEG, PNG, WebP, GIF and BMP files as they are. For a TIFF, RAW
// or HEIC picture a JPEG preview is made off the user-interface thread into the private
// cache folder and shown when ready; a file with nothing to show says so.

// True when path needs a made preview.
bool NeedsMadePreview(const char* path);

// Starts making the preview of path and shows it when ready, unless another picture
// was shown since.
void ShowMadePreview(const char* path);

// A picture the page shows itself comes next: a preview still in the making is dropped.
void ForgetMadePreview();

// The script that puts text in the photo view instead of a picture.
std::string PhotoNoticeScript(const char* text);
