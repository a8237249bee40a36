// Images through the real clipboard: Cut, Copy and the menu's Paste chosen in the image menu,
// Ctrl+V in an image window and on the main window, and blocks put on the clipboard by the test
// itself: honest ones laid out here by the format's rules (masks in a large header, run-length
// rows), lying ones that must be refused.
#include <gtest/gtest.h>

#include <cstring>

#include "box_test_support.h"
#include "image/image_window.h"
#include "imaging/tool_feed.h"
#include "picture_test_support.h"

namespace {

using Bytes = std::vector<unsigned char>;

// Empties the clipboard and, with a format, puts the block there.
void PutClipboard(UINT format, const Bytes& block)
{
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    if (format) {
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, block.size());
        std::copy(block.begin(), block.end(), static_cast<unsigned char*>(GlobalLock(memory)));
        GlobalUnlock(memory);
        SetClipboardData(format, memory);
    }
    CloseClipboard();
}

Bytes ClipboardDib()
{
    Bytes block;
    if (!OpenClipboard(nullptr))
        return block;
    if (HANDLE data = GetClipboardData(CF_DIB)) {
        const auto* bytes = static_cast<const unsigned char*>(GlobalLock(data));
        block.assign(bytes, bytes + GlobalSize(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return block;
}

// A bottom-up 24-bit DIB of colour(x, y), written by the format's rules.
Bytes Dib24(int width, int height, unsigned (*colour)(int, int))
{
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
    Bytes b(40 + stride * height, 0);
    Put32(b, 0, 40);
    Put32(b, 4, width);
    Put32(b, 8, height);
    Put16(b, 12, 1);
    Put16(b, 14, 24);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const unsigned c = colour(x, y);
            unsigned char* p = &b[40 + stride * (height - 1 - y) + 3 * x];
            for (int i = 0; i < 3; ++i)
                p[i] = static_cast<unsigned char>(c >> (8 * i));
        }
    return b;
}

unsigned Stripes(int x, int y) { return (x * 40 % 256) << 16 | (y * 25 % 256) << 8 | 0x5A; }

class ImageClipboard : public FrameworkTest {
protected:
    void SetUp() override
    {
        FrameworkTest::SetUp();
        PutClipboard(0, {});
    }
    void TearDown() override
    {
        ToolInProgress = 0;
        RunOnUserThread([] { SetCtrlDown(false); });
        SetCtrlDown(false);
        DestroyAllImages();
        FrameworkTest::TearDown();
    }
};

// Keys in an image window, with Ctrl held on its thread.
void CtrlKey(HWND window, WPARAM key)
{
    RunOnUserThread([] { SetCtrlDown(true); });
    PostMessageW(window, WM_KEYDOWN, key, 0);
    FlushUserThread();
    FlushUserThread();  // the command the key posted
    RunOnUserThread([] { SetCtrlDown(false); });
}

// Ctrl+V on the main window (this thread's), and its paste's requests served.
void PasteOnMainWindow()
{
    SetCtrlDown(true);
    SendMessageW(MainWindow, WM_KEYDOWN, 'V', 0);
    SetCtrlDown(false);
    PumpFor(100);  // the posted command runs here, and waits for its requests
    FlushUserThread();
}

}  // namespace

TEST_F(ImageClipboard, CopyThenPasteGivesTheSamePixelsAndCutClears)
{
    // 32 bits: 24-bit rows from the bottom up, 40 + 480 x 120 bytes.
    HWND colour = PictureWindow(0, "colour", 100, 100, 160, 120);
    ASSERT_TRUE(ChooseImageMenuRow(colour, 1012));
    const Bytes expected = Dib24(160, 120, [](int x, int y) { return PatternColour(x, y); });
    Bytes block = ClipboardDib();
    ASSERT_GE(block.size(), expected.size());
    EXPECT_EQ(Bytes(block.begin(), block.begin() + expected.size()), expected);
    HWND other = PictureWindow(1, "other", 400, 100, 200, 150, 32, false);
    CtrlKey(other, 'V');
    EXPECT_EQ(FirstWrongPixel(1, [](int x, int y) { return x < 160 && y < 120 ? PatternColour(x, y) : 0u; }), "");

    // 8 bits: indices and the whole palette, 40 + 1024 + 40 x 30 bytes.
    HWND indexed = PictureWindow(2, "indexed", 100, 400, 40, 30, 8);
    ASSERT_TRUE(ChooseImageMenuRow(indexed, 1012));
    block = ClipboardDib();
    ASSERT_GE(block.size(), 40u + 1024 + 40 * 30);
    EXPECT_EQ(Get16(block, 14), 8u);
    EXPECT_EQ(Get32(block, 40 + 4 * 200), 0x00C83758u);  // entry 200: red 200, green 55, blue 600 % 256
    HWND grey = PictureWindow(3, "grey", 400, 400, 60, 50, 8, false);
    CtrlKey(grey, 'V');
    EXPECT_EQ(FirstWrongPixel(3, [](int x, int y) { return x < 40 && y < 30 ? PictureValue(x, y, 8) : 0u; }), "");
    EXPECT_TRUE(SamePalette(PaletteOf(3), DistinctPalette()));

    // Cut: on the clipboard, and gone from the image.
    PutClipboard(0, {});
    ASSERT_TRUE(ChooseImageMenuRow(colour, 1011));
    EXPECT_EQ(CountOther(0, 0), 0);
    block = ClipboardDib();
    EXPECT_EQ(Bytes(block.begin(), block.begin() + std::min(block.size(), expected.size())), expected) << "cut";
}

TEST_F(ImageClipboard, MenuPasteCentresOnTheClickCtrlVCropsAtTheTopLeftAndOneBitSetsTwoEntries)
{
    HWND target = PictureWindow(0, "target", 200, 200, 200, 150, 32, false);
    PutClipboard(CF_DIB, Dib24(20, 10, Stripes));
    ASSERT_TRUE(ChooseImageMenuRow(target, 1013));
    ASSERT_TRUE(PumpUntil([] { return ToolInProgress == 1; }));
    PostMessageW(target, WM_MOUSEMOVE, 0, MAKELPARAM(50, 40));
    PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 40));
    ASSERT_TRUE(PumpUntil([] { return ToolInProgress == 0; }));
    FlushUserThread();
    EXPECT_EQ(FirstWrongPixel(0, [](int x, int y) {
                  return x >= 40 && x < 60 && y >= 35 && y < 45 ? Stripes(x - 40, y - 35) : 0u;
              }),
              "");

    // A right click cancels the placement: nothing is pasted.
    const std::vector<unsigned> before = PixelsOf(0);
    ASSERT_TRUE(ChooseImageMenuRow(target, 1013));
    ASSERT_TRUE(PumpUntil([] { return ToolInProgress == 1; }));
    PostMessageW(target, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(90, 90));
    ASSERT_TRUE(PumpUntil([] { return ToolInProgress == 0; }));
    EXPECT_EQ(PixelsOf(0), before);

    PutClipboard(CF_DIB, Dib24(300, 200, Stripes));
    CtrlKey(target, 'V');
    EXPECT_EQ(FirstWrongPixel(0, Stripes), "");

    // A 1-bit picture of 8 x 2 with the table red, blue, into an 8-bit image: the two colours
    // become entries 0 and 1 and the rest of the palette stays.
    HWND grey = PictureWindow(1, "grey", 500, 200, 60, 40, 8, false);
    Bytes mono(40 + 8 + 8, 0);
    Put32(mono, 0, 40);
    Put32(mono, 4, 8);
    Put32(mono, 8, 2);
    Put16(mono, 12, 1);
    Put16(mono, 14, 1);
    Put32(mono, 40, 0x00FF0000);  // red
    Put32(mono, 44, 0x000000FF);  // blue
    mono[48] = 0x0F;              // the bottom row: red, then blue from x = 4
    mono[52] = 0xF0;              // the top row: blue, then red
    PutClipboard(CF_DIB, mono);
    CtrlKey(grey, 'V');
    const std::vector<RGBQUAD> palette = PaletteOf(1);
    EXPECT_EQ(palette[0].rgbRed, 255);
    EXPECT_EQ(palette[0].rgbBlue, 0);
    EXPECT_EQ(palette[1].rgbBlue, 255);
    EXPECT_EQ(palette[1].rgbRed, 0);
    const std::vector<RGBQUAD> distinct = DistinctPalette();
    EXPECT_TRUE(SamePalette(std::vector<RGBQUAD>(palette.begin() + 2, palette.end()),
                            std::vector<RGBQUAD>(distinct.begin() + 2, distinct.end())));
    EXPECT_EQ(FirstWrongPixel(1, [](int x, int y) { return y < 2 && x < 8 ? unsigned((x < 4) == (y == 0)) : 0u; }), "");
}

