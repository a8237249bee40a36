#include <gtest/gtest.h>

#include "core/snap.h"

namespace {

constexpr int W = 1280, B = 1054;  // screen width and work-area bottom

SnapTableFields BandsAnd(std::initializer_list<SnapRect> windows)
{
    SnapTableFields table{};
    BeginSnapTable(table, W, B);
    for (const SnapRect& r : windows)
        AddSnapRect(table, r);
    return table;
}

SnapRect Snap(const SnapTableFields& table, SnapRect proposed, SnapRect current, bool ctrl = true)
{
    SnapProposedRect(table, proposed, current, ctrl);
    return proposed;
}

void ExpectRect(const SnapRect& r, int left, int top, int right, int bottom)
{
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right, right);
    EXPECT_EQ(r.bottom, bottom);
}

const SnapRect kFar = {600, 600, 700, 700};  // where the moving window was

TEST(Snap, BandsLieJustOutsideTheWorkArea)
{
    SnapTableFields table = BandsAnd({});
    ASSERT_EQ(table.count, 4);
    EXPECT_EQ(table.right[0], 0);   // left band ends at x = 0
    EXPECT_EQ(table.bottom[1], 0);  // top band ends at y = 0
    EXPECT_EQ(table.left[2], W);    // right band starts at x = W
    EXPECT_EQ(table.top[3], B);     // bottom band starts at y = B
}

TEST(Snap, NothingWithoutCtrl)
{
    SnapTableFields table = BandsAnd({});
    ExpectRect(Snap(table, {5, 300, 105, 400}, kFar, false), 5, 300, 105, 400);
}

TEST(Snap, ScreenEdgesWithinSevenPixels)
{
    SnapTableFields table = BandsAnd({});
    ExpectRect(Snap(table, {5, 300, 105, 400}, kFar), 0, 300, 100, 400);
    ExpectRect(Snap(table, {7, 300, 107, 400}, kFar), 0, 300, 100, 400);
    ExpectRect(Snap(table, {8, 300, 108, 400}, kFar), 8, 300, 108, 400);   // 8 is too far
    ExpectRect(Snap(table, {-6, 300, 94, 400}, kFar), 0, 300, 100, 400);  // from outside too
    ExpectRect(Snap(table, {300, 4, 400, 104}, kFar), 300, 0, 400, 100);
    ExpectRect(Snap(table, {1175, 300, 1275, 400}, kFar), 1180, 300, 1280, 400);
    ExpectRect(Snap(table, {300, 950, 400, 1050}, kFar), 300, 954, 400, 1054);
    // A corner takes both axes.
    ExpectRect(Snap(table, {3, 2, 103, 102}, kFar), 0, 0, 100, 100);
}

TEST(Snap, SideBySideThenTopsAligned)
{
    const SnapRect other = {200, 200, 400, 400};
    SnapTableFields table = BandsAnd({other});
    // Left edge 3 pixels right of the other's right edge, tops 5 apart.
    ExpectRect(Snap(table, {403, 205, 503, 305}, kFar), 400, 200, 500, 300);
    // Bottoms within reach instead: aligned at the bottom.
    ExpectRect(Snap(table, {403, 296, 503, 396}, kFar), 400, 300, 500, 400);
    // Right edge near the other's left edge.
    ExpectRect(Snap(table, {95, 250, 195, 350}, kFar), 100, 250, 200, 350);
    // No vertical overlap: no side-by-side snap.
    ExpectRect(Snap(table, {403, 450, 503, 550}, kFar), 403, 450, 503, 550);
}

TEST(Snap, StackedThenLeftEdgesAligned)
{
    const SnapRect other = {200, 200, 400, 400};
    SnapTableFields table = BandsAnd({other});
    // Top 6 pixels below the other's bottom, left edges 4 apart: stacked exactly below, aligned.
    ExpectRect(Snap(table, {204, 406, 304, 506}, kFar), 200, 400, 300, 500);
    // Right edges aligned instead.
    ExpectRect(Snap(table, {295, 406, 395, 506}, kFar), 300, 400, 400, 500);
    // Above it: bottom onto the other's top.
    ExpectRect(Snap(table, {250, 95, 350, 195}, kFar), 250, 100, 350, 200);
    // Touching counts as overlap: a window whose right edge is the other's left edge.
    ExpectRect(Snap(table, {100, 405, 200, 505}, kFar), 100, 400, 200, 500);
}

TEST(Snap, FirstEntryWinsAnAxis)
{
    // Two windows both within reach of the left edge; the one entered first wins.
    const SnapRect first = {0, 0, 100, 1000};
    const SnapRect second = {0, 0, 103, 1000};
    SnapTableFields table = BandsAnd({first, second});
    ExpectRect(Snap(table, {105, 300, 205, 400}, kFar), 100, 300, 200, 400);
    SnapTableFields reversed = BandsAnd({second, first});
    ExpectRect(Snap(reversed, {105, 300, 205, 400}, kFar), 103, 300, 203, 400);
}

TEST(Snap, NeverToItsOwnRectangle)
{
    const SnapRect self = {300, 300, 400, 400};
    SnapTableFields table = BandsAnd({self});
    // The proposed rectangle sits 3 pixels from where the window is now: no snap to itself.
    ExpectRect(Snap(table, {403, 300, 503, 400}, self), 403, 300, 503, 400);
    // The same rectangle belonging to another window is snapped to.
    ExpectRect(Snap(table, {403, 300, 503, 400}, kFar), 400, 300, 500, 400);
}

TEST(Snap, TableHoldsAtMost260Entries)
{
    SnapTableFields table{};
    BeginSnapTable(table, W, B);
    for (int i = 0; i < 400; ++i)
        AddSnapRect(table, {i, i, i + 1, i + 1});
    EXPECT_EQ(table.count, kSnapCapacity);
}

}  // namespace
