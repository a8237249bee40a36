// The text windows' Win32 side, shared by printing, line input, the logs and the window
// procedure.
#pragma once
#include <windows.h>

#include "krtlib.h"
#include "text/text_window_table.h"

// The lowest open slot whose window is `window`, or -1.
int FindTextWindowSlot(HWND window);

// The current slot's record when that slot is open, else nullptr.
TextWindowRecord* CurrentOpenTextWindow();

// Newline in a text window: cursorX = 0, cursorY one line down, then the scroll step.
// Returns whether it scrolled.
bool TextNewline(TextWindowRecord& record);

// Draws units at the cursor with the window's colours (one TextOutW) without moving it.
void DrawTextAtCursor(TextWindowRecord& record, const wchar_t* units, int count);

// Invalidates `cells` cells at the cursor, or the whole window.
void InvalidateCells(const TextWindowRecord& record, int cells);
void InvalidateWhole(const TextWindowRecord& record);

// The text window procedure's parts (text_window.cpp).
void PaintTextWindow(HWND window);
void ResizeTextWindow(HWND window, int width, int height);

// Request 9005.
struct MailboxFields;
void OpenTextWindowRequest(MailboxFields& request);
