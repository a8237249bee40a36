// Picture files as a program asks about them and opens them in windows of their own: the size
// read after the header checks, and a window of that size made, loaded and titled, or nothing
// left behind.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/framework.h"
#include "image/image_selection.h"
#include "image/image_table.h"
#include "image_test_support.h"

namespace {

class PictureFiles : public FrameworkTest {
protected:
    void TearDown() override
    {
        DestroyAllImages();
        FrameworkTest::TearDown();
    }
    static int Size(const std::wstring& path, int& width, int& height)
    {
        return OnUserThread([&] { return KRT_GetImageFileSize(Narrow(path).c_str(), &width, &height); });
    }
    static int Open(int slot, const std::wstring& path, int x, int y)
    {
        return OnUserThread([&] { return KRT_OpenImageFile(slot, Narrow(path).c_str(), x, y); });
    }
    // A file the header checks refuse: a BMP that claims more pixels than any image can hold.
    void WriteRefused(const std::wstring& name)
    {
        std::vector<unsigned char> huge = BmpHeader(100000, 100000, 24, 0, 0);
        huge.resize(huge.size() + 100, 0x55);
        WriteBytes(folder / name, huge);
    }
    TempFolder folder;
};

// The image windows of this process, whatever their slots.
int CountImageWindows()
{
    int count = 0;
    EnumThreadWindows(
        userThreadId,
        [](HWND window, LPARAM counter) {
            wchar_t name[16];
            GetClassNameW(window, name, 16);
            *reinterpret_cast<int*>(counter) += std::wstring(name) == kImageWindowClass;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

TEST_F(PictureFiles, TheSizeOfAPictureIsReadAfterItsHeaderIsCheckedAndNothingElseChanges)
{
    WriteBmp24(folder / L"wide.bmp", 150, 110, PatternColour);
    RunOnUserThread([&] {
        KRT_CreateImage(9, "source", 0, 0, 170, 120, 100);
        KRT_SaveImageFile(120, 170, KRT_PNG, Narrow(folder / L"tall.png").c_str());
        KRT_DestroyImage(9);
    });
    WriteRefused(L"huge.bmp");
    WriteBytes(folder / L"notes.txt", {'n', 'o', 't', 'e', 's'});
    const int windows = CountImageWindows();
    const int current = CurrentImage;

    int width = -7, height = -7;
    EXPECT_EQ(Size(folder / L"wide.bmp", width, height), 0);
    EXPECT_EQ(width, 150);
    EXPECT_EQ(height, 110);
    EXPECT_EQ(Size(folder / L"tall.png", width, height), 0);
    EXPECT_EQ(width, 170);
    EXPECT_EQ(height, 120);

    for (const wchar_t* name : {L"missing.bmp", L"huge.bmp", L"notes.txt"}) {
        width = height = -7;
        EXPECT_EQ(Size(folder / name, width, height), 1) << Narrow(name);
        EXPECT_EQ(width, -7) << Narrow(name);
        EXPECT_EQ(height, -7) << Narrow(name);
    }
    EXPECT_EQ(OnUserThread([&] { return KRT_GetImageFileSize(nullptr, &width, &height); }), 1);
    EXPECT_EQ(width, -7);
    EXPECT_EQ(CountImageWindows(), windows);
    EXPECT_EQ(CurrentImage, current);
}

TEST_F(PictureFiles, AFileOpensInAWindowOfItsOwnSizeOrLeavesNothingBehind)
{
    WriteBmp24(folder / L"pic.bmp", 150, 110, PatternColour);
    WriteRefused(L"huge.bmp");
    WriteBytes(folder / L"notes.txt", {'n', 'o', 't', 'e', 's'});
    ASSERT_EQ(OnUserThread([] { return KRT_CreateImage(5, "current", 700, 500, 200, 150, 100); }), 0);

    ASSERT_EQ(Open(7, folder / L"pic.bmp", 300, 200), 0);
    const ImageRecord& opened = ImageTable[7];
    ASSERT_TRUE(opened.inUse);
    EXPECT_EQ(WindowText(opened.window), L"007 pic.bmp(100%)");
    EXPECT_EQ((std::vector<int>{opened.bitDepth, opened.width, opened.height, opened.zoom}),
              (std::vector<int>{32, 150, 110, 100}));
    RECT frame;
    GetWindowRect(opened.window, &frame);
    EXPECT_EQ(frame.left, 300);
    EXPECT_EQ(frame.top, 200);
    int wrong = 0;
    for (int y = 0; y < 110; ++y)
        for (int x = 0; x < 150; ++x)
            wrong += PixelOf(7, x, y) != PatternColour(x, y);
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(CurrentImage, 7);
    const int windows = CountImageWindows();

    // A slot in use is checked first and keeps its image; a slot outside the table is refused.
    EXPECT_EQ(Open(7, folder / L"notes.txt", 0, 0), 1);
    EXPECT_EQ(Open(5, folder / L"pic.bmp", 0, 0), 1);
    EXPECT_EQ(WindowText(ImageTable[5].window), L"current(100%)");
    EXPECT_EQ(Open(256, folder / L"pic.bmp", 0, 0), 4);
    EXPECT_EQ(Open(-1, folder / L"pic.bmp", 0, 0), 4);

    // Files that are no picture make no window, and the current image stays.
    for (const wchar_t* name : {L"missing.bmp", L"huge.bmp", L"notes.txt"}) {
        EXPECT_EQ(Open(8, folder / name, 0, 0), 5) << Narrow(name);
        EXPECT_FALSE(ImageTable[8].inUse) << Narrow(name);
    }
    EXPECT_EQ(OnUserThread([] { return KRT_OpenImageFile(8, nullptr, 0, 0); }), 5);
    EXPECT_EQ(CountImageWindows(), windows);
    EXPECT_EQ(CurrentImage, 7);

    // A picture wider than the screen is shown smaller; one that no zoom can fit is refused.
    const int screen = GetSystemMetrics(SM_CXSCREEN);
    WriteBmp24(folder / L"wide.bmp", 2 * screen, 100, PatternColour);
    ASSERT_EQ(Open(8, folder / L"wide.bmp", 0, 0), 0);
    EXPECT_EQ(ImageTable[8].zoom, 50);
    EXPECT_EQ(ImageTable[8].clientWidth, screen);
    EXPECT_EQ(WindowText(ImageTable[8].window), L"008 wide.bmp(50%)");
    WriteBmp24(folder / L"needle.bmp", 1, 5000, PatternColour);
    EXPECT_EQ(Open(9, folder / L"needle.bmp", 0, 0), 2);
    EXPECT_FALSE(ImageTable[9].inUse);
    EXPECT_EQ(CurrentImage, 8);
}

}  // namespace
