#pragma once

// Runs a stored GPS script (IDR_WRITE_GPS or IDR_READ_GPS) on a picture: writes the
// script to a new "K<number>.tmp" in the temporary folder and has g_app.pRunner run
//   perl <temp file> <picturePath> <words of arguments>
// as an argument vector, never through a shell; the picture path stays one argument
// whatever it holds. arguments may be null. Returns 1 when the temporary file was
// written (the run's result comes later as UWM_COMMAND_DONE), 0 when it could not be.
int RunScript(int scriptId, const char* picturePath, const char* arguments);
