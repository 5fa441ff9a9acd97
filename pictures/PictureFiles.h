#pragma once

#include <QByteArray>
#include <QList>

#include <atomic>
#include <functional>

// Whether a file name ends in an extension of a picture format the batch can tag.
bool HasPictureExtension(const QByteArray& name);

// The pictures in folder, and in its sub-folders when asked, as their names' own bytes
// (names that are not UTF-8 stay openable), sorted. Hidden files and folders are left
// out; links to folders are not followed, so a loop of links ends. Returns what was found
// so far when stop becomes true.
QList<QByteArray> ListPictureFiles(const QByteArray& folder, bool subfolders,
                                   const std::atomic<bool>* stop = nullptr);

// The same, handed over a folder at a time as the folders are walked, so that the first
// can be shown while the others are looked for.
void ListPictureFiles(const QByteArray& folder, bool subfolders, const std::atomic<bool>* stop,
                      const std::function<void(QList<QByteArray>&& files)>& onFolder);
