// The two single-instance boxes: the input box of labelled edit fields and the button box.
#pragma once
#include "core/handles.h"

constexpr int kInputBoxMaxItems = 30;
constexpr int kInputValueSize = 256;

struct InputBoxFields {
    WindowHandle box;         // 0 while there is none
    int itemCount;            // 1 to 30
    int labelWidth;           // ISIZE, kept across boxes
    int editWidth;            // ESIZE, kept across boxes
    WindowHandle labels[kInputBoxMaxItems];
    WindowHandle edits[kInputBoxMaxItems];
    char* itemValue[kInputBoxMaxItems];  // 256-byte buffers while the box is open
    WindowHandle lastFocusedEdit;
    int sizingEdge;
    int renameRow;
};

constexpr int kButtonBoxMaxButtons = 256;

struct ButtonBoxFields {
    WindowHandle box;   // 0 while there is none
    int columns;        // NX
    int rows;           // NY
    int count;          // NX * NY
    int buttonWidth;    // kept across boxes
    int buttonHeight;
    WindowHandle buttons[kButtonBoxMaxButtons];
    int pressCount[kButtonBoxMaxButtons];
    int renameTarget;
};

extern InputBoxFields InputBox;
extern ButtonBoxFields ButtonBox;

// Both boxes as a freshly started process has them: none open, the initial column widths and
// button size, no values held.
void ResetBoxes();
