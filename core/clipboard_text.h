// Narrow text offered on the clipboard in UTF-16 as well.  The system would make CF_UNICODETEXT
// from CF_TEXT with the code page of the clipboard's locale, which need not be this process's
// (a UTF-8 program on a Japanese system): the library converts with its own code page instead,
// so that other programs read the text right.
#pragma once
#include <windows.h>

// A new block for CF_UNICODETEXT holding the UTF-16 form of the zero-terminated narrow text in
// `narrowBlock` (which stays the caller's); null when there is no memory for it.
HGLOBAL WidenedTextBlock(HGLOBAL narrowBlock);

// Hands a block to the open clipboard as `format`; a block the clipboard refuses is freed.
// Returns whether the clipboard took it.
bool GiveToClipboard(UINT format, HGLOBAL block);
