// The screen copy of each console.  Drawing goes to the back buffer at once and marks its rows;
// the window is brought up to date from the back buffer at most once per display frame, over
// the rows that changed: by the print that finds a frame's changes due, by a timer on the window
// when printing stops, and by WaitNextFrame at the end of a program's frame.
#pragma once
#include "text/text_window_table.h"

// Per slot, beside TextWindowTable: what waits for the screen, and how far down the back buffer
// holds anything but black.
void ResetConsoleScreen(int slot);

// Rows [top, bottom) of the back buffer were drawn; the whole window after a scroll.
void MarkConsoleRows(const TextWindowRecord& record, int top, int bottom);
void MarkConsoleWhole(const TextWindowRecord& record);

// Rows from 0 down to this one may hold pixels other than black (everything below is black).
int ConsoleInkBottom(const TextWindowRecord& record);
void SetConsoleInkBottom(const TextWindowRecord& record, int bottom);

// Whether changes wait for the screen.
bool ConsoleHasChanges(const TextWindowRecord& record);

// After a print or a typed character, at `now` (MillisecondClock): copies the changes when they
// are due (see repaint_pacing.h), else makes sure the window's timer will.  `quietBefore`:
// nothing waited before this print.  From a thread other than the window's own, the changed rows
// are only invalidated, for the window's thread to paint.  Returns whether it copied.
bool PresentConsole(const TextWindowRecord& record, bool quietBefore, unsigned now);

// The window's repaint timer went off.
void OnConsoleRepaintTimer(int slot);

// The end of a program's frame: every console whose last copy is a frame old shows its changes
// now; the others are left to their timers, so that no window is copied twice in one frame.
void PresentConsolesForFrame();

// Screen copies made so far (the console's own and its WM_PAINTs), for benchmarks and tests.
int ConsoleScreenCopies(int slot);
void CountConsolePaint(int slot);

// The identifier of the repaint timer on a text window.
constexpr unsigned kConsoleRepaintTimer = 1;
