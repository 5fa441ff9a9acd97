#pragma once

#include <QByteArray>
#include <QString>

class QUrl;

// File names on Linux are bytes; not every name is UTF-8 (old disks and cameras). These
// keep a name's own bytes from a file address to the scripts, and show them readably.

// The local file's path as the bytes the file system holds, or empty when url is no
// local file. A file address keeps the bytes percent-encoded; QUrl::toLocalFile would
// decode them as UTF-8 and lose those that are not.
QByteArray LocalPathBytes(const QUrl& url);

// The file address of path (its own bytes), every byte that needs it percent-encoded.
QUrl FileUrl(const QByteArray& path);

// path for people to read: UTF-8 as it is, any other byte as "\xHH".
QString ReadablePath(const QByteArray& path);
