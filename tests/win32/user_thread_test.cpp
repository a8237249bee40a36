// The user-program thread: Start, Stop and Exit, frame pacing and requests served on it.
#include <gtest/gtest.h>

#include <atomic>

#include "core/control_flags.h"
#include "core/framework.h"
#include "core/mailbox.h"
#include "framework_fixture.h"
#include "imaging/text_state.h"
#include "krtlib.h"

namespace {

void Command(int id) { SendMessageW(MainWindow, WM_COMMAND, id, 0); }

HANDLE DuplicateUserThread()
{
    HANDLE copy = nullptr;
    DuplicateHandle(GetCurrentProcess(), userThread, GetCurrentProcess(), &copy, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    return copy;
}

DWORD ExitCodeOf(HANDLE thread)
{
    DWORD code = 0;
    GetExitCodeThread(thread, &code);
    return code;
}

using UserThread = FrameworkTest;

TEST_F(UserThread, StartWhileRunningIsIgnoredAndANewStartAfterTheRunWorks)
{
    static std::atomic<int> runs;
    runs = 0;
    testUserMain = [] {
        ++runs;
        while (WaitNextFrame() == 0) {
        }
    };
    Command(1001);
    ASSERT_TRUE(PumpUntil([] { return running == 1; }));
    Command(1001);  // second Start during the run
    EXPECT_EQ(startRequested, 0);
    Command(1003);
    ASSERT_TRUE(PumpUntil([] { return running == 0; }));
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(stopRequested, 0);  // cleared when the run ended
    Command(1001);
    ASSERT_TRUE(PumpUntil([] { return runs == 2; }));
    Command(1003);
    ASSERT_TRUE(PumpUntil([] { return running == 0; }));
}

TEST_F(UserThread, WaitNextFramePacesAndReturnsOneAtOnceAfterStopUntilCleared)
{
    static std::atomic<int> phase;
    static std::atomic<unsigned> pacedMs;
    static std::atomic<int> afterStop[3];
    phase = 0;
    testUserMain = [] {
        const unsigned t0 = MillisecondClock();
        const int first = WaitNextFrame();
        pacedMs = MillisecondClock() - t0;
        phase = first == 0 ? 1 : -1;
        while (stopRequested == 0)
            PumpUserMessages();
        afterStop[0] = WaitNextFrame();
        afterStop[1] = WaitNextFrame();
        stopRequested = 0;
        afterStop[2] = WaitNextFrame();
        phase = 2;
    };
    Command(1001);
    ASSERT_TRUE(PumpUntil([] { return phase != 0; }));
    ASSERT_EQ(phase, 1);
    EXPECT_GE(pacedMs, 29u);  // 30 ms rounded to nearest, read on a floored clock
    Command(1003);
    ASSERT_TRUE(PumpUntil([] { return phase == 2; }));
    EXPECT_EQ(afterStop[0], 1);
    EXPECT_EQ(afterStop[1], 1);
    EXPECT_EQ(afterStop[2], 0);
    ASSERT_TRUE(PumpUntil([] { return running == 0; }));
}

TEST_F(UserThread, ExitWhileIdleEndsTheThreadNormally)
{
    HANDLE thread = DuplicateUserThread();
    const unsigned t0 = MillisecondClock();
    Command(1002);
    const unsigned took = MillisecondClock() - t0;
    EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_OBJECT_0);
    EXPECT_EQ(ExitCodeOf(thread), 0u);  // returned from its loop, not terminated
    EXPECT_EQ(exitState, 2);
    EXPECT_FALSE(IsWindow(MainWindow));
    EXPECT_LT(took, 2000u);
    CloseHandle(thread);
}

TEST_F(UserThread, ExitWhileTheProgramSpinsTerminatesTheThreadAfterTwoSeconds)
{
    testUserMain = [] {
        volatile int spin = 0;
        for (;;)
            spin = spin + 1;  // never polls, never dispatches
    };
    Command(1001);
    ASSERT_TRUE(PumpUntil([] { return running == 1; }));
    HANDLE thread = DuplicateUserThread();
    const unsigned t0 = MillisecondClock();
    Command(1002);
    const unsigned took = MillisecondClock() - t0;
    EXPECT_GE(took, 2000u);
    EXPECT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
    EXPECT_EQ(ExitCodeOf(thread), 1u);
    EXPECT_EQ(exitForced, 1);
    EXPECT_EQ(exitState, 2);
    EXPECT_FALSE(IsWindow(MainWindow));
    CloseHandle(thread);
}

TEST_F(UserThread, RequestsRunOnTheUserThreadOnlyBetweenRuns)
{
    static std::atomic<DWORD> workThread;
    static std::atomic<int> workRunningFlag;
    static std::atomic<int> releaseRun;
    workThread = 0;
    releaseRun = 0;
    RequestWork& entry = RequestWorkTable[RequestOpenInputBox - kFirstRequestCode];
    const RequestWork original = entry;
    entry = [](MailboxFields& request) {
        workThread = GetCurrentThreadId();
        workRunningFlag = running.load();
        request.result = request.slot + 1;
    };
    testUserMain = [] {
        while (releaseRun == 0)
            PumpUserMessages();
    };
    Command(1001);
    ASSERT_TRUE(PumpUntil([] { return running == 1; }));
    // Posted during a run: served only after the run ends.
    SetTimer(nullptr, 0, 200, [](HWND, UINT, UINT_PTR timer, DWORD) {
        KillTimer(nullptr, timer);
        releaseRun = 1;
    });
    PostOpenInputBox(4);
    EXPECT_EQ(workThread, userThreadId);
    EXPECT_EQ(workRunningFlag, 0);
    EXPECT_EQ(RequestMailbox.result, 5);
    EXPECT_EQ(RequestMailbox.code, 0);
    entry = original;
}

TEST_F(UserThread, PosterGivesUpWhenExitEndsAProgramThatNeverReturns)
{
    testUserMain = [] {
        for (;;)
            PumpUserMessages();
    };
    Command(1001);
    ASSERT_TRUE(PumpUntil([] { return running == 1; }));
    // Exit arrives while the poster waits; the request can never be served.
    SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR timer, DWORD) {
        KillTimer(nullptr, timer);
        SendMessageW(MainWindow, WM_COMMAND, 1002, 0);
    });
    EXPECT_EQ(PostCreateImage(0, "000", 10, 10, 32), kRequestNotServed);
    EXPECT_FALSE(IsWindow(MainWindow));
}

