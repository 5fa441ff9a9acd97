#include "app/KartavoWindow.h"

#include "app/MainWndProc.h"

#include <QPalette>

KartavoWindow::KartavoWindow(QWidget* parent) : QFrame(parent) {}

bool KartavoWindow::event(QEvent* event) {
    return MainWndProc(this, event);
}

void PaintAsEmptyView(QWidget* window) {
    window->setAutoFillBackground(true);
    QPalette blank = window->palette();
    blank.setColor(QPalette::Window, Qt::white);
    window->setPalette(blank);
}
