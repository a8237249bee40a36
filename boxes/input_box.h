// The input box's Win32 side shared by its calls and its window procedure.
#pragma once
#include <windows.h>

#include "boxes/box_geometry.h"

InputColumns CurrentInputColumns();

// Places every label and edit by the present column widths.
void LayOutInputBox();

// The focus goes back to the field that had it last (item 0 at first), and item 0's whole text
// is selected, so that typing replaces it.
void FocusInputBox();

// Copies an edit's text into its item's value; a window that is no item's edit is ignored.
void CommitEdit(HWND edit);

// Sets an item's label, first wiping the old text (a simple static does not erase its
// background, so a shorter text would leave the end of a longer one visible).
void SetInputLabel(int item, const char* text);

// Request 9006: an existing box is destroyed, then one is opened at (x, y) with `slot` items.
struct MailboxFields;
void OpenInputBoxRequest(MailboxFields& request);
