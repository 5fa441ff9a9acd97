#pragma once

#include <QString>

// The folder an open dialog of that kind ("Pictures", "Tracks") showed last, so the next
// one starts there; empty (the working folder) until one was used or when it is gone.
QString LastFolder(const QString& kind);

// Remembers the folder of path (a file, or a folder itself when isFolder).
void RememberFolder(const QString& kind, const QString& path, bool isFolder = false);
