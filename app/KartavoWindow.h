#pragma once

#include <QFrame>

// The one window class of the program: the main window, the map host and the image
// window. Every event goes to MainWndProc first, which falls back to the default handling.
class KartavoWindow : public QFrame {
    Q_OBJECT

public:
    explicit KartavoWindow(QWidget* parent = nullptr);

    // Default handling, for MainWndProc to fall back on.
    bool DefWindowProc(QEvent* event) { return QFrame::event(event); }

protected:
    bool event(QEvent* event) override;
};

// Fills window with white, as an empty web view looks, for a view that is made later.
void PaintAsEmptyView(QWidget* window);
