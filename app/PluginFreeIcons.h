#pragma once

#include <QPixmap>
#include <QString>

// Qt's image reader, unless told the format and not to guess, first asks every image format
// plug-in (TIFF, WebP, MNG and the libraries they bring) whether it can read a file: at
// start that cost about 7 ms, for PNGs Qt reads itself. These read Qt's own PNGs without
// asking; the plug-ins load when a picture first needs them.

// A PNG from the program's or Qt's resources; a null pixmap if it cannot be read.
QPixmap ReadPng(const QString& path);

// The application's style, with the menu bar's extension arrow read as above.
void UsePluginFreeIcons();
