// Image and text windows given one screen coordinate and the default for the other.
#include <gtest/gtest.h>

#include "image_test_support.h"
#include "text_test_support.h"

namespace {

class WindowPlacement : public FrameworkTest {
protected:
    void TearDown() override
    {
        DestroyAllImages();
        FrameworkTest::TearDown();
    }
};

// The given coordinate is kept, the system chooses the other, and the window is whole on the
// screen.
TEST_F(WindowPlacement, OneDefaultCoordinateKeepsTheOtherAndTheWindowOnTheScreen)
{
    const struct {
        int x, y;
    } positions[] = {{300, -1}, {-1, 200}};
    for (int i = 0; i < 2; ++i) {
        const int x = positions[i].x, y = positions[i].y;
        ASSERT_EQ(OnUserThread([&] { return KRT_CreateImage(i, "placed", x, y, 200, 100, 100); }), 0);
        ASSERT_EQ(OpenTextWindowOnUserThread(i, x, y, 200, 100), 0);
        for (HWND window : {ImageTable[i].window, TextRecord(i).window}) {
            RECT outer;
            GetWindowRect(window, &outer);
            const std::wstring what = WindowText(window) + L" at " + std::to_wstring(x) + L", " + std::to_wstring(y);
            EXPECT_GE(outer.left, 0) << what;
            EXPECT_GE(outer.top, 0) << what;
            EXPECT_LE(outer.right, GetSystemMetrics(SM_CXSCREEN)) << what;
            EXPECT_LE(outer.bottom, GetSystemMetrics(SM_CYSCREEN)) << what;
            if (x >= 0) {
                EXPECT_EQ(outer.left, x) << what;
            }
            if (y >= 0) {
                EXPECT_EQ(outer.top, y) << what;
            }
        }
    }
}

}  // namespace
