#include "core/clock.h"
#include <cmath>

double millisecondFactor = 1.0;

uint32_t MillisecondsFromCounter(int64_t counter, double factor)
{
    const double ms = std::floor(static_cast<double>(counter) * factor);
    // Through a signed 64-bit integer: the low 32 bits are what callers compare.
    return static_cast<uint32_t>(static_cast<uint64_t>(static_cast<int64_t>(ms)));
}

int64_t RoundedMillisecondsBetween(int64_t fromCounter, int64_t toCounter, double factor)
{
    return static_cast<int64_t>(std::floor(static_cast<double>(toCounter - fromCounter) * factor + 0.5));
}
