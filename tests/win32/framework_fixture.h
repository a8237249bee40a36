// Starting and stopping the real framework inside a test process.  The test's main thread is
// the GUI thread; the framework creates the user-program thread as usual.
#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

// What the test's user program does; set before the framework starts.
extern std::function<void()> testUserInit;
extern std::function<void()> testUserMain;

// Starts the framework (main window, user-program thread); returns KrtStart's result.
int StartFramework();
// Ends it with Exit if it still runs, takes the WM_QUIT that Exit leaves, and releases everything.
void StopFramework();

// Dispatches the GUI thread's messages until condition() holds or timeoutMs pass; returns
// whether it held.  Deadlines are generous: the machines are shared.
bool PumpUntil(const std::function<bool()>& condition, unsigned timeoutMs = 10000);
void PumpFor(unsigned milliseconds);

// Runs work on the user-program thread (through a posted message the thread dispatches) and
// waits for it; the thread must be idle or dispatching.
void RunOnUserThread(const std::function<void()>& work);

// Posts WM_COMMAND `command` to `owner` and waits for the dialog it opens (a visible "#32770"
// window owned by `owner`); null if none came.
HWND OpenOwnedDialog(HWND owner, int command);

// A window's text (its title, or a control's label).
std::wstring WindowText(HWND window);

// Holds or releases Ctrl in the calling thread's key state, as GetKeyState sees it.
void SetCtrlDown(bool down);

class FrameworkTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

// Runs work on the user-program thread without waiting for it (for work that itself waits for
// input the test sends afterwards).
void PostToUserThread(std::function<void()> work);

// A copy of a device context's pixels as 0x00RRGGBB words, row by row.
struct Snapshot {
    int width = 0, height = 0;
    std::vector<unsigned> pixels;
    unsigned at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
Snapshot TakeSnapshot(HDC source, int width, int height);

// Where text window `slot` logs: KRTLIB<instance><slot>.LOG in the log folder.
std::string LogPath(int slot);
// A whole file's bytes; empty when it cannot be read.
std::string FileBytes(const std::string& path);