TEST_F(ImageClipboard, MainWindowPasteOpensTheFirstFreeSlotAndRestoresTheCurrentImage)
{
    PictureWindow(0, "a", 100, 100, 120, 100);
    PictureWindow(1, "b", 300, 100, 120, 100);
    RunOnUserThread([] { KRT_SelectImage(0); });
    PutClipboard(CF_DIB, Dib24(130, 90, Stripes));
    PasteOnMainWindow();
    ASSERT_TRUE(PumpUntil([] { return ImageTable[2].inUse; }));
    FlushUserThread();
    EXPECT_EQ(WindowText(ImageTable[2].window), L"002(100%)");
    EXPECT_EQ(ImageTable[2].width, 130);
    EXPECT_EQ(ImageTable[2].height, 90);
    EXPECT_EQ(FirstWrongPixel(2, Stripes), "");
    EXPECT_EQ(CurrentImage, 0) << "the image current before the paste";
}

TEST_F(ImageClipboard, AnEmptyClipboardOrALyingBlockPastesNothing)
{
    HWND target = PictureWindow(0, "target", 200, 200, 200, 150);
    const std::vector<unsigned> before = PixelsOf(0);
    auto nothingHappens = [&](const char* what) {
        CtrlKey(target, 'V');
        ASSERT_TRUE(ChooseImageMenuRow(target, 1013));
        EXPECT_EQ(ToolInProgress, 0) << what << ": no placement starts";
        PasteOnMainWindow();
        EXPECT_EQ(PixelsOf(0), before) << what;
        EXPECT_FALSE(ImageTable[1].inUse) << what;
    };
    nothingHappens("empty");

    const Bytes honest = Dib24(30, 20, Stripes);
    auto lie = [&](size_t at, unsigned value, size_t cut = 0) {
        Bytes b = honest;
        Put32(b, at, value);
        b.resize(b.size() - cut);
        return b;
    };
    const struct {
        const char* what;
        Bytes block;
    } lies[] = {
        {"one byte short", lie(0, 40, 1)},
        {"more rows than the block", lie(8, 21)},
        {"a width of 2^31 - 1", lie(4, 0x7FFFFFFF)},
        {"a header size of 2^32 - 1", lie(0, 0xFFFFFFFF)},
        {"300 colours", lie(32, 300)},
        {"run-length rows", lie(16, 1)},
    };
    for (const auto& l : lies) {
        PutClipboard(CF_DIB, l.block);
        nothingHappens(l.what);
    }
    // The same block told truly is pasted.
    PutClipboard(CF_DIB, honest);
    CtrlKey(target, 'V');
    EXPECT_EQ(PixelOf(0, 29, 19), Stripes(29, 19));
}

