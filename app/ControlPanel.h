#pragma once

#include <cstddef>

class QWidget;

// Builds every control of the main window but the map, in its client area, and stores
// the fields, the information box and the image window in g_app. Returns 0.
int CreateControlPanel(QWidget* mainWindow);

// Replaces the whole text of the information box; "\r\n" may end its lines.
void SetInfoText(const char* text);

// A coordinate field's text as it is read for a command: at most 31 bytes.
constexpr std::size_t kFieldTextSize = 32;
class QLineEdit;
void ReadField(const QLineEdit* field, char (&text)[kFieldTextSize]);

// Reads the Latitude and Longitude fields and checks them as a record does; false (with
// the sentence saying what is wrong in problem) when they hold no position to write.
bool ReadPositionFields(char (&latitude)[kFieldTextSize], char (&longitude)[kFieldTextSize],
                        char* problem, std::size_t size);