std::atomic<int> initRan;

// Holds the main window's thread, at its first message after the user-program thread exists,
// until UserProgramInit has run: whatever start-up did after that point would undo its settings.
LRESULT CALLBACK AwaitInit(int code, WPARAM wParam, LPARAM lParam)
{
    for (DWORD start = GetTickCount(); userThread && initRan == 0 && GetTickCount() - start < 10000;)
        Sleep(1);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(UserThreadStart, SettingsMadeByUserProgramInitAreKept)
{
    static std::atomic<int> fontExisted;
    fontExisted = -1;
    initRan = 0;
    testUserInit = [] {
        fontExisted = trueTypeFont != nullptr;
        krt_tttc = 0x123456;
        TextCursor = {7, 30, 5};
        initRan = 1;
    };
    HHOOK hold = SetWindowsHookExW(WH_CALLWNDPROC, AwaitInit, nullptr, GetCurrentThreadId());
    const int started = StartFramework();
    UnhookWindowsHookEx(hold);
    EXPECT_EQ(started, 0);
    EXPECT_EQ(initRan, 1);
    EXPECT_EQ(fontExisted, 1);
    EXPECT_EQ(krt_tttc, 0x123456);
    EXPECT_EQ(TextCursor.x, 7);
    EXPECT_EQ(TextCursor.baseline, 30);
    EXPECT_EQ(TextCursor.leftMargin, 5);
    StopFramework();
}

}  // namespace
