// Line input and the command prompt, typed as a user types: WM_CHAR and WM_KEYDOWN posted to
// the text window while KRT_InputLine runs on the user-program thread.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>

#include "core/control_flags.h"
#include "core/framework.h"
#include "text/input_ring.h"
#include "text_test_support.h"

namespace {

class LineInput : public FrameworkTest {
protected:
    void SetUp() override
    {
        FrameworkTest::SetUp();
        ASSERT_EQ(OpenTextWindowOnUserThread(0, 0, 0, 240, 120), 0);
        window = TextRecord(0).window;
    }
    HWND window = nullptr;
    PendingLine line;
};

TEST_F(LineInput, TypingBackspaceAndEnterReturnsTheEditedLineAndUpRecallsIt)
{
    const TextWindowRecord& r = TextRecord(0);
    StartLineInput(line);
    TypeUnits(window, L"ab\bc\r");
    ASSERT_TRUE(FinishedWith(line, "ac"));
    EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(LastLine)), L"ac");
    EXPECT_EQ(r.cursorX, 0);
    EXPECT_EQ(r.cursorY, r.cellHeight);  // the cursor moved to the next line
    EXPECT_EQ(lineInputOwner, 0);

    StartLineInput(line);
    PostMessageW(window, WM_KEYDOWN, VK_UP, 0);
    PumpFor(50);
    ASSERT_TRUE(PumpUntil([] { return lineInputRequest == NoLineRequest; }));
    TypeUnits(window, L"!");
    PumpUntil([&] { return RingReadIndex(InputRing) == -1; });
    TypeUnits(window, L"\r");
    ASSERT_TRUE(FinishedWith(line, "ac!"));
}

TEST_F(LineInput, TheStatusLineSaysInputTextWhileReading)
{
    StartLineInput(line);
    wchar_t status[64];
    GetWindowTextW(statusLine, status, 64);
    EXPECT_EQ(std::wstring(status), std::wstring(13, L' ') + L"Input text");
    TypeUnits(window, L"\r");
    ASSERT_TRUE(FinishedWith(line, ""));
    GetWindowTextW(statusLine, status, 64);
    EXPECT_NE(std::wstring(status).find(L"-bit color"), std::wstring::npos);
}

TEST_F(LineInput, AtMost255UnitsAndBackspaceRemovesThe255th)
{
    StartLineInput(line);
    TypeUnits(window, std::wstring(254, L'x') + L"yz");  // the 256th unit, z, is ignored
    TypeUnits(window, L"\r");
    ASSERT_TRUE(FinishedWith(line, std::string(254, 'x') + "y"));

    StartLineInput(line);
    TypeUnits(window, std::wstring(300, L'q'));
    PumpUntil([] { return RingReadIndex(InputRing) == -1; });
    TypeUnits(window, L"\b\r");
    ASSERT_TRUE(FinishedWith(line, std::string(254, 'q')));
}

TEST_F(LineInput, BackspaceAtAWrapReturnsToTheLineAbove)
{
    const TextWindowRecord& r = TextRecord(0);
    const int perLine = r.width / r.cellWidth;  // the echo breaks after the last full cell
    StartLineInput(line);
    TypeUnits(window, std::wstring(perLine, L'w'));
    TypeUnits(window, L"v");
    ASSERT_TRUE(PumpUntil([&] { return r.cursorY == r.cellHeight && r.cursorX == r.cellWidth; }));
    TypeUnits(window, L"\b");
    ASSERT_TRUE(PumpUntil([&] { return r.cursorX == 0; }));
    TypeUnits(window, L"\b");
    ASSERT_TRUE(PumpUntil([&] { return r.cursorY == 0; }));
    EXPECT_EQ(r.cursorX, (perLine - 1) * r.cellWidth);  // on the last character above
    TypeUnits(window, L"\r");
    ASSERT_TRUE(FinishedWith(line, std::string(perLine - 1, 'w')));
}

TEST_F(LineInput, DoubleWidthCharactersWrapWholeAndErase)
{
    const TextWindowRecord& r = TextRecord(0);
    const int perLine = r.width / r.cellWidth;
    StartLineInput(line);
    // Fill all but the last cell, then a two-cell character that cannot fit there.
    TypeUnits(window, std::wstring(perLine - 1, L'n'));
    TypeUnits(window, L"\x65E5");
    // The new line is begun before the character is drawn on it: wait for the drawing too.
    ASSERT_TRUE(PumpUntil([&] { return r.cursorY == r.cellHeight && r.cursorX != 0; }));
    EXPECT_EQ(r.cursorX, 2 * r.cellWidth);
    TypeUnits(window, L"\b");
    ASSERT_TRUE(PumpUntil([&] { return r.cursorY == 0; }));
    EXPECT_EQ(r.cursorX, (perLine - 1) * r.cellWidth);  // where it would have stood above
    TypeUnits(window, L"\x672C\r");  // code page 932: 96 7B
    ASSERT_TRUE(FinishedWith(line, std::string(perLine - 1, 'n') + "\x96\x7b"));
}

