#include <gtest/gtest.h>

#include <array>

#include "boxes/box_geometry.h"

namespace {

std::array<int, 4> Rect(const BoxRect& r) { return {r.x, r.y, r.width, r.height}; }

TEST(ButtonGrid, AtMost256ButtonsCountedWithoutOverflow)
{
    EXPECT_TRUE(ValidButtonGrid(16, 16));
    EXPECT_FALSE(ValidButtonGrid(16, 17));
    EXPECT_FALSE(ValidButtonGrid(0, 5));
    EXPECT_FALSE(ValidButtonGrid(-16, -16));
    EXPECT_FALSE(ValidButtonGrid(65536, 65536));  // the product wraps to 0 in 32 bits
}

TEST(ButtonGrid, ButtonsRowByRowAndTheResizeRule)
{
    ButtonGrid grid = {2, 6, 98, 26};
    EXPECT_EQ(Rect(ButtonRect(grid, 3)), (std::array<int, 4>{106, 34, 98, 26}));
    FitButtonsToClient(grid, 300, 200);
    EXPECT_EQ(grid.buttonWidth, 144);  // (300 - 12) / 2
    EXPECT_EQ(grid.buttonHeight, 28);  // (200 - 28) / 6
    // A box opened at that size gets a client that keeps it.
    const BoxSize client = ButtonBoxClientSize(grid);
    EXPECT_EQ(client.width, 300);
    EXPECT_EQ(client.height, 196);
    FitButtonsToClient(grid, 5, 5);  // smaller than the gaps: buttons of no size, never negative
    EXPECT_EQ(grid.buttonWidth, 0);
    EXPECT_EQ(grid.buttonHeight, 0);
}

TEST(ButtonGrid, ClicksInTheGapsBeyondTheGridGoToTheLastColumnOrRow)
{
    ButtonGrid grid = {2, 6, 98, 26};  // cells of 102 x 30, client 208 x 184
    EXPECT_EQ(ButtonAtPoint(grid, 101, 29), 0);
    EXPECT_EQ(ButtonAtPoint(grid, 102, 30), 3);
    EXPECT_EQ(ButtonAtPoint(grid, 206, 10), 1);   // right of the last column
    EXPECT_EQ(ButtonAtPoint(grid, 10, 182), 10);  // below the last row
    grid.buttonWidth = grid.buttonHeight = 0;
    EXPECT_EQ(ButtonAtPoint(grid, 900, 900), 11);
}

TEST(InputColumns, ItemsInRowsOf28AndTheColumnRuleOfEachEdge)
{
    InputColumns columns = {80, 70};
    EXPECT_EQ(Rect(InputLabelRect(columns, 2)), (std::array<int, 4>{4, 63, 80, 24}));
    EXPECT_EQ(Rect(InputEditRect(columns, 2)), (std::array<int, 4>{88, 60, 70, 24}));
    EXPECT_EQ(InputBoxClientSize(columns, 3).width, 162);
    EXPECT_EQ(InputBoxClientSize(columns, 3).height, 86);

    FitColumnsToClient(columns, 162 + 30, false);  // a right edge: the edits take it
    EXPECT_EQ(columns.labelWidth, 80);
    EXPECT_EQ(columns.editWidth, 100);
    FitColumnsToClient(columns, 192 + 25, true);  // a left edge: the labels take it
    EXPECT_EQ(columns.labelWidth, 105);
    EXPECT_EQ(columns.editWidth, 100);
    FitColumnsToClient(columns, 50, true);
    EXPECT_EQ(columns.labelWidth, 1);

    EXPECT_EQ(InputRowAt(83, 3), 2);
    EXPECT_EQ(InputRowAt(84, 3), -1);  // the strip under the last item
}

}  // namespace
