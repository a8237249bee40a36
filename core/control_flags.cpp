#include "core/control_flags.h"

std::atomic<int> startRequested{0};
std::atomic<int> running{0};
std::atomic<int> stopRequested{0};
std::atomic<int> exitState{0};
std::atomic<int> exitOverdue{0};
std::atomic<int> exitForced{0};

void ResetControlFlags()
{
    startRequested = 0;
    running = 0;
    stopRequested = 0;
    exitState = 0;
    exitOverdue = 0;
    exitForced = 0;
}
