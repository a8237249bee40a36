// The user-program thread, the two threads' message pumps, the clock, frame pacing and Exit.
#include <windows.h>

#include <algorithm>
#include <cwchar>

#include "boxes/box_state.h"
#include "core/clock.h"
#include "core/control_flags.h"
#include "core/framework.h"
#include "core/mailbox.h"
#include "krtlib.h"
#include "text/console_repaint.h"
#include "text/log_file.h"
#include "text/text_window_table.h"

namespace {

constexpr unsigned kExitWaitMs = 2000;
// How long Exit waits in all for the logs' locks, which are held only for file work.
constexpr unsigned kLogCloseWaitMs = 1000;
constexpr unsigned kDialogAnswerMs = 50;
// After the wait, how long a program that still calls the library has to reach such a call.
constexpr unsigned kSafePointWaitMs = 500;
constexpr int64_t kFrameMs = 30;

int64_t Counter()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

bool UserThreadAlive()
{
    DWORD code = 0;
    return userThread && GetExitCodeThread(userThread, &code) && code == STILL_ACTIVE;
}


// Takes the next message after a peek; false when it was WM_QUIT, which is put back for the
// thread's main loop to see.
bool TakeMessage(MSG& message)
{
    if (GetMessageW(&message, nullptr, 0, 0) > 0)
        return true;
    PostQuitMessage(static_cast<int>(message.wParam));
    return false;
}

// The dialogs of the user-program thread (file, colour and font dialogs, pause and error boxes)
// run modal loops that return only when the dialog ends.  Exit answers them as the user's
// safest button would (Cancel, else No, else OK), so that the thread gets back to code that sees
// exitState and ends by itself instead of being ended by force inside the dialog.
BOOL CALLBACK AnswerDialog(HWND window, LPARAM)
{
    wchar_t name[8];
    if (!IsWindowVisible(window) || !GetClassNameW(window, name, 8) || wcscmp(name, L"#32770") != 0)
        return TRUE;
    const int answer = GetDlgItem(window, IDCANCEL) ? IDCANCEL : GetDlgItem(window, IDNO) ? IDNO : IDOK;
    PostMessageW(window, WM_COMMAND, answer, 0);
    return TRUE;
}

void AnswerUserThreadDialogs()
{
    if (userThreadId)
        EnumThreadWindows(userThreadId, AnswerDialog, 0);
}

}  // namespace

// A poster may wait only while the user-program thread can still serve its request.
bool MailboxCanServe() { return exitState == 0 && UserThreadAlive(); }

unsigned MillisecondClock()
{
    return MillisecondsFromCounter(Counter(), millisecondFactor);
}

void PumpMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
        if (!TakeMessage(message))
            return;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void EndUserThreadIfOverdue()
{
    if (exitOverdue != 0 && GetCurrentThreadId() == userThreadId)
        ExitThread(1);  // the exit code of a thread ended by force
}

void PumpUserMessages()
{
    EndUserThreadIfOverdue();
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
        if (!TakeMessage(message))
            return;
        // The boxes get Tab and Enter handling by seeing every message first.
        HWND inputBox = InputBox.box;
        if (inputBox && IsDialogMessageW(inputBox, &message))
            continue;
        HWND buttonBox = ButtonBox.box;
        if (buttonBox && IsDialogMessageW(buttonBox, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

DWORD WINAPI UserThreadMain(LPVOID)
{
    UserProgramInit();
    RebuildSnapTable();  // the init entry point has usually opened windows
    while (exitState == 0) {
        Sleep(1);
        PumpUserMessages();
        if (RequestMailbox.code != 0)
            RunPendingRequest();
        if (startRequested != 0 && running == 0) {
            DragAcceptFiles(MainWindow, FALSE);
            running = 1;
            startRequested = 0;
            stopRequested = 0;
            UserProgramMain();
            if (exitState != 0)
                break;  // running stays 1 and dropping stays off: the process is ending
            running = 0;
            stopRequested = 0;
            DragAcceptFiles(MainWindow, TRUE);
        }
    }
    exitState = 2;
    PumpUserMessages();
    return 0;
}

int WaitNextFrame()
{
    EndUserThreadIfOverdue();
    // The frame's drawing is done: the consoles show it now (those copied less than a frame ago
    // show it from their timers, which the wait below dispatches).
    PresentConsolesForFrame();
    const int64_t t0 = Counter();
    if (RoundedMillisecondsBetween(t0, Counter(), millisecondFactor) >= kFrameMs)
        return 0;
    do {
        PumpUserMessages();
        if (stopRequested != 0)
            return 1;
    } while (RoundedMillisecondsBetween(t0, Counter(), millisecondFactor) < kFrameMs);
    return 0;
}

namespace {

// Waits up to `limitMs` for the user-program thread to end.  Messages the thread sends to the
// main window meanwhile (its status line, its file-drop style) are served, so a thread that is
// ending normally is never held up by this wait.  The thread's dialogs are answered on every
// turn: one may open another (an overwrite prompt, or a program's next pause box).
void WaitForUserThread(unsigned limitMs)
{
    const unsigned t0 = MillisecondClock();
    while (UserThreadAlive()) {
        const unsigned elapsed = MillisecondClock() - t0;
        if (elapsed > limitMs)
            break;
        AnswerUserThreadDialogs();
        const unsigned slice = std::min(limitMs + 1 - elapsed, kDialogAnswerMs);
        MsgWaitForMultipleObjects(1, &userThread, FALSE, slice, QS_SENDMESSAGE);
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

}  // namespace

void ExitFramework()
{
    lineInputOwner = 0;  // a pending line input returns
    stopRequested = 1;
    exitState = 1;
    CloseAllLogsWithin(kLogCloseWaitMs);
    WaitForUserThread(kExitWaitMs);
    // A thread terminated inside a print may hold the lock of the window system's drawing, of
    // the heap or of a C stream, and the shut-down that follows would wait for it for ever.  So
    // a program that still calls the library is ended at its next call; only one that never
    // calls it (a pure computation) is terminated.
    if (UserThreadAlive()) {
        exitOverdue = 1;
        WaitForUserThread(kSafePointWaitMs);
    }
    if (UserThreadAlive()) {
        TerminateThread(userThread, 1);
        exitForced = 1;
        // It may have died holding a lock of GDI, GDI+, the window system or a C stream (it was
        // drawing, say), and destroying the windows, releasing their objects or the C runtime's
        // exit could wait for it for ever.  So a program's process ends here, without them; its
        // logs are on disk, every write having been flushed.
        if (krtOwnsProcess)
            TerminateProcess(GetCurrentProcess(), 0);
    }
    if (exitState == 1)
        exitState = 2;
    if (userThread) {
        CloseHandle(userThread);
        userThread = nullptr;
    }
    DestroyWindow(MainWindow);
}
