#include <gtest/gtest.h>

#include "app/chain_model.h"

namespace {

ChainState Fresh()
{
    ChainState chain{};
    StartChain(chain);
    return chain;
}

void ExpectPoint(const ChainPoint& p, int x, int y, int r)
{
    EXPECT_EQ(p.x, x);
    EXPECT_EQ(p.y, y);
    EXPECT_EQ(p.radius, r);
}

TEST(Chain, StartsWithTwoPointsOfRadius40)
{
    ChainState chain = Fresh();
    EXPECT_EQ(chain.pointCount, 2);
    ExpectPoint(chain.points[0], 100, 300, 40);
    ExpectPoint(chain.points[1], 500, 100, 40);
}

TEST(Chain, NumPlusFromTwoPointsAddsTheIntegerMidpoint)
{
    ChainState chain = Fresh();
    chain.points[1] = {501, 100, 40};
    ToggleEditView(chain);  // edit on: still two points
    EXPECT_EQ(chain.pointCount, 2);
    AddChainPoint(chain);
    ASSERT_EQ(chain.pointCount, 3);
    ExpectPoint(chain.points[0], 100, 300, 40);
    ExpectPoint(chain.points[1], 300, 200, 40);  // (100 + 401 * 1 / 2) = 300
    ExpectPoint(chain.points[2], 501, 100, 40);
}

TEST(Chain, FortyPressesStopAtThirtyTwo)
{
    ChainState chain = Fresh();
    ToggleEditView(chain);
    for (int i = 0; i < 40; ++i)
        AddChainPoint(chain);
    EXPECT_EQ(chain.pointCount, 32);
    ExpectPoint(chain.points[31], 500, 100, 40);
    ExpectPoint(chain.points[0], 100, 300, 40);
}

TEST(Chain, NumMinusAtTwoAndBothOutsideTheEditViewDoNothing)
{
    ChainState chain = Fresh();
    const ChainState before = chain;
    AddChainPoint(chain);  // edit view off
    RemoveChainPoint(chain);
    EXPECT_EQ(chain.pointCount, 2);
    ToggleEditView(chain);
    RemoveChainPoint(chain);
    EXPECT_EQ(chain.pointCount, 2);
    ExpectPoint(chain.points[1], before.points[1].x, before.points[1].y, before.points[1].radius);
}

TEST(Chain, EditViewRebuildsTheSavedNumberOfEvenlySpacedPoints)
{
    ChainState chain = Fresh();
    ToggleEditView(chain);
    for (int i = 0; i < 3; ++i)
        AddChainPoint(chain);
    ASSERT_EQ(chain.pointCount, 5);
    chain.points[2] = {7, 7, 7};  // moved by hand: not kept
    ToggleEditView(chain);        // off: only the ends survive
    EXPECT_EQ(chain.pointCount, 2);
    ExpectPoint(chain.points[1], 500, 100, 40);
    ToggleEditView(chain);  // on again: five points between the same ends
    ASSERT_EQ(chain.pointCount, 5);
    const int xs[] = {100, 200, 300, 400, 500}, ys[] = {300, 250, 200, 150, 100};
    for (int i = 0; i < 5; ++i)
        ExpectPoint(chain.points[i], xs[i], ys[i], 40);
}

TEST(Chain, ResamplingTruncatesTowardZeroAfterTheMultiplication)
{
    ChainState chain = Fresh();
    chain.points[0] = {0, 0, 10};
    ResampleChain(chain, 4, {-10, 10, 0});
    ExpectPoint(chain.points[1], -3, 3, 7);   // -10 * 1 / 3 = -3; 10 - 10 * 1 / 3 = 7
    ExpectPoint(chain.points[2], -6, 6, 4);   // -20 / 3 = -6
    ExpectPoint(chain.points[3], -10, 10, 0);
}

TEST(Chain, APressNineAwayGrabsAndTenDoesNot)
{
    const ChainPoint p = {100, 300, 40};
    EXPECT_TRUE(GrabsPoint(p, 109, 300));
    EXPECT_TRUE(GrabsPoint(p, 91, 291));
    EXPECT_FALSE(GrabsPoint(p, 110, 300));
    EXPECT_FALSE(GrabsPoint(p, 100, 290));
}

TEST(Chain, NudgesActOnTheSelectedPoint)
{
    ChainState chain = Fresh();
    chain.selectedPoint = 1;
    for (int button = 0; button < 6; ++button)
        NudgeSelectedPoint(chain, button);
    ExpectPoint(chain.points[1], 500, 100, 40);  // each pair cancels
    NudgeSelectedPoint(chain, 1);
    NudgeSelectedPoint(chain, 3);
    NudgeSelectedPoint(chain, 5);
    ExpectPoint(chain.points[1], 501, 101, 41);
    ExpectPoint(chain.points[0], 100, 300, 40);
}

TEST(Chain, RndRoundsHalfUpAndTruncatesTowardZero)
{
    EXPECT_EQ(Rnd(-2.7), -2);
    EXPECT_EQ(Rnd(2.5), 3);
    EXPECT_EQ(Rnd(2.4), 2);
    EXPECT_EQ(Rnd(-0.2), 0);
}

TEST(Chain, BandCornersOfTheStartChain)
{
    // Direction (400, -200): theta = atan2(-200, 400); the perpendicular unit vectors are
    // +-(0.4472, 0.8944), so 40 times them are +-(17.89, 35.78).
    const ChainBand band = BandOf({100, 300, 40}, {500, 100, 40});
    EXPECT_EQ(band.q1x, 118);  // 100 + Rnd(17.89)
    EXPECT_EQ(band.q1y, 336);  // 300 + Rnd(35.78)
    EXPECT_EQ(band.q2x, 83);   // 100 + Rnd(-17.89) = 100 - 17
    EXPECT_EQ(band.q2y, 265);  // 300 + Rnd(-35.78) = 300 - 35
    EXPECT_EQ(band.r1x, 518);
    EXPECT_EQ(band.r1y, 136);
    EXPECT_EQ(band.r2x, 483);
    EXPECT_EQ(band.r2y, 65);
}

}  // namespace
