// The log file of each text window.  Printing (on either thread) and Exit's closing of all
// logs (on the GUI thread) go through one lock per slot, so no write reaches a closed stream
// and everything printed before Exit is on disk.
#pragma once
#include <cstddef>

// Writes bytes to the slot's log when it is logging (state 1); otherwise nothing.
void WriteLog(int slot, const char* bytes, std::size_t length);

// Exit's closing of every log: each lock is waited for until `milliseconds` have passed in all,
// and a log whose lock is still held then stays open (everything written to it is on disk).
void CloseAllLogsWithin(unsigned milliseconds);