TEST_F(LineInput, TabBecomesASpaceAndUnitsTypedAfterEnterWaitForTheNextLine)
{
    StartLineInput(line);
    TypeUnits(window, L"a\tb\rnext");
    ASSERT_TRUE(FinishedWith(line, "a b"));
    StartLineInput(line);
    TypeUnits(window, L"\r");
    ASSERT_TRUE(FinishedWith(line, "next"));
}

TEST_F(LineInput, CtrlVPastesTheFirstLineWithoutSubmitting)
{
    PutClipboardText(L"one\ntwo");
    StartLineInput(line);
    RunOnUserThread([] { SetCtrlDown(true); });
    PostMessageW(window, WM_KEYDOWN, 'V', 0);
    PostMessageW(window, WM_CHAR, 0x16, 0);  // Ctrl+V's character, ignored while Ctrl is held
    PumpUntil([&] { return TextRecord(0).cursorX == 3 * TextRecord(0).cellWidth; });
    RunOnUserThread([] { SetCtrlDown(false); });
    PumpFor(100);
    EXPECT_EQ(line.done, 0);  // not submitted
    TypeUnits(window, L"!\r");
    ASSERT_TRUE(FinishedWith(line, "one!"));
}

TEST_F(LineInput, APasteOf1000CharactersFillsTheRingAndTheLineStopsAt255)
{
    PutClipboardText(std::wstring(1000, L'p'));
    StartLineInput(line);
    RunOnUserThread([] { SetCtrlDown(true); });
    PostMessageW(window, WM_KEYDOWN, 'V', 0);
    PumpUntil([] { return RingReadIndex(InputRing) != -1; });
    RunOnUserThread([] { SetCtrlDown(false); });
    PumpUntil([] { return RingReadIndex(InputRing) == -1; });
    TypeUnits(window, L"\r");
    ASSERT_TRUE(FinishedWith(line, std::string(255, 'p')));
}

TEST_F(LineInput, ClosingTheWindowOrExitEndsTheInputWithAnEmptyLine)
{
    StartLineInput(line);
    TypeUnits(window, L"abc");
    PumpUntil([] { return RingReadIndex(InputRing) == -1; });
    PostMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(FinishedWith(line, ""));
    EXPECT_EQ(lineInputOwner, 0);

    ASSERT_EQ(OpenTextWindowOnUserThread(0, 0, 0, 240, 120), 0);
    StartLineInput(line);
    SendMessageW(MainWindow, WM_COMMAND, 1002, 0);  // Exit
    EXPECT_EQ(line.done, 1);
    EXPECT_STREQ(line.text, "");
    EXPECT_EQ(exitState, 2);
}

TEST_F(LineInput, AnInputBegunAfterExitClearedTheOwnerReturnsAnEmptyLine)
{
    // Exit cleared the owner just before the input took it over: the input still ends.  The
    // keys typed meanwhile are not taken as a line.
    static std::atomic<int> done;
    static char text[256];
    done = 0;
    std::strcpy(text, "unset");
    PostToUserThread([] {
        exitState = 1;
        KRT_InputLine(text);
        done = 1;
    });
    if (!PumpUntil([] { return done == 1; }, 3000)) {
        RingPut(InputRing, 'z');
        RingPut(InputRing, '\r');
        PumpUntil([] { return done == 1; });
    }
    EXPECT_STREQ(text, "");
    EXPECT_EQ(lineInputOwner, 0);
}

TEST_F(LineInput, WorksWhenCalledOnTheGuiThread)
{
    // The main window's creation dialogues read lines on the GUI thread.  The keys come once
    // the input runs (a timer of this thread fires inside it).
    static HWND target;
    target = window;
    SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR timer, DWORD) {
        KillTimer(nullptr, timer);
        PostMessageW(target, WM_CHAR, 'g', 0);
        PostMessageW(target, WM_CHAR, '\r', 0);
    });
    char text[256] = "unset";
    KRT_InputLine(text);
    EXPECT_STREQ(text, "g");
}

