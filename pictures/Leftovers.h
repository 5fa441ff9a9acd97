#pragma once

#include <QString>

// A batch script killed in the middle of a write leaves its new files, each a full copy
// of a picture, hidden beside the pictures (".kartavo-PID-XXXXXX.tmp"). These remove the
// ones whose process no longer lives, in every folder the undo journals name.
namespace Leftovers {

// Returns how many files were removed.
int Remove(const QString& journalFolder);

// Remove(the default journal folder) on a worker thread, so that the start never waits
// for the disk.
void RemoveInBackground();

} // namespace Leftovers