namespace {

// A run-length block of `bits` (8: BI_RLE8, 4: BI_RLE4) with a 40-byte header, the colour
// table and the runs.
Bytes RunLengthDib(int bits, int width, int height, const std::vector<unsigned>& table, const Bytes& runs)
{
    Bytes b(40 + 4 * table.size(), 0);
    Put32(b, 0, 40);
    Put32(b, 4, width);
    Put32(b, 8, height);
    Put16(b, 12, 1);
    Put16(b, 14, bits);
    Put32(b, 16, bits == 8 ? BI_RLE8 : BI_RLE4);
    Put32(b, 20, static_cast<unsigned>(runs.size()));
    Put32(b, 32, static_cast<unsigned>(table.size()));
    for (size_t i = 0; i < table.size(); ++i)
        Put32(b, 40 + 4 * i, table[i]);
    b.insert(b.end(), runs.begin(), runs.end());
    return b;
}

// The index at (x, y) of a picture drawn as rows of hex digits, top row first; 0 outside it.
unsigned IndexAt(const std::vector<const char*>& rows, int x, int y)
{
    if (y >= static_cast<int>(rows.size()) || x >= static_cast<int>(std::strlen(rows[y])))
        return 0;
    const char c = rows[y][x];
    return c <= '9' ? c - '0' : c - 'a' + 10;
}

}  // namespace

