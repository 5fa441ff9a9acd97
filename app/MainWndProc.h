#pragma once

class KartavoWindow;
class QEvent;

// The procedure of the main window, the map host and the image window. Returns whether
// the event was handled; events it does not handle go to the window's default handling.
bool MainWndProc(KartavoWindow* target, QEvent* event);

// Sends a command to the main window, as the menu, the buttons and the Zoom list do.
class QObject;
void SendCommand(int id, int code, QObject* source);
