#pragma once

#include <QString>

class QWidget;

// Version, licence and credits as rich text, the About dialog's body.
QString AboutText();

void ShowAboutDialog(QWidget* parent);
