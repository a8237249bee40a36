// Image windows on the real framework: creation results and what a window is made of, titles,
// redraw read back from the window, block copies, palettes, destruction, a full table, and
// the two mailbox requests.  Windows are created on the user-program thread, which owns them.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/framework.h"
#include "core/snap.h"
#include "framework_fixture.h"
#include "image_test_support.h"
#include "image/image_selection.h"
#include "image/image_table.h"
#include "image/image_window.h"
#include "image/image_zoom.h"
#include "krtlib.h"

namespace {

// The window's client area as 0x00RRGGBB words, read from its own DC on the thread that owns it.
Snapshot WindowPixels(int slot)
{
    Snapshot shot;
    RunOnUserThread([&] {
        const ImageRecord& r = ImageTable[slot];
        shot = TakeSnapshot(r.windowDC, r.clientWidth, r.clientHeight);
    });
    return shot;
}

void PaintWindowWhite(int slot)
{
    RunOnUserThread([&] {
        const ImageRecord& r = ImageTable[slot];
        PatBlt(r.windowDC, 0, 0, r.clientWidth, r.clientHeight, WHITENESS);
    });
}

// Image windows the user-program thread has.
int ImageWindowCount()
{
    int count = 0;
    EnumThreadWindows(
        userThreadId,
        [](HWND window, LPARAM n) {
            wchar_t className[32] = L"";
            GetClassNameW(window, className, 32);
            *reinterpret_cast<int*>(n) += std::wstring(className) == L"krt_iw";
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

class ImageWindows : public FrameworkTest {
protected:
    void TearDown() override
    {
        DestroyAllImages();
        FrameworkTest::TearDown();
    }
};

TEST_F(ImageWindows, CreationResultsInTheirOrder)
{
    EXPECT_EQ(OnUserThread([] { return KRT_CreateImage(256, "x", -1, -1, 10, 10, 100); }), 4);
    EXPECT_EQ(OnUserThread([] { return KRT_CreateImage(-1, "x", -1, -1, 10, 10, 100); }), 4);
    EXPECT_EQ(OnUserThread([] { return CreateImageWindow(4, "x", -1, -1, 10, 10, 100, 24, ScreenFit); }), 3);
    EXPECT_FALSE(ImageTable[4].inUse);
    // No zoom fits: too tall for the screen at the zoom that makes it wide enough; too large.
    EXPECT_EQ(OnUserThread([] { return KRT_CreateImage(4, "x", -1, -1, 1, 5000, 100); }), 2);
    EXPECT_EQ(OnUserThread([] { return KRT_CreateImage8FL(4, "x", -1, -1, 1 << 30, 1 << 30, 100); }), 2);
    // 50000 x 20000 fits the screen at 5 %, but its 4 GB of pixels cannot be a DIB section.
    EXPECT_EQ(OnUserThread([] { return KRT_CreateImageFL(4, "x", -1, -1, 50000, 20000, 100); }), 3);
    EXPECT_FALSE(ImageTable[4].inUse);

    ASSERT_EQ(OnUserThread([] { return KRT_CreateImageFL(4, "first", 30, 40, 60, 50, 100); }), 0);
    EXPECT_EQ(CurrentImage, 4);
    const HWND window = ImageTable[4].window;
    RunOnUserThread([] { KRT_SetPixel(3, 2, 0x123456); });
    // The slot is taken: nothing about the window changes.
    EXPECT_EQ(OnUserThread([] { return KRT_CreateImage8(4, "second", 0, 0, 7, 7, 300); }), 1);
    EXPECT_EQ(OnUserThread([] { return CreateImageWindow(4, "x", 0, 0, 7, 7, 100, 24, FreeLimits); }), 1);
    EXPECT_EQ(ImageTable[4].window, window);
    EXPECT_EQ(ImageTable[4].bitDepth, 32);
    EXPECT_EQ(ImageTable[4].width, 60);
    EXPECT_EQ(WindowText(window), L"first(100%)");
    EXPECT_EQ(OnUserThread([] { return KRT_GetPixel(3, 2); }), 0x123456);

    // Sizes below 1 become 1.
    for (int bad : {0, -5, INT32_MIN}) {
        ASSERT_EQ(OnUserThread([&] { return KRT_CreateImageFL(9, "tiny", -1, -1, bad, bad, 100); }), 0) << bad;
        EXPECT_EQ(ImageTable[9].width, 1);
        EXPECT_EQ(ImageTable[9].height, 1);
        RunOnUserThread([] { KRT_DestroyImage(9); });
    }
}

TEST_F(ImageWindows, AWindowIsAnOwnedFramedDropTargetWithItsZoomedClientArea)
{
    ASSERT_EQ(OnUserThread([] { return KRT_CreateImage(2, "big", 10, 20, 2000, 1000, 100); }), 0);
    const ImageRecord& r = ImageTable[2];
    EXPECT_EQ(r.zoom, 64);  // the screen's 1280 columns decide
    EXPECT_EQ(r.clientWidth, 1280);
    EXPECT_EQ(r.clientHeight, 640);
    EXPECT_EQ(r.sizeLimitMode, ScreenFit);
    RECT client;
    GetClientRect(r.window, &client);
    EXPECT_EQ(client.right, 1280);
    EXPECT_EQ(client.bottom, 640);
    RECT outer;
    GetWindowRect(r.window, &outer);
    EXPECT_EQ(outer.left, 10);
    EXPECT_EQ(outer.top, 20);
    wchar_t className[32];
    GetClassNameW(r.window, className, 32);
    EXPECT_EQ(std::wstring(className), L"krt_iw");
    // The system adds WS_CLIPSIBLINGS to every top-level window.
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(r.window, GWL_STYLE)) & ~DWORD{WS_CLIPSIBLINGS} & 0xFFFF0000u,
              0x10CC0000u);
    EXPECT_TRUE(GetWindowLongW(r.window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    EXPECT_EQ(GetWindow(r.window, GW_OWNER), MainWindow);
    EXPECT_EQ(GetWindowThreadProcessId(r.window, nullptr), userThreadId);
    EXPECT_EQ(GetImageStretchMode(2), COLORONCOLOR);
    EXPECT_EQ(GetImageStretchMode(3), 0);
    EXPECT_EQ(OnUserThread([] { return GetStretchBltMode(ImageTable[2].memoryDC); }), COLORONCOLOR);
    // The image window joins the snapping table.
    bool snapped = false;
    for (int i = 0; i < SnapTable.count; ++i)
        snapped |= SnapTable.left[i] == outer.left && SnapTable.top[i] == outer.top &&
                   SnapTable.right[i] == outer.right && SnapTable.bottom[i] == outer.bottom;
    EXPECT_TRUE(snapped);
}

// FreeLimits windows are not held to the screen nor to the smallest frame the system would
// draw: their client area is always the zoomed image.
TEST_F(ImageWindows, FreeLimitsClientAreasReachTwiceTheScreenAndDownToAPixel)
{
    auto expectClient = [](int slot, int width, int height) {
        RECT client;
        GetClientRect(ImageTable[slot].window, &client);
        EXPECT_EQ(client.right, width) << slot;
        EXPECT_EQ(client.bottom, height) << slot;
        EXPECT_EQ(ImageTable[slot].clientWidth, width) << slot;
        EXPECT_EQ(ImageTable[slot].clientHeight, height) << slot;
    };
    ASSERT_EQ(OnUserThread([] { return KRT_CreateImageFL(3, "wide", 0, 0, 3000, 2000, 50); }), 0);
    EXPECT_EQ(ImageTable[3].zoom, 50);
    expectClient(3, 1500, 1000);
    const ZoomFit fit = FitZoom(3000, 2000, 100, FreeLimits, ReadScreenMetrics());
    ASSERT_TRUE(fit.fits);
    EXPECT_GT(fit.clientWidth, GetSystemMetrics(SM_CXSCREEN));
    ASSERT_EQ(OnUserThread([] { return SetImageZoom(100, 3); }), 0);
    EXPECT_EQ(ImageTable[3].zoom, fit.zoom);
    expectClient(3, fit.clientWidth, fit.clientHeight);

    ASSERT_EQ(OnUserThread([] { return KRT_CreateImage8FL(4, "dot", 0, 0, 3, 2, 100); }), 0);
    expectClient(4, 3, 2);
    ASSERT_EQ(OnUserThread([] { return SetImageZoom(200, 4); }), 0);
    expectClient(4, 6, 4);
}

TEST_F(ImageWindows, TitlesCarryTheZoomTheDepthAndTheHalftoneMark)
{
    ASSERT_EQ(OnUserThread([] { return KRT_CreateImage(0, "A", -1, -1, 400, 300, 50); }), 0);
    ASSERT_EQ(OnUserThread([] { return KRT_CreateImage8(1, "A", -1, -1, 400, 300, 50); }), 0);
    EXPECT_EQ(WindowText(ImageTable[0].window), L"A(50%)");
    EXPECT_EQ(WindowText(ImageTable[1].window), L"A(50%)[8bit]");
    RunOnUserThread([] {
        SetStretchBltMode(ImageTable[0].memoryDC, HALFTONE);
        UpdateImageTitle(0);
    });
    EXPECT_EQ(WindowText(ImageTable[0].window), L"A(50%)*");
    // Names are system code page text; a name too long for the title gives way to the zoom.
    ASSERT_EQ(OnUserThread([] { return KRT_CreateImage(5, "\x93\xfa\x96\x7b", -1, -1, 200, 200, 100); }), 0);
    EXPECT_EQ(WindowText(ImageTable[5].window), L"\x65E5\x672C(100%)");  // 日本
    static const std::string longName(400, 'n');
    ASSERT_EQ(OnUserThread([] { return KRT_CreateImage8(6, longName.c_str(), -1, -1, 200, 200, 100); }), 0);
    const std::wstring title = WindowText(ImageTable[6].window);
    EXPECT_EQ(title.size(), 255u);
    EXPECT_EQ(title.substr(title.size() - 13), L"n(100%)[8bit]");
    EXPECT_EQ(std::string(ImageTable[6].name), longName);  // the record keeps the whole name
}

TEST_F(ImageWindows, RefreshPutsThePixelsOnTheWindow)
{
    // An asymmetric picture: a red F on blue, with a green corner pixel.
    static const char* const kRows[] = {"RRRRR...", "R.......", "RRRR....", "R.......", "R......G", "R......."};
    auto colour = [](char c) { return c == 'R' ? 0xFF0000 : c == 'G' ? 0x00FF00 : 0x0000FF; };
    for (int zoom : {100, 300}) {
        SCOPED_TRACE(zoom);
        ASSERT_EQ(OnUserThread([&] { return KRT_CreateImageFL(3, "F", 100, 100, 40, 30, zoom); }), 0);
        ASSERT_EQ(ImageTable[3].zoom, zoom);
        RunOnUserThread([&] {
            for (int y = 0; y < 30; ++y)
                for (int x = 0; x < 40; ++x)
                    KRT_SetPixel(x, y, y < 6 && x < 8 ? colour(kRows[y][x]) : 0x0000FF);
        });
        PaintWindowWhite(3);
        ASSERT_EQ(OnUserThread([] { return KRT_RefreshImage(3); }), 0);
        const int scale = zoom / 100;
        const Snapshot shot = WindowPixels(3);
        for (int y = 0; y < 6 * scale; ++y)
            for (int x = 0; x < 8 * scale; ++x)
                ASSERT_EQ(shot.at(x, y), static_cast<unsigned>(colour(kRows[y / scale][x / scale])))
                    << "window pixel (" << x << ", " << y << ")";
        EXPECT_EQ(shot.at(40 * scale - 1, 30 * scale - 1), 0x0000FFu);
        RunOnUserThread([] { KRT_DestroyImage(3); });
    }
}

TEST_F(ImageWindows, EightBitImagesStartAtIndexZeroShownBlackWithAGreyRampPalette)
{
    ASSERT_EQ(OnUserThread([] { return KRT_CreateImage8FL(7, "grey", 100, 100, 13, 9, 100); }), 0);
    const unsigned char* bits = PixelTable[7];
    for (int i = 0; i < ImageStride(13, 8) * 9; ++i)
        ASSERT_EQ(bits[i], 0) << i;
    PaintWindowWhite(7);
    RunOnUserThread([] { KRT_RefreshImage(7); });
    EXPECT_EQ(WindowPixels(7).pixels, std::vector<unsigned>(13 * 9, 0x000000));

    std::vector<RGBQUAD> palette(256);
    ASSERT_EQ(OnUserThread([&] { return KRT_GetPalette(palette.data()); }), 0);
    for (int i = 0; i < 256; ++i)
        ASSERT_TRUE(palette[i].rgbBlue == i && palette[i].rgbGreen == i && palette[i].rgbRed == i) << i;
    // A palette entry changes what an index shows.
    const RGBQUAD orange[2] = {{0x00, 0x80, 0xFF, 0}, {0xFF, 0x00, 0x00, 0}};
    ASSERT_EQ(OnUserThread([&] { return KRT_SetPalette(orange, 2); }), 0);
    RunOnUserThread([] {
        KRT_SetPixel(5, 5, 1);
        KRT_RefreshImage(7);
    });
    const Snapshot shot = WindowPixels(7);
    EXPECT_EQ(shot.at(0, 0), 0xFF8000u);
    EXPECT_EQ(shot.at(5, 5), 0x0000FFu);
    EXPECT_EQ(OnUserThread([&] { return KRT_SetPalette(orange, 100000); }), 0);  // at most 256 entries are set

    ASSERT_EQ(OnUserThread([] { return KRT_CreateImage(8, "colour", -1, -1, 200, 200, 100); }), 0);
    EXPECT_EQ(OnUserThread([&] { return KRT_SetPalette(orange, 2); }), 2);
    EXPECT_EQ(OnUserThread([&] { return KRT_GetPalette(palette.data()); }), 2);
    RunOnUserThread([] { KRT_DestroyImage(8); });
    EXPECT_EQ(OnUserThread([&] { return KRT_GetPalette(palette.data()); }), 1);  // the current slot is free
}

TEST_F(ImageWindows, BlocksComeOutWithZerosOutsideAndGoInClipped)
{
    ASSERT_EQ(OnUserThread([] { return KRT_CreateImageFL(0, "blocks", -1, -1, 4, 3, 100); }), 0);
    std::vector<std::uint32_t> in(5 * 4);
    for (size_t i = 0; i < in.size(); ++i)
        in[i] = 0x100 + static_cast<std::uint32_t>(i);
    RunOnUserThread([&] { KRT_PutImageBlock(in.data(), 5, 4); });
    EXPECT_EQ(OnUserThread([] { return KRT_GetPixel(3, 2); }), 0x100 + 13);
    std::vector<std::uint32_t> out(3 * 2, 0xEEEEEEEE);
    RunOnUserThread([&] { KRT_GetImageBlock(out.data(), -1, 1, 3, 2); });
    EXPECT_EQ(out, (std::vector<std::uint32_t>{0, 0x105, 0x106, 0, 0x10A, 0x10B}));
    RunOnUserThread([&] { KRT_GetImageBlock(out.data(), 1 << 30, -(1 << 30), 3, 2); });
    EXPECT_EQ(out, std::vector<std::uint32_t>(6, 0));
}

TEST_F(ImageWindows, DestroyingTheCurrentImageReleasesEverythingAndLeavesTheSlotCurrent)
{
    ASSERT_EQ(OnUserThread([] { return KRT_CreateImage(3, "gone", -1, -1, 200, 100, 100); }), 0);
    const ImageRecord before = ImageTable[3];
    ASSERT_EQ(OnUserThread([] { return KRT_DestroyImage(3); }), 0);
    EXPECT_EQ(CurrentImage, 3);
    EXPECT_FALSE(ImageTable[3].inUse);
    EXPECT_FALSE(IsWindow(before.window));
    EXPECT_EQ(GetObjectType(before.dibSection), 0u);
    EXPECT_EQ(GetObjectType(before.memoryDC), 0u);
    // Drawing on the destroyed current image does nothing; the slot answers as free.
    RunOnUserThread([] {
        KRT_SetPixel(1, 1, 0xFFFFFF);
        KRT_DrawLine(0, 0, 100, 50, 0xFFFFFF);
        KRT_DrawCircle(50, 50, 20, 0xFFFFFF);
        FloodFill(5, 5);
        std::uint32_t block[4];
        KRT_GetImageBlock(block, 0, 0, 2, 2);
        KRT_PutImageBlock(block, 2, 2);
    });
    EXPECT_EQ(OnUserThread([] { return KRT_GetPixel(1, 1); }), 0);
    EXPECT_EQ(OnUserThread([] { return KRT_RefreshImage(3); }), 1);
    EXPECT_EQ(OnUserThread([] { return KRT_DestroyImage(3); }), 1);
    EXPECT_EQ(OnUserThread([] { return KRT_SelectImage(3); }), 1);
    EXPECT_EQ(OnUserThread([] { return KRT_DestroyImage(256); }), 1);
}

TEST_F(ImageWindows, AFullTableRefusesTheNextImageAndGivesEverythingBack)
{
    std::vector<ImageRecord> records;
    for (int slot = 0; slot < kImageSlots; ++slot)
        ASSERT_EQ(OnUserThread([&] { return KRT_CreateImageFL(slot, "s", 0, 0, 8, 8, 100); }), 0) << slot;
    EXPECT_EQ(ImageWindowCount(), kImageSlots);
    for (int slot : {0, 128, 255})
        EXPECT_EQ(OnUserThread([&] { return KRT_CreateImage(slot, "more", 0, 0, 8, 8, 100); }), 1);
    EXPECT_EQ(ImageWindowCount(), kImageSlots);
    for (const ImageRecord& record : ImageTable)
        records.push_back(record);
    RunOnUserThread([] {
        for (int slot = 0; slot < kImageSlots; ++slot)
            KRT_DestroyImage(slot);
    });
    EXPECT_EQ(ImageWindowCount(), 0);
    for (const ImageRecord& record : records) {
        EXPECT_EQ(GetObjectType(record.dibSection), 0u);
        EXPECT_EQ(GetObjectType(record.memoryDC), 0u);
    }
}

TEST_F(ImageWindows, MailboxRequestsCreateAndRefresh)
{
    EXPECT_EQ(PostCreateImage(0, "000", 320, 240, 32), 0);
    ASSERT_TRUE(ImageTable[0].inUse);
    EXPECT_EQ(WindowText(ImageTable[0].window), L"000(100%)");
    EXPECT_EQ(GetWindowThreadProcessId(ImageTable[0].window, nullptr), userThreadId);
    EXPECT_EQ(ImageTable[0].sizeLimitMode, ScreenFit);
    EXPECT_EQ(PostCreateImage(0, "000", 320, 240, 32), 1);
    EXPECT_EQ(PostCreateImage(1, "001", 320, 240, 16), 3);
    EXPECT_EQ(PostCreateImage(256, "256", 320, 240, 32), 4);
    EXPECT_EQ(PostCreateImage(2, "002", 200, 160, 8), 0);
    EXPECT_EQ(WindowText(ImageTable[2].window), L"002(100%)[8bit]");

    RunOnUserThread([] {
        KRT_SelectImage(0);
        KRT_SetPixel(10, 20, 0xC08040);
    });
    PaintWindowWhite(0);
    PostRefreshImage(0);
    const Snapshot shot = WindowPixels(0);
    EXPECT_EQ(shot.at(10, 20), 0xC08040u);
    EXPECT_EQ(shot.at(11, 20), 0x000000u);
}

}  // namespace
