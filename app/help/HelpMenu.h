#pragma once

class QWidget;

// The Help menu, after every other menu of the main window: the keyboard shortcuts and
// what Kartavo is and owes. Its menu bar action is named "helpMenu".
void AddHelpMenu(QWidget* mainWindow);
