// Log files: what reaches them, their states, the copy to the clipboard and the failures.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>

#include "core/framework.h"
#include "core/process_state.h"
#include "image_test_support.h"
#include "text_test_support.h"

namespace {

class LogFile : public FrameworkTest {
protected:
    void SetUp() override
    {
        FrameworkTest::SetUp();
        ASSERT_EQ(OpenTextWindowOnUserThread(0, 0, 0, 300, 150), 0);
        std::remove(LogPath(0).c_str());
    }
    void TearDown() override
    {
        RunOnUserThread([] { KRT_CloseAllLogs(); });
        FrameworkTest::TearDown();
    }
    static std::wstring WidePath(int slot)
    {
        return std::wstring(logFolderW) + L"KRTLIB" + std::to_wstring(instanceNumber) + std::to_wstring(slot) + L".LOG";
    }
    static std::string FileBytes(int slot)
    {
        return ::FileBytes(LogPath(slot));
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

TEST_F(LogFile, WhatIsPrintedWhileACopyFailureIsShownReachesTheLog)
{
    // A handle that shares the file with writers only: logging works, the copy cannot read it.
    // (A handle without data access would take no part in the sharing check.)
    HANDLE blocker = CreateFileW(WidePath(0).c_str(), FILE_WRITE_DATA, FILE_SHARE_WRITE, nullptr,
                                 OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(blocker, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Call(KRT_StartLog, 0), 0);
    PrintOnUserThread("a\n");
    std::atomic<int> result{-1};
    PostToUserThread([&] { result = KRT_CopyLog(0); });
    ASSERT_TRUE(PumpUntil([] { return FindWindowW(L"#32770", L"Pause") != nullptr; }));
    std::atomic<int> printed{0};
    PostToUserThread([&] {  // dispatched by the box's own message loop
        KRT_Print("b\n");
        printed = 1;
    });
    EXPECT_TRUE(PumpUntil([&] { return printed == 1; }));
    EXPECT_NE(DismissBox(L"Pause").find(L"|Can't open LOG file!|"), std::wstring::npos);
    ASSERT_TRUE(PumpUntil([&] { return result != -1; }));
    CloseHandle(blocker);
    EXPECT_EQ(result, 2);
    EXPECT_EQ(TextRecord(0).logState, 1);
    PrintOnUserThread("c\n");
    RunOnUserThread([] { KRT_CloseLog(0); });
    EXPECT_EQ(FileBytes(0), "a\r\nb\r\nc\r\n");
}

TEST_F(LogFile, AFileThatCannotBeCreatedShowsTheBoxAndChangesNothing)
{
    wchar_t saved[sizeof logFolderW / sizeof logFolderW[0]];
    wcscpy(saved, logFolderW);
    wcscpy(logFolderW, L"Z:\\no\\such\\folder\\");
    std::atomic<int> result{-1};
    PostToUserThread([&] { result = KRT_StartLog(0); });
    EXPECT_NE(DismissBox(L"Error").find(L"|Can't create file for LOG!|"), std::wstring::npos);
    ASSERT_TRUE(PumpUntil([&] { return result != -1; }));
    wcscpy(logFolderW, saved);
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

// The program copies its log while the clipboard belongs to a window of the GUI thread: emptying
// it sends that window a message, which waits until the GUI thread takes it.  Exit, pressed on
// that thread meanwhile, must not wait for the log's lock behind it.
TEST_F(LogFile, ExitWhileACopyWaitsForTheClipboardOwnerEndsTheProgram)
{
    EXPECT_EQ(Call(KRT_StartLog, 0), 0);
    PrintOnUserThread("a\n");
    HWND owner = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_TRUE(OpenClipboard(owner));
    EmptyClipboard();
    CloseClipboard();
    static std::atomic<int> result;
    result = -1;
    PostToUserThread([] { result = KRT_CopyLog(0); });
    // The copy's message to the owner waits in this thread's queue, undelivered.
    const DWORD t0 = GetTickCount();
    while (!(HIWORD(GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE) && GetTickCount() - t0 < 10000)
        Sleep(1);
    ASSERT_TRUE(HIWORD(GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE);
    SendMessageW(MainWindow, WM_COMMAND, 1002, 0);
    EXPECT_FALSE(IsWindow(MainWindow));
    EXPECT_EQ(TextRecord(0).logState, 0);  // Exit closed it, without waiting for the copy
    EXPECT_EQ(result, 0);
    EXPECT_EQ(ClipboardBytes(), "a\r\n");
    EXPECT_EQ(FileBytes(0), "a\r\n");
    DestroyWindow(owner);
}

// A log kept in a working directory with a long name: every name along the way holds the
// whole path, and no file of a cut name is made.
class LogFolder : public ::testing::Test {
protected:
    void TearDown() override
    {
        StopFramework();
        SetCurrentDirectoryW(saved_);
    }
    // Logs "a", copies, logs "b" with `leaf` (made under the test's own folder) as the working
    // directory of the whole run.
    void LogAndCopyIn(const std::wstring& leaf)
    {
        const std::wstring folder = root_ / leaf;
        for (size_t at = folder.find(L'\\', root_.path().size() + 1);; at = folder.find(L'\\', at + 1)) {
            CreateDirectoryW(folder.substr(0, at).c_str(), nullptr);  // each level, the last one too
            if (at == std::wstring::npos)
                break;
        }
        GetCurrentDirectoryW(MAX_PATH, saved_);
        ASSERT_TRUE(SetCurrentDirectoryW(folder.c_str()));
        ASSERT_EQ(StartFramework(), 0);
        ASSERT_EQ(OpenTextWindowOnUserThread(0, 0, 0, 300, 150), 0);
        std::wstring boxes;
        ASSERT_EQ(CallClosingBoxes(KRT_StartLog, boxes), 0);
        PrintOnUserThread("a\n");
        EXPECT_EQ(CallClosingBoxes(KRT_CopyLog, boxes), 0);
        EXPECT_EQ(ClipboardBytes(), "a\r\n");
        PrintOnUserThread("b\n");
        EXPECT_EQ(boxes, L"");
        RunOnUserThread([] { KRT_CloseLog(0); });
        StopFramework();
        SetCurrentDirectoryW(saved_);

        const std::wstring name = folder + L"\\KRTLIB" + std::to_wstring(instanceNumber) + L"0.LOG";
        const std::vector<unsigned char> bytes = ReadBytes(name);
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "a\r\nb\r\n");
        EXPECT_EQ(FilesUnder(root_.path()), std::vector<std::wstring>{name});
    }
    // A log call on slot 0 of the user-program thread; the texts of the boxes it shows are
    // added to `boxes`, and each box is closed.
    static int CallClosingBoxes(int (*call)(int), std::wstring& boxes)
    {
        static std::atomic<int> result;
        result = -1;
        PostToUserThread([call] { result = call(0); });
        while (result == -1) {
            HWND box = nullptr;
            if (!PumpUntil([&] { return result != -1 || (box = FindWindowW(L"#32770", nullptr)) != nullptr; }))
                break;
            if (box)
                boxes += DismissBox(WindowText(box).c_str());
        }
        return result;
    }
    static std::vector<std::wstring> FilesUnder(const std::wstring& folder)
    {
        std::vector<std::wstring> files;
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            return files;
        do {
            const std::wstring name = found.cFileName, full = folder + L"\\" + name;
            if (name == L"." || name == L"..")
                continue;
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                files.push_back(full);
            else
                for (const std::wstring& file : FilesUnder(full))
                    files.push_back(file);
        } while (FindNextFileW(search, &found));
        FindClose(search);
        return files;
    }
    size_t RootLength() const { return root_.path().size() + 1; }  // with the backslash after it
    TempFolder root_;  // removed after TearDown has left it
    wchar_t saved_[MAX_PATH] = L"";
};

TEST_F(LogFolder, ALongAsciiFolderKeepsTheWholeName)
{
    // 246 characters: the log's full name is 259, the most a path holds.
    LogAndCopyIn(std::wstring(246 - RootLength(), L'd'));
}

TEST_F(LogFolder, AFolderTooLongToBeReadLogsIntoTheWorkingDirectoryNotTheRoot)
{
    // More than a path holds (Wine allows such a working directory): the folder cannot be
    // taken at start-up, and the log is named relative to the working directory.
    LogAndCopyIn(std::wstring(150, L'a') + L"\\" + std::wstring(150, L'b'));
}

TEST_F(LogFolder, AFolderOfDoubleByteCharactersAndOneOutsideTheCodePage)
{
    // Its narrow form is longer than 260 bytes; U+D55C has no code page 932 form at all.  Two
    // levels, as the host's file system takes at most 255 bytes of UTF-8 in one name.
    const size_t half = (262 - RootLength()) / 4 + 1;
    LogAndCopyIn(std::wstring(half, L'\x65E5') + L"\\" + std::wstring(half, L'\x65E5') + L"\xD55C");
}

}  // namespace
