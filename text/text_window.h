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
// Returns whether it scrolled (the whole window is then marked for the screen copy).
bool TextNewline(TextWindowRecord& record);

// Draws units at the cursor with the window's colours (one TextOutW) without moving it, and
// marks the line for the screen copy (console_repaint.h).
void DrawTextAtCursor(TextWindowRecord& record, const wchar_t* units, int count);
// KRT_Print of UTF-16 text, for the library's own texts that are not ASCII: they read the same
// in every code page.  The log gets them in the code page, as every print.
void PrintWideText(const wchar_t* text);

// For tests: called, when set, between reading the back buffer and writing into it, so that a
// test can replace the buffer from another thread at exactly that moment.
extern void (*ConsoleWritePause)();

// The text window procedure's parts (text_window.cpp).
void PaintTextWindow(HWND window);
void ResizeTextWindow(HWND window, int width, int height);

// Request 9005.
struct MailboxFields;
void OpenTextWindowRequest(MailboxFields& request);
