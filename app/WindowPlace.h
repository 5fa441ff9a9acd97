#pragma once

#include <QPoint>
#include <QSize>
#include <QString>

class QWidget;

// The size and place of a window beside the main window, kept in the settings file in a
// group of the window's own.

// Puts window where it was when last closed, or else at size (without its frame) with its
// frame's corner at wanted; either way wholly on a screen: the one that shows the remembered place,
// else the one that shows the main window.
void RestoreWindowPlace(QWidget* window, const QString& group, const QWidget* mainWindow,
                        const QSize& size, const QPoint& wanted);
void SaveWindowPlace(const QWidget* window, const QString& group);
