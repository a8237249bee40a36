// Text windows: opening, printing into the back buffer, scrolling, colours, closing, the popup
// menu and the keys.
#include <gtest/gtest.h>

#include <string>

#include "core/framework.h"
#include "text/text_window.h"
#include "core/process_state.h"
#include "menu_capture.h"
#include "text_test_support.h"

namespace {

using TextWindow = FrameworkTest;


TEST_F(TextWindow, OpensWithItsClientSizeTitleAndFontCells)
{
    ASSERT_EQ(OpenTextWindowOnUserThread(5, 100, 120, 300, 200), 0);
    const TextWindowRecord& r = TextRecord(5);
    EXPECT_EQ(WindowText(r.window), L"TextWindow 5");
    RECT client;
    GetClientRect(r.window, &client);
    EXPECT_EQ(client.right, 300);
    EXPECT_EQ(client.bottom, 200);
    RECT outer;
    GetWindowRect(r.window, &outer);
    EXPECT_EQ(outer.left, 100);
    EXPECT_EQ(outer.top, 120);
    EXPECT_EQ(GetWindow(r.window, GW_OWNER), MainWindow);
    EXPECT_EQ(currentTextWindow, 5);
    EXPECT_GT(r.cellWidth, 0);
    EXPECT_GT(r.cellHeight, 0);
    EXPECT_EQ(r.textColor, 0xFFFFFF);
    EXPECT_EQ(r.backColor, 0);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(r.textColorStack[i], 0xFFFFFF);
    // Opening it again neither moves nor resizes it.
    ASSERT_EQ(OpenTextWindowOnUserThread(5, 0, 0, 50, 50), 1);
    GetWindowRect(r.window, &outer);
    EXPECT_EQ(outer.left, 100);
    EXPECT_EQ(r.width, 300);
    // Defaults: 400 x 300.
    ASSERT_EQ(OpenTextWindowOnUserThread(6, -1, -1, -1, -1), 0);
    GetClientRect(TextRecord(6).window, &client);
    EXPECT_EQ(client.right, 400);
    EXPECT_EQ(client.bottom, 300);
    EXPECT_EQ(OpenTextWindowOnUserThread(256, 0, 0, 10, 10), 2);
}

TEST_F(TextWindow, PrintingDrawsGlyphsAtTheCursorCellsAndScrollsOneLine)
{
    ASSERT_EQ(OpenTextWindowOnUserThread(0, 0, 0, 240, 120), 0);
    const TextWindowRecord& r = TextRecord(0);
    PrintOnUserThread("ab");
    PrintOnUserThread("cd");
    EXPECT_EQ(r.cursorX, 4 * r.cellWidth);
    EXPECT_EQ(r.cursorY, 0);
    Snapshot shot = BackBuffer(0);
    for (int column = 0; column < 4; ++column)
        EXPECT_TRUE(CellHas(shot, r, column, 0, 0xFFFFFF)) << column;
    EXPECT_FALSE(CellHas(shot, r, 4, 0, 0xFFFFFF));
    EXPECT_FALSE(CellHas(shot, r, 0, 1, 0xFFFFFF));

    // Fill every line, then one newline more: everything moves up by one line.
    const int lines = (r.height - 1) / r.cellHeight;  // lines whose cells end above the bottom
    RunOnUserThread([&] {
        KRT_ClearTextWindow();
        for (int line = 0; line < lines; ++line)
            KRT_Print(line % 2 ? "\n" : "#\n");
    });
    // The newline after the last line scrolled, so the cursor is on the last full line.
    EXPECT_EQ(r.cursorY, (lines - 1) * r.cellHeight);
    shot = BackBuffer(0);
    // Lines 0, 2, 4 ... were "#"; after one scroll they are on lines -1, 1, 3 ...
    EXPECT_FALSE(CellHas(shot, r, 0, 0, 0xFFFFFF));
    EXPECT_TRUE(CellHas(shot, r, 0, 1, 0xFFFFFF));
    EXPECT_FALSE(CellHas(shot, r, 0, 2, 0xFFFFFF));
    // The freed bottom band is black.
    for (int y = r.cursorY; y < r.height; ++y)
        for (int x = 0; x < r.width; ++x)
            ASSERT_EQ(shot.at(x, y), 0u);
}

TEST_F(TextWindow, ColoursApplyToLaterCharactersAndTheStackHoldsEight)
{
    ASSERT_EQ(OpenTextWindowOnUserThread(0, 0, 0, 200, 100), 0);
    const TextWindowRecord& r = TextRecord(0);
    RunOnUserThread([] {
        KRT_PushTextColor(0x0000FF, 0xFFFF00);
        KRT_Print("X");
    });
    const Snapshot shot = BackBuffer(0);
    EXPECT_TRUE(CellHas(shot, r, 0, 0, 0xFFFF00));  // yellow text
    EXPECT_TRUE(CellHas(shot, r, 0, 0, 0x0000FF));  // on blue, the cell's background
    RunOnUserThread([] { KRT_PopTextColor(); });
    EXPECT_EQ(r.textColor, 0xFFFFFF);

    // Eight pushes and eight pops restore what was in use before.
    RunOnUserThread([] {
        for (int i = 1; i <= 8; ++i)
            KRT_PushTextColor(i, 0x100 * i);
        for (int i = 1; i <= 8; ++i)
            KRT_PopTextColor();
    });
    EXPECT_EQ(r.textColor, 0xFFFFFF);
    EXPECT_EQ(r.backColor, 0);
    // Nine pushes and nine pops: the first push's colours were lost off the stack's end, so
    // what comes back is the pair the first push set.
    RunOnUserThread([] {
        for (int i = 1; i <= 9; ++i)
            KRT_PushTextColor(i, 0x100 * i);
        for (int i = 1; i <= 9; ++i)
            KRT_PopTextColor();
    });
    EXPECT_EQ(r.textColor, 0x100);
    EXPECT_EQ(r.backColor, 1);
}

TEST_F(TextWindow, ClosingTheCurrentWindowMakesTheLowestOpenSlotCurrent)
{
    for (int slot : {3, 7, 9})
        ASSERT_EQ(OpenTextWindowOnUserThread(slot, 10 * slot, 10 * slot, 100, 60), 0);
    EXPECT_EQ(currentTextWindow, 9);
    int result = -1;
    RunOnUserThread([&] { result = KRT_CloseTextWindow(9); });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(currentTextWindow, 3);
    RunOnUserThread([&] { result = KRT_CloseTextWindow(9); });
    EXPECT_EQ(result, 1);
    RunOnUserThread([&] { result = KRT_SelectTextWindow(7); });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(currentTextWindow, 7);
    RunOnUserThread([&] { result = KRT_SelectTextWindow(300); });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(currentTextWindow, 7);
    // Printing into a closed current slot does nothing.
    RunOnUserThread([] {
        KRT_CloseTextWindow(3);
        KRT_CloseTextWindow(7);
        KRT_Print("nowhere");
    });
    EXPECT_EQ(currentTextWindow, 7);
}

TEST_F(TextWindow, ResizingClearsAndHomesTheCursorButKeepsColours)
{
    ASSERT_EQ(OpenTextWindowOnUserThread(0, 0, 0, 200, 100), 0);
    TextWindowRecord& r = TextRecord(0);
    RunOnUserThread([] {
        KRT_PushTextColor(0x000080, 0x00FF00);
        KRT_Print("hello");
    });
    RECT outer;
    GetWindowRect(r.window, &outer);
    RunOnUserThread([&] {
        SetWindowPos(r.window, nullptr, 0, 0, outer.right - outer.left + 60,
                     outer.bottom - outer.top + 30, SWP_NOMOVE | SWP_NOZORDER);
    });
    EXPECT_EQ(r.width, 260);
    EXPECT_EQ(r.height, 130);
    EXPECT_EQ(r.cursorX, 0);
    EXPECT_EQ(r.textColor, 0x00FF00);
    const Snapshot shot = BackBuffer(0);
    for (unsigned pixel : shot.pixels)
        ASSERT_EQ(pixel, 0u);
}

// The GUI thread prints into a console (the main window's prompts do) while the console's own
// thread resizes it, and then while it closes it.  The write is held open on purpose between
// reading the buffer and writing into it, until the other thread has begun the replacement: the
// replacement must wait for the write, which would otherwise go into freed memory.
TEST_F(TextWindow, AWriteFromTheOtherThreadAndAResizeOrCloseNeverOverlap)
{
    static HANDLE begun;
    static void (*replace)();
    begun = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    const auto printDuring = [](void (*replacement)()) {
        replace = replacement;
        ConsoleWritePause = [] {
            ConsoleWritePause = nullptr;  // the first write only
            PostToUserThread([] {
                SetEvent(begun);
                replace();
            });
            WaitForSingleObject(begun, 10000);
            Sleep(300);  // long enough for the replacement to end, unless it waits
        };
        KRT_Print("abc");
        ConsoleWritePause = nullptr;
    };
    ASSERT_EQ(OpenTextWindowOnUserThread(0, 0, 0, 200, 100), 0);
    TextWindowRecord& r = TextRecord(0);
    printDuring([] {
        SetWindowPos(TextRecord(0).window, nullptr, 0, 0, 150, 90, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    });
    ASSERT_TRUE(PumpUntil([&] { return r.width != 200; }));
    const Snapshot shot = BackBuffer(0);  // the new buffer, cleared after the write
    EXPECT_EQ(shot.width, r.width);
    for (unsigned pixel : shot.pixels)
        ASSERT_EQ(pixel, 0u);
    printDuring([] { KRT_CloseTextWindow(0); });
    ASSERT_TRUE(PumpUntil([&] { return r.window == nullptr; }));
    EXPECT_EQ(r.inUse, 0);
    CloseHandle(begun);
}

TEST_F(TextWindow, PaintCopiesTheBackBufferToTheWindow)
{
    ASSERT_EQ(OpenTextWindowOnUserThread(0, 50, 50, 200, 100), 0);
    const TextWindowRecord& r = TextRecord(0);
    PrintOnUserThread("paint");
    RunOnUserThread([&] { UpdateWindow(r.window); });
    const Snapshot onScreen = TakeSnapshot(r.windowDC, 200, 100);
    const Snapshot buffer = BackBuffer(0);
    EXPECT_EQ(onScreen.pixels, buffer.pixels);
}

std::vector<CapturedItem> TextMenu(int slot)
{
    HWND window = TextRecord(slot).window;
    return CaptureMenu(userThreadId, [window] {
        PostMessageW(window, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    });
}

TEST_F(TextWindow, PopupMenuRowsChecksAndTheLogName)
{
    ASSERT_EQ(OpenTextWindowOnUserThread(3, 0, 0, 200, 100), 0);
    ASSERT_EQ(OpenTextWindowOnUserThread(4, 300, 0, 200, 100), 0);
    const int realInstance = instanceNumber;
    instanceNumber = 2;
    std::vector<CapturedItem> items = TextMenu(3);
    instanceNumber = realInstance;
    const struct { UINT id; const wchar_t* text; } rows[] = {
        {1069, L"&Select\tCtrl+S"}, {1045, L"&Window Info.\tCtrl+W"}, {1029, L"Command"},
        {0, nullptr}, {1024, L"Start Log"}, {1025, L"Stop Log"},
        {1030, L"&Copy KRTLIB23.LOG\tCtrl+C"}, {0, nullptr}, {1020, L"&About KRTLIB\tCtrl+A"},
        {0, nullptr}, {1006, L"&Destroy\tCtrl+Q"},
    };
    ASSERT_EQ(items.size(), 11u);
    for (size_t i = 0; i < 11; ++i) {
        SCOPED_TRACE(i);
        if (!rows[i].text) {
            EXPECT_TRUE(items[i].separator);
            continue;
        }
        EXPECT_EQ(items[i].id, rows[i].id);
        EXPECT_EQ(items[i].text, rows[i].text);
        EXPECT_FALSE(items[i].checked);  // slot 4 is current; no log
    }
    // Current slot and log states show as check marks.
    RunOnUserThread([] {
        KRT_SelectTextWindow(3);
        KRT_StartLog(3);
    });
    items = TextMenu(3);
    ASSERT_EQ(items.size(), 11u);
    EXPECT_TRUE(items[0].checked);
    EXPECT_TRUE(items[4].checked);
    EXPECT_FALSE(items[5].checked);
    RunOnUserThread([] { KRT_StopLog(3); });
    items = TextMenu(3);
    ASSERT_EQ(items.size(), 11u);
    EXPECT_FALSE(items[4].checked);
    EXPECT_TRUE(items[5].checked);
    RunOnUserThread([] { KRT_CloseLog(3); });
    // No menu while a line input runs.
    lineInputOwner = 1;
    EXPECT_TRUE(CaptureMenu(userThreadId, [] {
                    PostMessageW(TextRecord(3).window, WM_RBUTTONDOWN, MK_RBUTTON, 0);
                }, 1500).empty());
    lineInputOwner = 0;
}

TEST_F(TextWindow, CtrlQClosesAndQAloneDoesNothing)
{
    ASSERT_EQ(OpenTextWindowOnUserThread(2, 0, 0, 200, 100), 0);
    HWND window = TextRecord(2).window;
    PostMessageW(window, WM_KEYDOWN, 'Q', 0);
    PumpFor(200);
    EXPECT_TRUE(TextRecord(2).inUse);
    RunOnUserThread([] { SetCtrlDown(true); });
    PostMessageW(window, WM_KEYDOWN, 'Q', 0);
    EXPECT_TRUE(PumpUntil([] { return !TextRecord(2).inUse; }));
    RunOnUserThread([] { SetCtrlDown(false); });
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(TextWindow, AboutPrintsInGreenOnGreyAndLeavesTheColours)
{
    ASSERT_EQ(OpenTextWindowOnUserThread(1, 0, 0, 300, 100), 0);
    RunOnUserThread([] { KRT_PushTextColor(0x000011, 0x0000EE); });
    ASSERT_EQ(OpenTextWindowOnUserThread(2, 320, 0, 300, 100), 0);  // now current
    const TextWindowRecord& r = TextRecord(1);
    PostMessageW(r.window, WM_COMMAND, 1020, 0);
    // Two lines printed and the colours popped again.
    EXPECT_TRUE(PumpUntil([&] { return r.cursorY == 2 * r.cellHeight && r.textColor == 0x0000EE; }));
    EXPECT_EQ(currentTextWindow, 1);  // the window became current
    EXPECT_EQ(r.textColor, 0x0000EE);
    EXPECT_EQ(r.backColor, 0x000011);
    const Snapshot shot = BackBuffer(1);
    EXPECT_TRUE(CellHas(shot, r, 0, 0, 0x80FF80));
    EXPECT_TRUE(CellHas(shot, r, 0, 0, 0x404040));
    EXPECT_TRUE(CellHas(shot, r, 0, 1, 0x80FF80));
}

TEST_F(TextWindow, MainWindowTextWindowCommandOpensTheLowestFreeSlot)
{
    ASSERT_EQ(OpenTextWindowOnUserThread(0, 0, 0, 100, 60), 0);
    SendMessageW(MainWindow, WM_COMMAND, 1028, 0);
    ASSERT_TRUE(TextRecord(1).inUse);
    EXPECT_EQ(WindowText(TextRecord(1).window), L"TextWindow 1");
    RECT client;
    GetClientRect(TextRecord(1).window, &client);
    EXPECT_EQ(client.right, 400);
    EXPECT_EQ(client.bottom, 300);
}

TEST_F(TextWindow, AllSlotsOpenAtOnceAndCloseAgain)
{
    RunOnUserThread([] {
        for (int slot = 0; slot < kTextWindowSlots; ++slot)
            KRT_OpenTextWindow(slot, slot % 32 * 20, slot / 32 * 40, 60, 30);
    });
    int open = 0;
    for (const TextWindowRecord& r : TextWindowTable)
        open += r.inUse && IsWindow(r.window) && r.memoryDC && r.backBuffer;
    EXPECT_EQ(open, kTextWindowSlots);
    PrintOnUserThread("last");  // slot 255 is current
    EXPECT_EQ(currentTextWindow, 255);
    RunOnUserThread([] {
        for (int slot = 0; slot < kTextWindowSlots; ++slot)
            KRT_CloseTextWindow(slot);
    });
    for (const TextWindowRecord& r : TextWindowTable)
        EXPECT_FALSE(r.inUse);
    // A slot opened again starts afresh.
    ASSERT_EQ(OpenTextWindowOnUserThread(10, 0, 0, 100, 60), 0);
    EXPECT_EQ(TextRecord(10).cursorX, 0);
    EXPECT_EQ(TextRecord(10).logState, 0);
}

TEST_F(TextWindow, WideTextInAWindowNarrowerThanOneCharacterEnds)
{
    ASSERT_EQ(OpenTextWindowOnUserThread(0, 0, 0, 10, 60), 0);  // narrower than two cells
    const TextWindowRecord& r = TextRecord(0);
    std::string wide;
    for (int i = 0; i < 50; ++i)
        wide += "\x93\xfa";  // code page 932 for a two-cell ideograph
    PrintOnUserThread(wide);
    EXPECT_EQ(r.cursorX, 2 * r.cellWidth);  // the last one, alone on its line
    EXPECT_LT(r.cursorY, r.height);
}

}  // namespace
