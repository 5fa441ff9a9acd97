#pragma once

class QString;

// The whole report of an undo, where it can be read whole: over the trip window when it is
// shown, else over the main window.
void ShowUndoReport(const QString& text);