TEST_F(LineInput, RecallOnTheGuiThreadDoesNotWaitForABusyUserProgram)
{
    // The user program spins without dispatching; the main window's thread reads a line.
    static std::atomic<int> spin, spinning;
    spin = 1;
    spinning = 0;
    testUserMain = [] {
        spinning = 1;
        while (spin) {
        }
        spinning = 0;
    };
    SendMessageW(MainWindow, WM_COMMAND, 1001, 0);
    ASSERT_TRUE(PumpUntil([] { return spinning == 1; }));
    LastLine[0] = 'a';
    LastLine[1] = 'b';
    LastLine[2] = 0;
    std::atomic<bool> servedWhileSpinning{false};
    std::thread typist([&] {  // Up, and Enter once the recalled line is in
        for (DWORD start = GetTickCount(); lineInputOwner == 0 && GetTickCount() - start < 10000;)
            Sleep(1);
        const unsigned before = InputRing.stored.load();
        lineInputRequest = RecallLastLine;
        auto served = [&] { return lineInputRequest == NoLineRequest && InputRing.stored.load() - before == 2; };
        for (DWORD start = GetTickCount(); !served() && GetTickCount() - start < 10000;)
            Sleep(1);
        servedWhileSpinning = served() && spinning == 1;
        if (!servedWhileSpinning) {
            spin = 0;  // the recall waits for the user program: let it end, so the test ends
            for (DWORD start = GetTickCount(); !served() && GetTickCount() - start < 10000;)
                Sleep(1);
        }
        RingPut(InputRing, '\r');
    });
    char text[256] = "unset";
    KRT_InputLine(text);
    const bool stillSpinning = spinning == 1;
    typist.join();
    spin = 0;
    EXPECT_TRUE(servedWhileSpinning);
    EXPECT_TRUE(stillSpinning);
    EXPECT_STREQ(text, "ab");
    EXPECT_TRUE(PumpUntil([] { return running == 0; }));
}

struct PromptRun {
    std::atomic<int> done{0};
    int result = -1;
};

void StartPrompt(PromptRun& run)
{
    run.done = 0;
    PostToUserThread([&run] {
        run.result = KRT_CommandPrompt();
        run.done = 1;
    });
    PumpUntil([] { return lineInputOwner != 0; });
}

TEST_F(LineInput, CommandPromptKnowsFiveCommandsExactly)
{
    const TextWindowRecord& r = TextRecord(0);
    PromptRun run;
    StartPrompt(run);
    TypeUnits(window, L"help\r");
    ASSERT_TRUE(PumpUntil([&] { return run.done == 1; }));
    EXPECT_EQ(run.result, 0);
    // "Cmd>help" on line 0, the list on line 1, the cursor on line 2.
    EXPECT_EQ(r.cursorY, 2 * r.cellHeight);

    StartPrompt(run);
    TypeUnits(window, L"Exit\r");
    ASSERT_TRUE(PumpUntil([&] { return run.done == 1; }));
    EXPECT_EQ(run.result, 1);
    EXPECT_TRUE(IsWindow(MainWindow));

    StartPrompt(run);
    TypeUnits(window, L"\r");
    ASSERT_TRUE(PumpUntil([&] { return run.done == 1; }));
    EXPECT_EQ(run.result, 1);

    StartPrompt(run);
    TypeUnits(window, L"color\r");
    ASSERT_TRUE(PumpUntil([&] { return run.done == 1; }));
    EXPECT_EQ(run.result, 0);

    StartPrompt(run);
    TypeUnits(window, L"exit\r");
    ASSERT_TRUE(PumpUntil([] { return !IsWindow(MainWindow); }));
    EXPECT_EQ(exitState, 2);
}

TEST_F(LineInput, SpaceInATextWindowRunsThePromptWithoutTheSpace)
{
    SendMessageW(MainWindow, WM_COMMAND, 1028, 0);  // slot 1, now current
    HWND other = TextRecord(1).window;
    PostMessageW(other, WM_KEYDOWN, VK_SPACE, 0);
    PostMessageW(other, WM_CHAR, ' ', 0);  // as TranslateMessage queues it
    ASSERT_TRUE(PumpUntil([] { return lineInputOwner == 2; }));
    TypeUnits(other, L"help\r");
    ASSERT_TRUE(PumpUntil([] { return lineInputOwner == 0; }));
    const TextWindowRecord& r = TextRecord(1);
    PumpUntil([&] { return r.cursorY == 2 * r.cellHeight; });
    EXPECT_EQ(r.cursorY, 2 * r.cellHeight);  // the help line was printed
    EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(LastLine)), L"help");
}

}  // namespace
