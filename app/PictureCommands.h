#pragma once

#include <cstddef>

class QByteArray;
class QString;
class QWidget;
class ScriptRunner;

// Shows the file dialog; copies the chosen path into destination and returns 1, or
// returns 0 and leaves destination as it was.
int BrowseForPicture(QWidget* owner, char* destination, std::size_t size);

// "Open Picture": choose a picture with the file dialog and read it.
void OpenPicture(QWidget* owner);

// A picture was dropped on the image window.
void TakePicture(const QString& path);

// The same for a listed picture, by its name's own bytes (which need not be UTF-8).
void TakePictureFile(const QByteArray& path);

// "Record to picture": write the fields' position into the current picture.
void RecordPosition();

// A script's run has been reported.
void OnScriptDone(int scriptId, ScriptRunner* runner);
