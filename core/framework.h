// The framework's Win32 side: the process entry split into steps (so tests can start and stop
// it in-process), the main window and the two threads' message pumps.
#pragma once
#include <windows.h>

#include "core/process_state.h"
#include "krtlib.h"

// Window handles and values kept process-wide.
extern HINSTANCE krtInstance;
extern HWND MainWindow;
extern HWND statusLine;
extern HMENU menuBar;
extern HANDLE userThread;
extern DWORD userThreadId;
// Whether the main window's drop-in takes its 28 steps of 20 ms and the rest after them (about a
// second).  The library's own tests, which start the library again for every case, make the same
// moves without the waits.
extern bool dropInPaced;
// Whether the library's own process entry runs this process (a program), rather than a test
// that starts and stops the library in-process.  Exit then ends the process itself after it had
// to terminate the user-program thread (see ExitFramework).
extern bool krtOwnsProcess;
// The working directory at start-up in UTF-16 (see process_state.h); the log folder is the
// one the log files are opened in, so that any folder name works.
extern wchar_t openFolderW[kPathChars];
extern wchar_t saveFolderW[kPathChars];
extern wchar_t logFolderW[kFolderChars];

constexpr int kStatusLineId = 2001;

// Process entry, in steps: KrtStart claims the instance number, starts GDI+, registers the
// classes and creates the main window (which starts the user-program thread); it returns 0, or
// 1 at the instance limit or when a class cannot be registered.  KrtRunMessageLoop runs until
// the main window is destroyed.  KrtFinish releases what KrtStart took and unregisters the
// classes, so that a test can start the framework again.
int KrtStart(HINSTANCE instance);
void KrtRunMessageLoop();
void KrtFinish();

// Window class names (the main window's carries the instance number).
extern wchar_t mainWindowClass[32];
constexpr const wchar_t* kImageWindowClass = L"krt_iw";
constexpr const wchar_t* kTextWindowClass = L"krt_twi";
constexpr const wchar_t* kInputBoxClass = L"krt_ib";
constexpr const wchar_t* kButtonBoxClass = L"krt_bb";


// The user-program thread and the message pumps.
DWORD WINAPI UserThreadMain(LPVOID);
void PumpMessages();      // GUI thread: dispatch until the queue is empty
// PumpUserMessages (krtlib.h), on the user-program thread, offers each message to the boxes first.

// Exit: ends the user-program thread and destroys the main window.  The thread's dialogs are
// answered; it has 2000 ms to end, then it ends at its next library call, and one that makes
// none within 500 ms more is terminated (exitForced).
void ExitFramework();
// Called on entry by the library calls a busy program makes (printing, dispatching, waiting for
// the next frame, refreshing, loading and saving image files): once Exit's wait has run out,
// the user-program thread ends here, where it holds no lock of the library, the C runtime or the
// window system, instead of being terminated wherever it happens to be.
void EndUserThreadIfOverdue();

// Whether Ctrl is held, as this thread's key state says.
inline bool CtrlHeld() { return GetKeyState(VK_CONTROL) < 0; }

// Status line, snapping.
void SetStatusText(const char* text);
void ShowIdleStatus();  // "%d-bit color" with the display's colour depth
void RebuildSnapTable();
void SnapMovingRect(RECT* proposed, HWND window);

// Posting operations of the request mailbox (GUI thread).
int PostCreateImage(int slot, const char* name, int width, int height, int bitDepth);
// restorePrevious: the previous current image is restored after the refresh, on the
// user-program thread (the end of a drop's or a paste's sequence of requests).
void PostRefreshImage(int slot, bool restorePrevious = false);
int PostLoadImage(int slot, const char* path);
void PostPasteBitmap(HBITMAP bitmap);
void PostOpenTextWindow(int slot);
void PostOpenInputBox(int count);
void PostOpenButtonBox(int columns, int rows);

// True while the user-program thread runs and Exit has not begun: a mailbox poster waits only then.
bool MailboxCanServe();