TEST_F(ImageClipboard, BitfieldsOfALargeHeaderAndRunLengthPicturesPasteWithTheirPixels)
{
    // 32 bits with a 124-byte header: its masks are its own fields at offset 40, the rows
    // follow it.  Red is the low byte here and blue the third, so masks read from anywhere
    // else show; spare bytes at the block's end move nothing.
    HWND colour = PictureWindow(0, "colour", 100, 100, 40, 30, 32, false);
    const int w = 7, h = 5;
    Bytes v5(124 + 4 * w * h, 0);
    Put32(v5, 0, 124);
    Put32(v5, 4, w);
    Put32(v5, 8, h);
    Put16(v5, 12, 1);
    Put16(v5, 14, 32);
    Put32(v5, 16, BI_BITFIELDS);
    Put32(v5, 40, 0x000000FF);
    Put32(v5, 44, 0x0000FF00);
    Put32(v5, 48, 0x00FF0000);
    Put32(v5, 56, LCS_sRGB);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const unsigned c = Stripes(x, y);
            Put32(v5, 124 + 4 * (w * (h - 1 - y) + x), (c >> 16 & 0xFF) | (c & 0xFF00) | (c & 0xFF) << 16);
        }
    for (size_t spare : {0, 12}) {
        Bytes block = v5;
        block.resize(block.size() + spare);
        PutClipboard(CF_DIB, block);
        RunOnUserThread([] { ClearImage(0); });
        CtrlKey(colour, 'V');
        EXPECT_EQ(FirstWrongPixel(0, [](int x, int y) { return x < 7 && y < 5 ? Stripes(x, y) : 0u; }), "")
            << spare << " spare bytes";
    }

    // 8-bit runs into a 32-bit image: runs, an absolute run with its padding, a delta, early
    // ends of a line and of the picture (those pixels take entry 0), and a run of 12 cut at the
    // row's end of 9.
    std::vector<unsigned> table(16);
    for (unsigned i = 0; i < 16; ++i)
        table[i] = 0x204060 + i * 0x0B1D05;
    PutClipboard(CF_DIB, RunLengthDib(8, 9, 4, table,
                                      {3, 1, 0, 4, 2, 3, 4, 5, 2, 6, 0, 0,   // the bottom row
                                       0, 2, 2, 0, 0, 3, 7, 8, 9, 0, 0, 0,   // the second
                                       12, 10, 0, 0,                         // the third
                                       2, 11, 0, 1}));                       // the top, then the end
    const std::vector<const char*> eight = {"bb", "aaaaaaaaa", "00789", "111234566"};
    RunOnUserThread([] { ClearImage(0); });
    CtrlKey(colour, 'V');
    EXPECT_EQ(FirstWrongPixel(0, [&](int x, int y) { return x < 9 && y < 4 ? table[IndexAt(eight, x, y)] : 0u; }), "");

    // 4-bit runs into an 8-bit image: its indices exactly, and the table replaces palette
    // entries 0 to 15.  Greys, which the image's own palette does not hold.
    HWND indexed = PictureWindow(1, "indexed", 400, 100, 30, 20, 8, false);
    std::vector<unsigned> greys(16);
    for (unsigned i = 0; i < 16; ++i)
        greys[i] = 0x111111 * i;
    PutClipboard(CF_DIB, RunLengthDib(4, 7, 3, greys,
                                      {5, 0x12, 0, 2, 1, 0, 1, 0x3F, 0, 0,     // the bottom row
                                       0, 5, 0x45, 0x67, 0x80, 0, 0, 0,        // the middle
                                       9, 0x9A, 0, 1}));                       // the top
    const std::vector<const char*> four = {"9a9a9a9", "45678", "1212103"};
    CtrlKey(indexed, 'V');
    EXPECT_EQ(FirstWrongPixel(1, [&](int x, int y) { return IndexAt(four, x, y); }), "");
    const std::vector<RGBQUAD> palette = PaletteOf(1);
    for (unsigned i = 0; i < 16; ++i)
        EXPECT_EQ(palette[i].rgbRed << 16 | palette[i].rgbGreen << 8 | palette[i].rgbBlue, greys[i]) << "entry " << i;
    const std::vector<RGBQUAD> distinct = DistinctPalette();
    EXPECT_TRUE(SamePalette(std::vector<RGBQUAD>(palette.begin() + 16, palette.end()),
                            std::vector<RGBQUAD>(distinct.begin() + 16, distinct.end())));
}
