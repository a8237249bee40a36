// Process-wide values taken at start-up that portable code also reads.
#pragma once

constexpr int kPathChars = 260;
constexpr int kMaxInstances = 10;

extern int instanceNumber;      // 0 to 9, part of the main window class and of log file names
extern int displayColourDepth;  // bits per pixel of the display, read when the main window is created

// Working directory at start-up, narrow (system code page): the first folder of the open and
// save dialogs, and the folder of the log files (which always ends in a backslash).
extern char openFolder[kPathChars];
extern char saveFolder[kPathChars];
extern char logFolder[kPathChars];
