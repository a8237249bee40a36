// Millisecond arithmetic of the performance counter, free of the window system.
#pragma once
#include <cstdint>

// 1000.0 / counter frequency, computed once at start-up.
extern double millisecondFactor;

// floor(counter * factor), cut to its low 32 bits: the value MillisecondClock returns.
uint32_t MillisecondsFromCounter(int64_t counter, double factor);

// Elapsed milliseconds between two MillisecondClock readings, correct across the 32-bit wrap.
inline uint32_t ElapsedMilliseconds(uint32_t from, uint32_t to) { return to - from; }

// Whole milliseconds, rounded to nearest, between two counter readings (the frame wait's measure).
int64_t RoundedMillisecondsBetween(int64_t fromCounter, int64_t toCounter, double factor);
