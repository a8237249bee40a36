// The image windows: the records and pixel pointers a program reads are declared in krtlib.h;
// here is the history of the current image that only the library keeps.
#pragma once
#include "core/handles.h"
#include "krtlib.h"

constexpr int kImageHistoryDepth = 8;

extern int CurrentImageHistory[kImageHistoryDepth];  // newest first
