#include "boxes/box_geometry.h"

#include <algorithm>

#include "boxes/box_state.h"

namespace {

constexpr int kInputMargin = 4;       // left of the labels and above the first row
constexpr int kInputColumnGap = 4;    // between the label and the edit column
constexpr int kInputControlHeight = 24;
constexpr int kLabelDrop = 3;         // a label sits this far below its edit's top
constexpr int kInputWidthExtra = 12;  // margins and the column gap, beside the two columns

}  // namespace

bool ValidButtonGrid(int columns, int rows)
{
    // Each side is bounded first, so that the product cannot overflow into a small number.
    return columns > 0 && rows > 0 && columns <= kButtonBoxMaxButtons && rows <= kButtonBoxMaxButtons &&
           columns * rows <= kButtonBoxMaxButtons;
}

BoxRect ButtonRect(const ButtonGrid& grid, int index)
{
    const int column = index % grid.columns, row = index / grid.columns;
    return {column * (grid.buttonWidth + kButtonGap) + kButtonGap,
            row * (grid.buttonHeight + kButtonGap) + kButtonGap, grid.buttonWidth, grid.buttonHeight};
}

BoxSize ButtonBoxClientSize(const ButtonGrid& grid)
{
    return {grid.columns * (grid.buttonWidth + kButtonGap) + kButtonGap,
            grid.rows * (grid.buttonHeight + kButtonGap) + kButtonGap};
}

void FitButtonsToClient(ButtonGrid& grid, int clientWidth, int clientHeight)
{
    grid.buttonWidth = std::max(1, clientWidth - (kButtonGap * grid.columns + kButtonGap)) / grid.columns;
    grid.buttonHeight = std::max(1, clientHeight - (kButtonGap * grid.rows + kButtonGap)) / grid.rows;
}

int ButtonAtPoint(const ButtonGrid& grid, int x, int y)
{
    const int column = std::clamp(x / (grid.buttonWidth + kButtonGap), 0, grid.columns - 1);
    const int row = std::clamp(y / (grid.buttonHeight + kButtonGap), 0, grid.rows - 1);
    return row * grid.columns + column;
}

int ClampItemCount(int items) { return std::clamp(items, 1, kInputBoxMaxItems); }

BoxRect InputLabelRect(const InputColumns& columns, int item)
{
    return {kInputMargin, kInputMargin + kInputRowHeight * item + kLabelDrop, columns.labelWidth,
            kInputControlHeight};
}

BoxRect InputEditRect(const InputColumns& columns, int item)
{
    return {columns.labelWidth + kInputMargin + kInputColumnGap, kInputMargin + kInputRowHeight * item,
            columns.editWidth, kInputControlHeight};
}

BoxSize InputBoxClientSize(const InputColumns& columns, int items)
{
    return {columns.labelWidth + columns.editWidth + kInputWidthExtra, kInputRowHeight * items + 2};
}

void FitColumnsToClient(InputColumns& columns, int clientWidth, bool leftEdgeDragged)
{
    if (leftEdgeDragged)
        columns.labelWidth = std::max(1, clientWidth - columns.editWidth - kInputWidthExtra);
    else
        columns.editWidth = std::max(1, clientWidth - columns.labelWidth - kInputWidthExtra);
}

int InputRowAt(int y, int itemCount)
{
    if (y < 0)
        return -1;
    const int row = y / kInputRowHeight;
    return row < itemCount ? row : -1;
}
