#pragma once

#include <QPixmap>
#include <QString>

// Icons the window needs little or not at all while it starts. Qt's image reader first
// lists the image format plug-ins, and unless told the format and not to guess, loads
// every one (TIFF, WebP, MNG and the libraries they bring) to ask whether it can read a
// file: at start that cost about 7 ms, for PNGs Qt reads itself.

// A PNG from the program's or Qt's resources, read without the plug-ins; a null pixmap if
// it cannot be read.
QPixmap ReadPng(const QString& path);

// The application's style, with the menu bar's extension arrow read as above when it is
// first drawn (the arrow shows only when the menus do not fit).
void UseStartIcons();
