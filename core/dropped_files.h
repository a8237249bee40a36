// Names of dropped files, read whole.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <string>

// The index-th name of the drop, its buffer sized by asking for the length first, so that a
// long name is never cut to the name of another file; empty when there is no such name.
std::wstring DroppedFileName(HDROP drop, UINT index);
