// Log files: what reaches them, their states, the copy to the clipboard and the failures.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "core/framework.h"
#include "core/process_state.h"
#include "text_test_support.h"

namespace {

class LogFile : public FrameworkTest {
protected:
    void SetUp() override
    {
        FrameworkTest::SetUp();
        ASSERT_EQ(OpenTextWindowOnUserThread(0, 0, 0, 300, 150), 0);
        std::remove(Path(0).c_str());
    }
    void TearDown() override
    {
        RunOnUserThread([] { KRT_CloseAllLogs(); });
        FrameworkTest::TearDown();
    }
    static std::string Path(int slot)
    {
        return std::string(logFolder) + "KRTLIB" + std::to_string(instanceNumber) + std::to_string(slot) + ".LOG";
    }
    static std::string FileBytes(int slot)
    {
        std::ifstream file(Path(slot), std::ios::binary);
        std::stringstream bytes;
        bytes << file.rdbuf();
        return bytes.str();
    }
    static int Call(int (*call)(int), int slot)
    {
        int result = -1;
        RunOnUserThread([&] { result = call(slot); });
        return result;
    }
};

TEST_F(LogFile, PausedTextIsLeftOutAndCopyGivesTheBytesWithCrLf)
{
    EXPECT_EQ(Call(KRT_StartLog, 0), 0);
    PrintOnUserThread("a\n");
    EXPECT_EQ(Call(KRT_StopLog, 0), 0);
    PrintOnUserThread("b\n");
    EXPECT_EQ(Call(KRT_StartLog, 0), 0);  // resumes the same file
    PrintOnUserThread("c\n");
    EXPECT_EQ(Call(KRT_CopyLog, 0), 0);
    EXPECT_EQ(ClipboardBytes(), "a\r\nc\r\n");
    EXPECT_EQ(TextRecord(0).logState, 1);  // logging goes on after the copy
    PrintOnUserThread("d");
    RunOnUserThread([] { KRT_CloseLog(0); });
    EXPECT_EQ(FileBytes(0), "a\r\nc\r\nd");
    EXPECT_EQ(TextRecord(0).logState, 0);
}

TEST_F(LogFile, StartTwiceReturnsOneAndDoesNotTruncate)
{
    EXPECT_EQ(Call(KRT_StartLog, 0), 0);
    PrintOnUserThread("kept\n");
    EXPECT_EQ(Call(KRT_StartLog, 0), 1);
    RunOnUserThread([] { KRT_CloseLog(0); });
    EXPECT_EQ(FileBytes(0), "kept\r\n");
    // From state 0 a start truncates.
    EXPECT_EQ(Call(KRT_StartLog, 0), 0);
    RunOnUserThread([] { KRT_CloseLog(0); });
    EXPECT_EQ(FileBytes(0), "");
}

TEST_F(LogFile, ResultsForBadSlotsAndMissingLogs)
{
    EXPECT_EQ(Call(KRT_StartLog, 256), 3);
    EXPECT_EQ(Call(KRT_StartLog, 4), 3);  // not open
    EXPECT_EQ(Call(KRT_StopLog, 0), 1);   // no log
    EXPECT_EQ(Call(KRT_StopLog, 9), 2);
    EXPECT_EQ(Call(KRT_CopyLog, 300), 4);
}

TEST_F(LogFile, LinesEnteredAndClearsAreLogged)
{
    EXPECT_EQ(Call(KRT_StartLog, 0), 0);
    PrintOnUserThread("Name? ");
    PendingLine line;
    StartLineInput(line);
    TypeUnits(TextRecord(0).window, L"Ann\r");
    ASSERT_TRUE(FinishedWith(line, "Ann"));
    RunOnUserThread([] { KRT_ClearTextWindow(); });
    RunOnUserThread([] { KRT_CloseLog(0); });
    EXPECT_EQ(FileBytes(0), "Name? Ann\r\n\r\n");
}

TEST_F(LogFile, CopyWithoutAFileShowsTheBoxAndLeavesTheClipboard)
{
    PutClipboardText(L"before");
    std::atomic<int> result{-1};
    PostToUserThread([&] { result = KRT_CopyLog(0); });
    EXPECT_NE(DismissBox(L"Pause").find(L"|Can't open LOG file!|"), std::wstring::npos);
    ASSERT_TRUE(PumpUntil([&] { return result != -1; }));
    EXPECT_EQ(result, 2);
    EXPECT_EQ(ClipboardBytes(), "before");
}

TEST_F(LogFile, AFileThatCannotBeCreatedShowsTheBoxAndChangesNothing)
{
    char saved[kPathChars];
    std::snprintf(saved, sizeof saved, "%s", logFolder);
    std::snprintf(logFolder, sizeof logFolder, "%s", "Z:\\no\\such\\folder\\");
    std::atomic<int> result{-1};
    PostToUserThread([&] { result = KRT_StartLog(0); });
    EXPECT_NE(DismissBox(L"Error").find(L"|Can't create file for LOG!|"), std::wstring::npos);
    ASSERT_TRUE(PumpUntil([&] { return result != -1; }));
    std::snprintf(logFolder, sizeof logFolder, "%s", saved);
    EXPECT_EQ(result, 2);
    EXPECT_EQ(TextRecord(0).logState, 0);
    EXPECT_EQ(TextRecord(0).logFile, nullptr);
}

TEST_F(LogFile, AHugeFormattedTextIsCutAtAWholeCharacter)
{
    EXPECT_EQ(Call(KRT_StartLog, 0), 0);
    std::string huge;
    for (int i = 0; i < 5000; ++i)
        huge += "\x93\xfa";  // 10,000 bytes of two-byte characters
    RunOnUserThread([&] { KRT_Print("%s", huge.c_str()); });
    RunOnUserThread([] { KRT_CloseLog(0); });
    const std::string bytes = FileBytes(0);
    EXPECT_EQ(bytes.size(), 4094u);  // 4095 would split the last character
    EXPECT_TRUE(bytes == huge.substr(0, 4094));
}

TEST_F(LogFile, ClosingTheWindowClosesItsLog)
{
    EXPECT_EQ(Call(KRT_StartLog, 0), 0);
    PrintOnUserThread("x\n");
    RunOnUserThread([] { KRT_CloseTextWindow(0); });
    EXPECT_EQ(FileBytes(0), "x\r\n");
    ASSERT_EQ(OpenTextWindowOnUserThread(0, 0, 0, 300, 150), 0);
    EXPECT_EQ(TextRecord(0).logState, 0);
    EXPECT_EQ(Call(KRT_StartLog, 0), 0);  // the file can be created again: nothing holds it
}

TEST_F(LogFile, ExitClosesTheLogsWithEverythingPrintedOnDisk)
{
    EXPECT_EQ(Call(KRT_StartLog, 0), 0);
    static std::atomic<int> printed;
    printed = 0;
    testUserMain = [] {
        for (;;) {  // prints until Exit ends the thread, never looking at the flags
            KRT_Print("line %d\n", printed.load());
            ++printed;
        }
    };
    SendMessageW(MainWindow, WM_COMMAND, 1001, 0);
    ASSERT_TRUE(PumpUntil([] { return printed > 200; }));
    SendMessageW(MainWindow, WM_COMMAND, 1002, 0);
    const std::string bytes = FileBytes(0);
    // Whole lines only, in order, from line 0 on.
    std::istringstream lines(bytes);
    std::string text;
    int expected = 0;
    while (std::getline(lines, text)) {
        ASSERT_EQ(text, "line " + std::to_string(expected) + "\r");
        ++expected;
    }
    EXPECT_GE(expected, 200);
}

}  // namespace
