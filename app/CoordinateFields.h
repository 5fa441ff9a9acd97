#pragma once

#include "app/ControlPanel.h"

class QLineEdit;

// Teaches the Latitude and Longitude fields two things. A coordinate pair pasted into
// either field, or typed and ended with Enter or by leaving the field, fills both in decimal
// degrees. And a field takes no more text than the record check sees (31 bytes of UTF-8): longer
// input is refused as it is typed, never cut unseen; a pasted pair is read before that limit
// applies.
void TeachCoordinateFields(QLineEdit* latitude, QLineEdit* longitude);

// The most bytes of a field's text the record check sees.
constexpr int kFieldTextBytes = static_cast<int>(kFieldTextSize) - 1;
