#include "menu_capture.h"

#include <atomic>

#include "core/framework.h"
#include "framework_fixture.h"

namespace {

std::vector<CapturedItem> captured;
std::atomic<bool> haveMenu{false};
std::atomic<bool> menuClosed{false};
UINT_PTR endTimer = 0;

std::vector<CapturedItem> ReadMenu(HMENU menu)
{
    std::vector<CapturedItem> items;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[512] = L"";
        MENUITEMINFOW info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 511;
        GetMenuItemInfoW(menu, i, TRUE, &info);
        CapturedItem item;
        item.id = info.wID;
        item.separator = (info.fType & MFT_SEPARATOR) != 0;
        item.grayed = (info.fState & MFS_GRAYED) != 0;
        item.checked = (info.fState & MFS_CHECKED) != 0;
        item.text = text;
        if (info.hSubMenu)
            item.submenu = ReadMenu(info.hSubMenu);
        items.push_back(item);
    }
    return items;
}

void CALLBACK EndMenuTimer(HWND, UINT, UINT_PTR, DWORD)
{
    EndMenu();
}

LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && message->message == WM_INITMENUPOPUP && !haveMenu) {
        captured = ReadMenu(reinterpret_cast<HMENU>(message->wParam));
        haveMenu = true;
        // Close the menu from inside its own modal loop, once it is up.
        endTimer = SetTimer(nullptr, 0, 50, EndMenuTimer);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK ExitHook(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && message->message == WM_EXITMENULOOP) {
        if (endTimer)
            KillTimer(nullptr, endTimer);
        endTimer = 0;
        menuClosed = true;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

std::vector<CapturedItem> CaptureMenu(DWORD thread, const std::function<void()>& trigger,
                                      unsigned timeoutMs)
{
    captured.clear();
    haveMenu = false;
    menuClosed = false;
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, Hook, nullptr, thread);
    HHOOK exitHook = SetWindowsHookExW(WH_CALLWNDPROC, ExitHook, nullptr, thread);
    trigger();
    PumpUntil([] { return haveMenu && menuClosed; }, timeoutMs);
    UnhookWindowsHookEx(exitHook);
    UnhookWindowsHookEx(hook);
    return haveMenu ? captured : std::vector<CapturedItem>{};
}

namespace {

// The keys that choose item `id` of a popup menu just opened with nothing selected: Down
// selects the first item and moves over separators, Right opens a submenu at its first item.
std::vector<WPARAM> KeysTo(const std::vector<CapturedItem>& menu, UINT id)
{
    int top = 0;
    for (const CapturedItem& item : menu) {
        if (item.separator)
            continue;
        if (item.submenu.empty() && item.id == id) {
            std::vector<WPARAM> keys(top + 1, VK_DOWN);
            keys.push_back(VK_RETURN);
            return keys;
        }
        int inner = 0;
        for (const CapturedItem& sub : item.submenu) {
            if (sub.id == id) {
                std::vector<WPARAM> keys(top + 1, VK_DOWN);
                keys.push_back(VK_RIGHT);
                keys.insert(keys.end(), inner, VK_DOWN);
                keys.push_back(VK_RETURN);
                return keys;
            }
            inner += sub.separator ? 0 : 1;
        }
        ++top;
    }
    return {};
}

std::vector<WPARAM> queuedKeys;
std::atomic<bool> keysSent{false};
std::atomic<bool> menuEnded{false};

// On the menu's own thread, as the menu opens: queue the keys, which the menu's modal loop
// then takes as a user's key presses.
LRESULT CALLBACK KeysHook(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && message->message == WM_INITMENUPOPUP && !keysSent) {
        keysSent = true;
        for (WPARAM key : queuedKeys)
            PostMessageW(message->hwnd, WM_KEYDOWN, key, 0);
    }
    if (code == HC_ACTION && message->message == WM_EXITMENULOOP)
        menuEnded = true;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Every message posted to the user-program thread so far has been dispatched.
void FlushUserThread()
{
    static std::atomic<int> flushed;
    flushed = 0;
    PostToUserThread([] { flushed = 1; });
    PumpUntil([] { return flushed == 1; });
}

}  // namespace

namespace {

bool ChooseRow(HWND window, UINT id, WPARAM keys)
{
    auto click = [window, keys] { PostMessageW(window, WM_RBUTTONDOWN, keys, MAKELPARAM(20, 20)); };
    queuedKeys = KeysTo(CaptureMenu(userThreadId, click), id);
    if (queuedKeys.empty())
        return false;
    keysSent = false;
    menuEnded = false;
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, KeysHook, nullptr, userThreadId);
    click();
    const bool ended = PumpUntil([] { return menuEnded.load(); });
    UnhookWindowsHookEx(hook);
    FlushUserThread();  // the chosen row's command was posted before the menu's loop ended
    return ended;
}

}  // namespace

bool ChooseToolsRow(HWND window, UINT id) { return ChooseRow(window, id, MK_RBUTTON | MK_CONTROL); }

bool ChooseImageMenuRow(HWND window, UINT id) { return ChooseRow(window, id, MK_RBUTTON); }

std::wstring Wide(const char* utf8)
{
    wchar_t buffer[1024];
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, buffer, 1024);
    return n > 0 ? std::wstring(buffer, n - 1) : std::wstring();
}
