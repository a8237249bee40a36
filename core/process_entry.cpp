// Process entry on the GUI thread: instance number, GDI+, window classes, the main window and
// the blocking message loop.
#include <windows.h>
#include <gdiplus.h>
#include <cstdio>
#include <cwchar>

#include "core/clock.h"
#include "core/control_flags.h"
#include "core/framework.h"
#include "core/mailbox.h"
#include "core/process_state.h"
#include "core/request_work.h"
#include "core/text_convert.h"
#include "core/library_reset.h"
#include "core/window_procedures.h"
#include "imaging/text_state.h"
#include "imaging/truetype_font.h"

HINSTANCE krtInstance = nullptr;
bool krtOwnsProcess = false;
HMENU menuBar = nullptr;
wchar_t mainWindowClass[32] = L"";
wchar_t openFolderW[kPathChars] = L"";
wchar_t saveFolderW[kPathChars] = L"";
wchar_t logFolderW[kFolderChars] = L"";

namespace {

ULONG_PTR gdiplusToken = 0;
HANDLE instanceClaim = nullptr;

struct ClassRow {
    const wchar_t* name;  // nullptr: the main window's numbered class
    WNDPROC procedure;
    UINT style;
    HBRUSH (*background)();
};

HBRUSH ButtonFace() { return reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)); }
HBRUSH Black() { return static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)); }

const ClassRow kClasses[] = {
    {nullptr, MainWindowProc, CS_CLASSDC, ButtonFace},
    {kImageWindowClass, ImageWindowProc, CS_OWNDC, Black},
    {kTextWindowClass, TextWindowProc, CS_OWNDC, Black},
    {kInputBoxClass, InputBoxProc, CS_OWNDC | CS_DBLCLKS, ButtonFace},
    {kButtonBoxClass, ButtonBoxProc, CS_OWNDC | CS_DBLCLKS, ButtonFace},
};
static_assert(sizeof kClasses / sizeof kClasses[0] == 5, "five window classes");

const wchar_t* ClassName(const ClassRow& row) { return row.name ? row.name : mainWindowClass; }

// The lowest n in 0..9 whose main window class has no window yet, or -1.  A named mutex held
// for the life of the process also marks a number as taken, so that instances started at the
// same moment (before either has its window) do not both take the same number and write the
// same log files.
int ClaimInstanceNumber()
{
    for (int n = 0; n < kMaxInstances; ++n) {
        wchar_t name[32];
        swprintf(name, 32, L"krtlib_mw%d", n);
        if (FindWindowW(name, nullptr))
            continue;
        wchar_t claimName[48];
        swprintf(claimName, 48, L"Local\\krtlib_instance_%d", n);
        HANDLE claim = CreateMutexW(nullptr, FALSE, claimName);
        if (claim && GetLastError() == ERROR_ALREADY_EXISTS) {
            CloseHandle(claim);
            continue;
        }
        instanceClaim = claim;
        wcscpy(mainWindowClass, name);
        return n;
    }
    return -1;
}

// A working directory longer than a path (or one that cannot be read) leaves every folder
// empty: the dialogs then start where the system chooses, and log names are relative to the
// working directory.  A lone backslash would put the logs in the root of the drive.
void TakeWorkingDirectory()
{
    wchar_t folder[kPathChars] = L"";
    const DWORD length = GetCurrentDirectoryW(kPathChars, folder);
    if (length == 0 || length >= static_cast<DWORD>(kPathChars))
        folder[0] = L'\0';
    wcscpy(openFolderW, folder);
    wcscpy(saveFolderW, folder);
    wcscpy(logFolderW, folder);  // one unit longer than a path, for the backslash
    const size_t units = wcslen(logFolderW);
    if (units > 0 && logFolderW[units - 1] != L'\\')
        wcscat(logFolderW, L"\\");
    // kFolderBytes holds every folder whole in any code page.
    NarrowText(openFolderW, -1, openFolder, kFolderBytes);
    NarrowText(saveFolderW, -1, saveFolder, kFolderBytes);
    NarrowText(logFolderW, -1, logFolder, kFolderBytes);
}

bool RegisterClasses()
{
    for (const ClassRow& row : kClasses) {
        WNDCLASSEXW wc = {};
        wc.cbSize = sizeof wc;
        wc.style = row.style;
        wc.lpfnWndProc = row.procedure;
        wc.hInstance = krtInstance;
        wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        wc.hbrBackground = row.background();
        wc.lpszClassName = ClassName(row);
        if (!RegisterClassExW(&wc))
            return false;
    }
    return true;
}

