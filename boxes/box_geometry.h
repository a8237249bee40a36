// Where the controls of the two boxes go, and how their sizes follow the window's client area.
// Pure arithmetic: the window procedures feed it client sizes and points and place the
// controls where it says.
#pragma once

struct BoxSize {
    int width, height;
};

struct BoxRect {
    int x, y, width, height;
};

// ---- Button box: a grid of equal buttons with 4-pixel gaps between and around them -----------

constexpr int kButtonGap = 4;

struct ButtonGrid {
    int columns;       // NX
    int rows;          // NY
    int buttonWidth;
    int buttonHeight;
};

// nx and ny positive and at most 256 buttons in all (checked without overflowing).
bool ValidButtonGrid(int columns, int rows);

// Button i's rectangle in the client area (row i / NX, column i mod NX).
BoxRect ButtonRect(const ButtonGrid& grid, int index);
BoxSize ButtonBoxClientSize(const ButtonGrid& grid);

// The buttons stretch to a new client size; a very small client gives buttons of width or
// height 0.
void FitButtonsToClient(ButtonGrid& grid, int clientWidth, int clientHeight);

// The button whose cell holds the client point; points in the gaps right of the last column or
// below the last row belong to the last column or row.
int ButtonAtPoint(const ButtonGrid& grid, int x, int y);

// ---- Input box: a column of labels beside a column of edits, one item per 28-pixel row -------

constexpr int kInputRowHeight = 28;

struct InputColumns {
    int labelWidth;  // ISIZE
    int editWidth;   // ESIZE
};

int ClampItemCount(int items);  // 1 to kInputBoxMaxItems

BoxRect InputLabelRect(const InputColumns& columns, int item);
BoxRect InputEditRect(const InputColumns& columns, int item);
BoxSize InputBoxClientSize(const InputColumns& columns, int items);

// A new client width after a drag of the frame: the column beside the dragged edge takes up the
// change (the label column for the left edges, the edit column otherwise); neither goes below 1.
void FitColumnsToClient(InputColumns& columns, int clientWidth, bool leftEdgeDragged);

// The item row at client y, or -1 when y lies below the last item.
int InputRowAt(int y, int itemCount);
