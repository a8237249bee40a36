// Image windows made from files dropped on the main window.
#include <gtest/gtest.h>

#include <atomic>

#include "core/framework.h"
#include "core/mailbox.h"
#include "image/image_selection.h"
#include "image_test_support.h"

namespace {

class MainWindowImages : public FrameworkTest {
protected:
    void TearDown() override
    {
        DestroyAllImages();
        FrameworkTest::TearDown();
    }
    TempFolder folder;
};

// The drop is handed to the main window's procedure as the system hands it over; it returns
// when every file has been dealt with.
void DropOnMainWindow(const std::vector<std::wstring>& files)
{
    SendMessageW(MainWindow, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(files)), 0);
}

TEST_F(MainWindowImages, DroppedPicturesOpenInAscendingSlotsAndOtherFilesUseNone)
{
    WriteBmp24(folder / L"a.bmp", 150, 110, PatternColour);
    WriteBytes(folder / L"notes.txt", {'n', 'o', 't', 'e', 's'});
    // Pictures of the other formats, written through the library's own saving.
    RunOnUserThread([&] {
        KRT_CreateImage(9, "source", 0, 0, 170, 120, 100);
        KRT_SaveImageFile(120, 170, KRT_PNG, Narrow(folder / L"b.png").c_str());
        KRT_SaveImageFile(100, 160, KRT_JPEG, Narrow(folder / L"c.jpg").c_str());
        KRT_DestroyImage(9);
        KRT_CreateImage(5, "current", 700, 500, 200, 150, 100);
    });
    ASSERT_EQ(CurrentImage, 5);

    DropOnMainWindow({folder / L"a.bmp", folder / L"notes.txt", folder / L"b.png", folder / L"c.jpg"});
    const struct {
        const wchar_t* title;
        int width, height;
    } opened[] = {{L"000 a.bmp(100%)", 150, 110}, {L"001 b.png(100%)", 170, 120}, {L"002 c.jpg(100%)", 160, 100}};
    for (int slot = 0; slot < 3; ++slot) {
        ASSERT_TRUE(ImageTable[slot].inUse) << slot;
        EXPECT_EQ(WindowText(ImageTable[slot].window), opened[slot].title);
        EXPECT_EQ(ImageTable[slot].width, opened[slot].width);
        EXPECT_EQ(ImageTable[slot].height, opened[slot].height);
        EXPECT_EQ(ImageTable[slot].bitDepth, 32);
    }
    EXPECT_FALSE(ImageTable[3].inUse);
    EXPECT_EQ(CurrentImage, 5);
    int wrong = 0;
    for (int y = 0; y < 110; ++y)
        for (int x = 0; x < 150; ++x)
            wrong += PixelOf(0, x, y) != PatternColour(x, y);
    EXPECT_EQ(wrong, 0);

    // The next drop searches from slot 0 again and skips the slots in use.
    DropOnMainWindow({folder / L"notes.txt", folder / L"a.bmp", folder / L"b.png"});
    ASSERT_TRUE(ImageTable[3].inUse);
    EXPECT_EQ(WindowText(ImageTable[3].window), L"003 a.bmp(100%)");
    ASSERT_TRUE(ImageTable[4].inUse);
    EXPECT_EQ(WindowText(ImageTable[4].window), L"004 b.png(100%)");
    EXPECT_EQ(WindowText(ImageTable[5].window), L"current(100%)");
    EXPECT_FALSE(ImageTable[6].inUse);
    EXPECT_EQ(CurrentImage, 5);
}

// What the user-program thread saw at the end of each refresh request: the current image and
// the newest history entry.
RequestWork realRefresh = nullptr;
std::atomic<int> refreshCurrent{-1}, refreshHistory{-1};
void RecordingRefresh(MailboxFields& request)
{
    realRefresh(request);
    refreshCurrent = CurrentImage;
    refreshHistory = CurrentImageHistory[0];
}

// The previous image is made current again on the user-program thread, as the last step of a
// dropped file's last request, so that no other thread touches the history meanwhile.
TEST_F(MainWindowImages, TheUserThreadRestoresThePreviousImageAtTheEndOfTheDrop)
{
    WriteBmp24(folder / L"a.bmp", 30, 20, PatternColour);
    RunOnUserThread([] {
        KRT_CreateImage(7, "older", 700, 300, 40, 30, 100);
        KRT_CreateImage(5, "current", 700, 500, 40, 30, 100);
    });
    RequestWork& entry = RequestWorkTable[RequestRefreshImage - kFirstRequestCode];
    realRefresh = entry;
    struct Restore {
        RequestWork& entry;
        ~Restore() { entry = realRefresh; }
    } restore{entry};
    entry = RecordingRefresh;

    DropOnMainWindow({folder / L"a.bmp"});
    ASSERT_TRUE(ImageTable[0].inUse);
    EXPECT_EQ(refreshCurrent, 5);
    EXPECT_EQ(refreshHistory, 7);
    // Restored once only.
    EXPECT_EQ(CurrentImage, 5);
    EXPECT_EQ(CurrentImageHistory[0], 7);
}

// A dropped name is read whole: one cut to 259 units would name another file.
TEST_F(MainWindowImages, ADroppedNameIsNeverCutToAnotherFilesName)
{
    const std::wstring cut = folder / std::wstring(259 - folder.path().size() - 1, L'a');
    ASSERT_EQ(cut.size(), 259u);
    WriteBmp24(cut, 30, 20, PatternColour);
    DropOnMainWindow({cut + L"b"});
    EXPECT_FALSE(ImageTable[0].inUse);
    DropOnMainWindow({cut});
    ASSERT_TRUE(ImageTable[0].inUse);
    EXPECT_EQ(PixelOf(0, 29, 19), PatternColour(29, 19));
}

}  // namespace
