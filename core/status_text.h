// Layout of the main window's status line: a 64-character line with the text centred on
// column 18.
#pragma once
#include <cstddef>

constexpr int kStatusLineSize = 64;   // buffer, terminator included
constexpr int kStatusCentreColumn = 18;

// Writes the laid-out line into out (kStatusLineSize bytes): blanks up to column
// 18 - length/2 (0 when negative), then the text, cut so that at most 63 characters stand.
void FormatStatusLine(const char* text, char out[kStatusLineSize]);
