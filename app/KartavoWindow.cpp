#include "app/KartavoWindow.h"

#include "app/MainWndProc.h"

KartavoWindow::KartavoWindow(QWidget* parent) : QFrame(parent) {}

bool KartavoWindow::event(QEvent* event) {
    return MainWndProc(this, event);
}
