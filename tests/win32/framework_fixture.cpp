#include "framework_fixture.h"

#include <fstream>
#include <sstream>

#include "core/control_flags.h"
#include "core/framework.h"
#include "core/gdi_handles.h"
#include "core/process_state.h"
#include "krtlib.h"

std::function<void()> testUserInit;
std::function<void()> testUserMain;

namespace {

HWND runnerWindow = nullptr;
constexpr UINT kRunWork = WM_APP + 1;
constexpr UINT kRunPostedWork = WM_APP + 2;
constexpr UINT kCreateRunner = WM_APP + 3;
HHOOK runnerHook = nullptr;

LRESULT CALLBACK RunnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kRunWork) {
        (*reinterpret_cast<const std::function<void()>*>(lParam))();
        return 0;
    }
    if (message == kRunPostedWork) {
        auto* work = reinterpret_cast<std::function<void()>*>(lParam);
        (*work)();
        delete work;
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void CreateRunnerWindow()
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = RunnerProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"krt_test_runner";
        RegisterClassW(&wc);
        registered = true;
    }
    runnerWindow = CreateWindowExW(0, L"krt_test_runner", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
}

// The runner window is made on the user-program thread whatever the user program is: a hook on
// that thread sees the thread message that asks for it when the thread's pump takes it.
LRESULT CALLBACK RunnerHook(int code, WPARAM wParam, LPARAM lParam)
{
    const MSG* message = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && !message->hwnd && message->message == kCreateRunner &&
        !runnerWindow)
        CreateRunnerWindow();
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

int StartFramework()
{
    runnerWindow = nullptr;
    dropInPaced = false;  // the same moves, without a second of waiting per test
    const int result = KrtStart(GetModuleHandleW(nullptr));
    if (result != 0)
        return result;
    runnerHook = SetWindowsHookExW(WH_GETMESSAGE, RunnerHook, nullptr, userThreadId);
    // The thread has a message queue once it has looked at it; post until the post is taken.
    PumpUntil([] {
        return runnerWindow != nullptr || PostThreadMessageW(userThreadId, kCreateRunner, 0, 0);
    });
    PumpUntil([] { return runnerWindow != nullptr; });
    return result;
}

void StopFramework()
{
    if (MainWindow && IsWindow(MainWindow))
        SendMessageW(MainWindow, WM_COMMAND, 1002, 0);
    // Exit leaves WM_QUIT for the message loop; take it so that it does not end the next test.
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT)
            break;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (runnerHook)
        UnhookWindowsHookEx(runnerHook);
    runnerHook = nullptr;
    KrtFinish();
    SetCtrlDown(false);
    testUserInit = nullptr;
    testUserMain = nullptr;
}

bool PumpUntil(const std::function<bool()>& condition, unsigned timeoutMs)
{
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        PumpMessages();
        Sleep(1);
    }
    return true;
}

void PumpFor(unsigned milliseconds)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        PumpMessages();
        Sleep(1);
    }
}

void RunOnUserThread(const std::function<void()>& work)
{
    SendMessageW(runnerWindow, kRunWork, 0, reinterpret_cast<LPARAM>(&work));
}

void SetCtrlDown(bool down)
{
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = down ? 0x80 : 0;
    keys[VK_LCONTROL] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

void FrameworkTest::SetUp()
{
    ASSERT_EQ(StartFramework(), 0);
}

void FrameworkTest::TearDown()
{
    StopFramework();
}

void PostToUserThread(std::function<void()> work)
{
    PostMessageW(runnerWindow, kRunPostedWork, 0,
                 reinterpret_cast<LPARAM>(new std::function<void()>(std::move(work))));
}

Snapshot TakeSnapshot(HDC source, int width, int height)
{
    Snapshot shot;
    shot.width = width;
    shot.height = height;
    shot.pixels.assign(static_cast<size_t>(width) * height, 0);
    void* bits = nullptr;
    HBITMAP dib = CreateTopDownDib32(nullptr, width, height, &bits);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, dib);
    BitBlt(dc, 0, 0, width, height, source, 0, 0, SRCCOPY);
    GdiFlush();
    const unsigned* words = static_cast<const unsigned*>(bits);
    for (size_t i = 0; i < shot.pixels.size(); ++i)
        shot.pixels[i] = words[i] & 0xFFFFFF;
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(dib);
    return shot;
}

HWND OpenOwnedDialog(HWND owner, int command)
{
    PostMessageW(owner, WM_COMMAND, command, 0);
    HWND dialog = nullptr;
    PumpUntil([&] {
        dialog = nullptr;
        while ((dialog = FindWindowExW(nullptr, dialog, L"#32770", nullptr)) != nullptr)
            if (GetWindow(dialog, GW_OWNER) == owner && IsWindowVisible(dialog))
                return true;
        return false;
    });
    return dialog;
}

std::wstring WindowText(HWND window)
{
    wchar_t text[512] = L"";
    GetWindowTextW(window, text, 512);
    return text;
}

std::string LogPath(int slot)
{
    return std::string(logFolder) + "KRTLIB" + std::to_string(instanceNumber) + std::to_string(slot) + ".LOG";
}

std::string FileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}
