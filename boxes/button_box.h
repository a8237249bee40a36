// The button box's Win32 side shared by its calls, its window procedure and the windows that
// press its buttons by key.
#pragma once
#include <windows.h>

#include "boxes/box_geometry.h"

constexpr int kFirstButtonId = 3000;  // button i has the control identifier 3000 + i

// The open box's grid with its present button size.
ButtonGrid CurrentButtonGrid();

// WM_SIZE: the buttons stretch over the new client area.
void FitButtonsToBox(int clientWidth, int clientHeight);

// Q, E, A, D, W, S and the arrow keys press buttons 0 to 5: the count of that button becomes 1
// when the box is open and has it.  Returns whether the key is one of these, pressed or not.
bool PressButtonByKey(WPARAM key);

// Request 9007: an existing box is destroyed, then one is opened at (x, y) with width columns
// and height rows.
struct MailboxFields;
void OpenButtonBoxRequest(MailboxFields& request);
