// Building the library's popup menus: items inserted by position, texts widened from the
// system code page, tracked at the cursor with the right button and destroyed afterwards.
#pragma once
#include <windows.h>

constexpr int kMenuTextChars = 256;

void InsertTextItem(HMENU menu, UINT position, UINT id, const char* text, UINT state);
void InsertSeparator(HMENU menu, UINT position);
void InsertSubmenu(HMENU menu, UINT position, HMENU submenu, const char* text);

// TrackPopupMenu at the cursor position with TPM_RIGHTBUTTON, owned by `owner`; then
// DestroyMenu.  The chosen item arrives later as WM_COMMAND.
void TrackAndDestroyPopup(HMENU menu, HWND owner);