HMENU BuildMenuBar()
{
    struct Row { UINT id; const wchar_t* text; };
    static const Row rows[] = {{1001, L"Start(&S)"}, {1003, L"Stop(&C)"}, {1002, L"Exit(&X)"}};
    HMENU bar = CreateMenu();
    UINT position = 0;
    for (const Row& row : rows) {
        MENUITEMINFOW item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_ID | MIIM_STRING | MIIM_FTYPE;
        item.fType = MFT_STRING;
        item.wID = row.id;
        item.dwTypeData = const_cast<wchar_t*>(row.text);
        InsertMenuItemW(bar, position++, TRUE, &item);
    }
    return bar;
}

void CreateTrueTypeFont()
{
    CreateStartupTrueTypeFont();
    krt_tttc = 0xFFFFFF;
    TextCursor = {0, 0, 0};
}

}  // namespace

int KrtStart(HINSTANCE instance)
{
    // Narrow text is walked in the process's own code page, asked of the system once.
    SetProcessCodePage(SystemCodePage());
    // 1. Instance number.
    instanceNumber = ClaimInstanceNumber();
    if (instanceNumber < 0) {
        MessageBoxW(nullptr, L"Over instance limit!", L"KRTLIB", MB_OK);
        return 1;
    }
    // 2. GDI+.
    Gdiplus::GdiplusStartupInput input;  // version 1, no debug callback, codecs not suppressed
    Gdiplus::GdiplusStartup(&gdiplusToken, &input, nullptr);
    // 3. Millisecond factor.
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    millisecondFactor = 1000.0 / static_cast<double>(frequency.QuadPart);
    // 4. and 5. Tables, the working directory and the other process-wide state.
    ResetControlFlags();
    ResetMailbox();
    SetMailboxWaitHooks({PumpMessages, MailboxCanServe});
    InstallRequestWork();
    ResetLibraryTables();
    krtInstance = instance;
    TakeWorkingDirectory();
    // 6. Window classes.
    if (!RegisterClasses())
        return 1;
    // 7. to 9. The main window's size: a client 240 wide and a menu bar plus 32 high, framed
    // for the style without a menu.
    const int screenWidth = GetSystemMetrics(SM_CXFULLSCREEN);
    const int workBottom = GetSystemMetrics(SM_CYFULLSCREEN) + GetSystemMetrics(SM_CYCAPTION);
    menuBar = BuildMenuBar();
    const DWORD style = WS_VISIBLE | WS_CAPTION | WS_THICKFRAME;
    RECT frame = {0, 0, 240, GetSystemMetrics(SM_CYMENU) + 32};
    AdjustWindowRect(&frame, style, FALSE);
    const int w = frame.right - frame.left, h = frame.bottom - frame.top;
    // 13. comes first: the main window starts the user-program thread, and what its
    // UserProgramInit sets (the text colour, the text cursor) must not be reset after it.
    CreateTrueTypeFont();
    // 10. Created 55 pixels above its place; the drop-in animation of WM_CREATE brings its
    // bottom edge onto the bottom of the work area.
    CreateWindowExW(0, mainWindowClass, L"KRTLIB", style, (screenWidth - w) / 2,
                    workBottom - h - 55, w, h, nullptr, menuBar, krtInstance, nullptr);
    if (!MainWindow)
        return 1;
    // 11. and 12.
    ShowIdleStatus();
    DragAcceptFiles(MainWindow, TRUE);
    UpdateWindow(MainWindow);
    return 0;
}

void KrtRunMessageLoop()
{
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void KrtFinish()
{
    DeleteTrueTypeFont();
    if (menuBar && IsMenu(menuBar))
        DestroyMenu(menuBar);
    menuBar = nullptr;
    if (gdiplusToken) {
        Gdiplus::GdiplusShutdown(gdiplusToken);
        gdiplusToken = 0;
    }
    for (const ClassRow& row : kClasses)
        UnregisterClassW(ClassName(row), krtInstance);
    if (instanceClaim) {
        CloseHandle(instanceClaim);
        instanceClaim = nullptr;
    }
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    krtOwnsProcess = true;
    if (KrtStart(instance) != 0)
        return 1;
    KrtRunMessageLoop();
    KrtFinish();
    return 0;
}
