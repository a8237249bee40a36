// The name of a text window's log file: the log folder, then KRTLIB, the instance number and
// the slot with nothing between them, then .LOG.  Wide, so that a folder with characters
// outside the system code page names its own file.
#pragma once
#include <cstddef>

#include "core/process_state.h"

// Room for a name in the longest folder the library keeps (a path and its backslash).
constexpr std::size_t kLogNameUnits = kFolderChars + 16;

// Returns false when the name does not fit `units` units; nothing usable is written then, and
// no cut name may be opened in its place.
bool FormatLogName(wchar_t* out, std::size_t units, const wchar_t* folder, int instance, int slot);
