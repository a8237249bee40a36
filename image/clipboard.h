// Images through the system clipboard: CopyImageToClipboard and PasteClipboardImage (declared in
// krtlib.h), the picture read from the clipboard, the paste request of the main window, and the
// clipboard commands of an image window.
#pragma once
#include <windows.h>

#include "core/mailbox.h"

// The clipboard's picture as a new bitmap in the display's format, which the caller owns; null
// when there is none.  CF_DIB when it is offered, checked whole against its block first (a
// block that fails is no picture, and no other format stands in for it); else CF_BITMAP.  For
// a DIB of 8 bits or fewer, palette receives its colour table and count the number of entries;
// count is 0 otherwise.
HBITMAP GetClipboardBitmap(RGBQUAD (&palette)[256], int& count);

// Request 9004: the request's bitmap drawn into the current image at (0, 0), then deleted.
// The window is not invalidated; the poster asks for a refresh next.
void PasteBitmapRequest(MailboxFields& request);

// 1011 Cut, 1012 Copy, 1013 Paste (placed with the mouse) and 1014 Paste (Ctrl+V, at the top
// left) of image window `window`.  Returns whether `id` is one of them.
bool RunClipboardCommand(HWND window, int id);
