#include <gtest/gtest.h>

#include "boxes/box_geometry.h"

namespace {

void ExpectRect(const BoxRect& r, int x, int y, int width, int height)
{
    EXPECT_EQ(r.x, x);
    EXPECT_EQ(r.y, y);
    EXPECT_EQ(r.width, width);
    EXPECT_EQ(r.height, height);
}

TEST(ButtonGrid, AtMost256ButtonsOfPositiveSides)
{
    EXPECT_TRUE(ValidButtonGrid(16, 16));
    EXPECT_TRUE(ValidButtonGrid(1, 256));
    EXPECT_FALSE(ValidButtonGrid(16, 17));
    EXPECT_FALSE(ValidButtonGrid(0, 5));
    EXPECT_FALSE(ValidButtonGrid(5, -1));
    EXPECT_FALSE(ValidButtonGrid(-16, -16));      // a positive product is not enough
    EXPECT_FALSE(ValidButtonGrid(65536, 65536));  // the product wraps to 0 in 32 bits
    EXPECT_FALSE(ValidButtonGrid(257, 1));
}

TEST(ButtonGrid, ButtonsRowByRowWithFourPixelGaps)
{
    const ButtonGrid grid = {3, 2, 98, 26};
    ExpectRect(ButtonRect(grid, 0), 4, 4, 98, 26);
    ExpectRect(ButtonRect(grid, 2), 4 + 2 * 102, 4, 98, 26);
    ExpectRect(ButtonRect(grid, 3), 4, 4 + 30, 98, 26);  // the second row starts again at the left
    ExpectRect(ButtonRect(grid, 5), 208, 34, 98, 26);
    const BoxSize client = ButtonBoxClientSize(grid);
    EXPECT_EQ(client.width, 3 * 102 + 4);
    EXPECT_EQ(client.height, 2 * 30 + 4);
}

TEST(ButtonGrid, ResizingStretchesTheButtonsAndAReopenedBoxKeepsTheSize)
{
    ButtonGrid grid = {2, 6, 98, 26};
    FitButtonsToClient(grid, 300, 200);
    EXPECT_EQ(grid.buttonWidth, 144);  // (300 - 12) / 2
    EXPECT_EQ(grid.buttonHeight, 28);  // (200 - 28) / 6
    // A box opened with that size has a client that gives the same size back.
    const BoxSize client = ButtonBoxClientSize(grid);
    EXPECT_EQ(client.width, 300);
    EXPECT_EQ(client.height, 196);
    FitButtonsToClient(grid, client.width, client.height);
    EXPECT_EQ(grid.buttonWidth, 144);
    EXPECT_EQ(grid.buttonHeight, 28);
}

TEST(ButtonGrid, ATinyClientGivesButtonsOfNoSizeButNeverNegative)
{
    ButtonGrid grid = {2, 6, 98, 26};
    FitButtonsToClient(grid, 5, 5);
    EXPECT_EQ(grid.buttonWidth, 0);  // max(1, 5 - 12) / 2
    EXPECT_EQ(grid.buttonHeight, 0);
    FitButtonsToClient(grid, 14, 40);
    EXPECT_EQ(grid.buttonWidth, 1);
    EXPECT_EQ(grid.buttonHeight, 2);
    // The click mapping still works on buttons of width 0.
    grid.buttonWidth = 0;
    EXPECT_EQ(ButtonAtPoint(grid, 5, 0), 1);
}

TEST(ButtonGrid, ClicksMapToTheCellAndTheGapsBeyondTheGridToTheLastColumnOrRow)
{
    const ButtonGrid grid = {2, 6, 98, 26};  // cells of 102 x 30
    EXPECT_EQ(ButtonAtPoint(grid, 0, 0), 0);
    EXPECT_EQ(ButtonAtPoint(grid, 101, 29), 0);
    EXPECT_EQ(ButtonAtPoint(grid, 102, 29), 1);
    EXPECT_EQ(ButtonAtPoint(grid, 101, 30), 2);
    // The gap right of the last column (client x 204 to 207): still column 1.
    EXPECT_EQ(ButtonAtPoint(grid, 205, 40), 3);
    // Below the last row (client y 180 to 183) and beyond a stretched client: row 5.
    EXPECT_EQ(ButtonAtPoint(grid, 10, 182), 10);
    EXPECT_EQ(ButtonAtPoint(grid, 900, 900), 11);
}

TEST(InputColumns, ItemCountsAreClampedToOneToThirty)
{
    EXPECT_EQ(ClampItemCount(0), 1);
    EXPECT_EQ(ClampItemCount(-7), 1);
    EXPECT_EQ(ClampItemCount(12), 12);
    EXPECT_EQ(ClampItemCount(45), 30);
}

TEST(InputColumns, LabelsAndEditsInRowsOf28)
{
    const InputColumns columns = {80, 70};
    ExpectRect(InputLabelRect(columns, 0), 4, 7, 80, 24);
    ExpectRect(InputEditRect(columns, 0), 88, 4, 70, 24);
    ExpectRect(InputLabelRect(columns, 2), 4, 63, 80, 24);
    ExpectRect(InputEditRect(columns, 2), 88, 60, 70, 24);
    const BoxSize client = InputBoxClientSize(columns, 3);
    EXPECT_EQ(client.width, 162);
    EXPECT_EQ(client.height, 86);
}

TEST(InputColumns, TheRightEdgesWidenTheEditColumnAndTheLeftEdgesTheLabelColumn)
{
    InputColumns columns = {80, 70};
    FitColumnsToClient(columns, 162 + 30, false);
    EXPECT_EQ(columns.labelWidth, 80);
    EXPECT_EQ(columns.editWidth, 100);
    FitColumnsToClient(columns, 192 + 25, true);
    EXPECT_EQ(columns.labelWidth, 105);
    EXPECT_EQ(columns.editWidth, 100);
    // The edits move with the label column.
    EXPECT_EQ(InputEditRect(columns, 1).x, 113);
    // Narrowing past the other column's width leaves a column of 1.
    FitColumnsToClient(columns, 50, true);
    EXPECT_EQ(columns.labelWidth, 1);
    EXPECT_EQ(columns.editWidth, 100);
    FitColumnsToClient(columns, 0, false);
    EXPECT_EQ(columns.editWidth, 1);
}

TEST(InputColumns, RowsUnderTheCursorAndNoneBelowTheLastItem)
{
    EXPECT_EQ(InputRowAt(0, 3), 0);
    EXPECT_EQ(InputRowAt(27, 3), 0);
    EXPECT_EQ(InputRowAt(28, 3), 1);
    EXPECT_EQ(InputRowAt(83, 3), 2);
    EXPECT_EQ(InputRowAt(84, 3), -1);  // the 2-pixel strip under the last row
    EXPECT_EQ(InputRowAt(-1, 3), -1);
}

}  // namespace
