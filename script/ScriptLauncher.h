#pragma once

#include <string>

// Runs a stored GPS script (IDR_WRITE_GPS or IDR_READ_GPS) on a picture: writes the
// script to a new "K<number>.tmp" in this process's private script folder and has
// g_app.pRunner run
//   perl <temp file> <picturePath> <words of arguments>
// as an argument vector, never through a shell; the picture path stays one argument
// whatever it holds. arguments may be null. Returns 1 when the temporary file was
// written (the run's result comes later as UWM_COMMAND_DONE), 0 when it could not be.
int RunScript(int scriptId, const char* picturePath, const char* arguments);

// The private script folder: "kartavo-<pid>-XXXXXX" in the temporary folder, made on
// first need (mode 0700, verified to be this user's before each use). Making one first
// removes the folders that ended processes of this user left there. Empty while there
// is none.
std::string ScriptFolder();

// Removes the script folders this process made, with the script files in them. Call
// once no run is left; at the end of the process it is done in any case unless a run
// still needs its file.
void RemoveScriptFolders();
