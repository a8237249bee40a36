// The name of a text window's log file: the log folder, then KRTLIB, the instance number and
// the slot with nothing between them, then .LOG.
#pragma once
#include <cstddef>

// Returns false when the name does not fit `size` bytes (nothing usable is written then).
bool FormatLogName(char* out, std::size_t size, const char* folder, int instance, int slot);
