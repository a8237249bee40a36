// "Color..." / "Change" of an image window through the real colour dialog: it opens at the
// drawing colour, the colour chosen becomes the drawing colour and both text colours, a custom
// colour is kept for the next dialog, and cancelling changes nothing.
#include <gtest/gtest.h>

#include "framework_fixture.h"
#include "image_test_support.h"
#include "imaging/drawing_state.h"
#include "krtlib.h"

namespace {

constexpr int kEditRed = 706, kEditGreen = 707, kEditBlue = 708, kAddCustom = 712;

HWND OpenColourDialog(HWND image) { return OpenOwnedDialog(image, 1031); }

int EditNumber(HWND dialog, int id) { return static_cast<int>(GetDlgItemInt(dialog, id, nullptr, FALSE)); }

class ColourDialog : public FrameworkTest {};

TEST_F(ColourDialog, ChangeSetsTheDrawingAndTextColoursAndKeepsCustomColours)
{
    RunOnUserThread([] { ASSERT_EQ(KRT_CreateImage(0, "c", 600, 400, 64, 48, 100), 0); });
    HWND image = ImageTable[0].window;
    RunOnUserThread([] { KRT_SetDrawingColour(0x123456); });

    HWND dialog = OpenColourDialog(image);
    ASSERT_TRUE(dialog);
    // It opens full, at the drawing colour (red 0x12, green 0x34, blue 0x56).
    EXPECT_EQ(EditNumber(dialog, kEditRed), 0x12);
    EXPECT_EQ(EditNumber(dialog, kEditGreen), 0x34);
    EXPECT_EQ(EditNumber(dialog, kEditBlue), 0x56);
    SetDlgItemInt(dialog, kEditRed, 10, FALSE);
    SetDlgItemInt(dialog, kEditGreen, 200, FALSE);
    SetDlgItemInt(dialog, kEditBlue, 30, FALSE);
    SendMessageW(dialog, WM_COMMAND, kAddCustom, 0);
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(PumpUntil([] { return KRT_GetDrawingColour() == 0x0AC81E; }));
    EXPECT_EQ(krt_tc, 0x0AC81E);
    EXPECT_EQ(krt_tttc, 0x0AC81E);
    EXPECT_EQ(CustomColours[0], static_cast<unsigned long>(RGB(10, 200, 30)));

    // Cancelled: nothing changes; the custom colour is still there.
    dialog = OpenColourDialog(image);
    ASSERT_TRUE(dialog);
    SetDlgItemInt(dialog, kEditRed, 99, FALSE);
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(dialog); }));
    PumpFor(100);
    EXPECT_EQ(KRT_GetDrawingColour(), 0x0AC81E);
    EXPECT_EQ(krt_tc, 0x0AC81E);
    EXPECT_EQ(CustomColours[0], static_cast<unsigned long>(RGB(10, 200, 30)));
    DestroyAllImages();
}

}  // namespace
