#include "framework_fixture.h"

#include "core/control_flags.h"
#include "core/framework.h"
#include "krtlib.h"

std::function<void()> testUserInit;
std::function<void()> testUserMain;

namespace {

HWND runnerWindow = nullptr;
constexpr UINT kRunWork = WM_APP + 1;

LRESULT CALLBACK RunnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kRunWork) {
        (*reinterpret_cast<const std::function<void()>*>(lParam))();
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

}  // namespace

// The test process's user program.
void UserProgramInit(void)
{
    CreateRunnerWindow();
    if (testUserInit)
        testUserInit();
}

void UserProgramMain(void)
{
    if (testUserMain)
        testUserMain();
}

int StartFramework()
{
    runnerWindow = nullptr;
    const int result = KrtStart(GetModuleHandleW(nullptr));
    if (result == 0)
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
