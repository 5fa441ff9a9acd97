#pragma once

#include <QByteArray>
#include <QString>

// Replaces path with bytes whole or not at all: a new file beside it, flushed to disk,
// renamed over it, and the folder flushed, so a power cut leaves the old file or the new.
bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* problem);
