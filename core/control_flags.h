// The four flags the GUI thread and the user-program thread share.  They are atomics because
// each is written on one thread and polled on the other.
#pragma once
#include <atomic>

extern std::atomic<int> startRequested;  // GUI sets 1 on Start; the user thread clears it
extern std::atomic<int> running;         // 1 while UserProgramMain runs
extern std::atomic<int> stopRequested;   // cooperative stop, polled by WaitNextFrame and the tools
extern std::atomic<int> exitState;       // 0 normal, 1 Exit requested, 2 the user thread has left its loop
extern std::atomic<int> exitOverdue;     // 1 once Exit's wait has run out: the user thread ends at its next library call
extern std::atomic<int> exitForced;      // 1 once Exit has terminated the user thread wherever it was

// Back to the state of a freshly started process.
void ResetControlFlags();
