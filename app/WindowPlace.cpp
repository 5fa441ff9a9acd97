#include "app/WindowPlace.h"

#include "app/WindowPosition.h"
#include "base/SettingsFile.h"

#include <QGuiApplication>
#include <QMargins>
#include <QScreen>
#include <QSettings>
#include <QWidget>

namespace {

const QString kGeometryKey = QStringLiteral("geometry");

// A window has no frame until it is first shown: the main window's stands in for it.
QMargins FrameMargins(const QWidget* window, const QWidget* mainWindow) {
    const QWidget* framed = window->isVisible() || mainWindow == nullptr ? window : mainWindow;
    const QRect outer = framed->frameGeometry();
    const QRect inner = framed->geometry();
    return QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                    outer.right() - inner.right(), outer.bottom() - inner.bottom());
}

} // namespace

void RestoreWindowPlace(QWidget* window, const QString& group, const QWidget* mainWindow,
                        const QSize& size, const QPoint& wanted) {
    QSettings settings = OpenSettingsFile();
    settings.beginGroup(group);
    const bool restored = window->restoreGeometry(settings.value(kGeometryKey).toByteArray());
    if (window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))
        return;
    const QMargins frame = FrameMargins(window, mainWindow);
    const QSize frameSize(frame.left() + frame.right(), frame.top() + frame.bottom());
    const QRect outer =
        restored ? window->geometry().marginsAdded(frame) : QRect(wanted, size + frameSize);

    QScreen* screen = restored ? QGuiApplication::screenAt(outer.center()) : nullptr;
    if (screen == nullptr && mainWindow != nullptr)
        screen = mainWindow->screen();
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect available = screen->availableGeometry();
    const QSize inner = (restored ? window->size() : size).boundedTo(available.size() - frameSize);
    const QPoint corner = PlaceOnScreen(available, inner + frameSize, outer.topLeft());
    window->setGeometry(QRect(corner + QPoint(frame.left(), frame.top()), inner));
}

void SaveWindowPlace(const QWidget* window, const QString& group) {
    QSettings settings = OpenSettingsFile();
    settings.beginGroup(group);
    settings.setValue(kGeometryKey, window->saveGeometry());
    settings.endGroup();
    settings.sync();
}
