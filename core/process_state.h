// Process-wide values taken at start-up that portable code also reads.
#pragma once
#include "core/narrow_text.h"

constexpr int kPathChars = 260;
constexpr int kMaxInstances = 10;

// A folder as kept here: a path and the backslash after it, in UTF-16 units, and the same in
// the process's code page, where a unit can take up to three bytes (UTF-8).
constexpr int kFolderChars = kPathChars + 1;
constexpr int kFolderBytes = kMaxNarrowBytesPerUnit * kFolderChars;

extern int instanceNumber;      // 0 to 9, part of the main window class and of log file names
extern int displayColourDepth;  // bits per pixel of the display, read when the main window is created

// Working directory at start-up, narrow (system code page): the first folder of the open and
// save dialogs, and the folder of the log files (which ends in a backslash unless it is empty).
// Empty when the working directory could not be read.
extern char openFolder[kFolderBytes];
extern char saveFolder[kFolderBytes];
extern char logFolder[kFolderBytes];
