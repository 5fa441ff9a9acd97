#pragma once

#include <cstddef>

#include <string>

class QByteArray;
class QWidget;
class ScriptRunner;

// Shows the file dialog; copies the chosen path into destination and returns 1, or
// returns 0 and leaves destination as it was.
int BrowseForPicture(QWidget* owner, char* destination, std::size_t size);

// "Open Picture": choose a picture with the file dialog and read it.
void OpenPicture(QWidget* owner);

// Makes path (the file name's own bytes) the current picture, shows it and reads its
// information; anything but a regular file is refused with the reason and is then no
// longer the current picture.
void ReadPicture(const QByteArray& path);

// A picture was dropped on the image window.
void TakePicture(const QByteArray& path);

// "Record to picture": write the fields' position into the current picture.
void RecordPosition();

// Why the reported run failed: the script's first error line, or how it ended.
std::string RunFailureReason(const ScriptRunner& runner);

// The picture the reported read run was started for.
std::string ReportedPicture(const ScriptRunner& runner);

// A script's run has been reported.
void OnScriptDone(int scriptId, ScriptRunner* runner);
