// Helpers of the box tests: what a user sees of a box, and the prompts they answer in text
// window 0, whose log records what the prompts printed and the lines typed.
#pragma once
#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "core/framework.h"
#include "core/process_state.h"
#include "menu_capture.h"
#include "text_test_support.h"

inline std::vector<std::wstring> ChildTexts(HWND parent)
{
    std::vector<std::wstring> texts;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        texts.push_back(WindowText(child));
    return texts;
}

// {x, y, width, height}: a child in its parent's client area, or a window's client size.
inline std::array<int, 4> ChildRect(HWND child)
{
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

inline std::array<int, 2> ClientSize(HWND window)
{
    RECT r = {};
    GetClientRect(window, &r);
    return {r.right, r.bottom};
}

// The popup menu of a right click at a client point of a box, or on its caption.
inline std::vector<CapturedItem> BoxMenu(HWND box, int x, int y)
{
    return CaptureMenu(userThreadId, [=] { PostMessageW(box, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(x, y)); });
}

inline std::vector<CapturedItem> CaptionMenu(HWND box)
{
    RECT r;
    GetWindowRect(box, &r);
    return CaptureMenu(userThreadId, [=] {
        PostMessageW(box, WM_NCRBUTTONDOWN, HTCAPTION, MAKELPARAM(r.left + 40, r.top + 8));
    });
}

// The menu has the single item `id` with `text`; it is then chosen.
inline ::testing::AssertionResult ChooseOnlyItem(HWND box, const std::vector<CapturedItem>& menu, UINT id,
                                                 const std::wstring& text)
{
    if (menu.size() != 1 || menu[0].id != id || menu[0].text != text)
        return ::testing::AssertionFailure() << "not a menu of the single item " << id;
    PostMessageW(box, WM_COMMAND, id, 0);
    return ::testing::AssertionSuccess();
}

// Every message posted to the user-program thread so far has been handled.
inline void FlushUserThread()
{
    static std::atomic<int> flushed;
    flushed = 0;
    PostToUserThread([] { flushed = 1; });
    PumpUntil([] { return flushed == 1; });
}

inline void PostKey(HWND window, WPARAM key) { PostMessageW(window, WM_KEYDOWN, key, 0); }

inline void OpenPromptWindow()
{
    ASSERT_EQ(OpenTextWindowOnUserThread(0, 600, 0, 400, 200), 0);
    std::remove(LogPath(0).c_str());
    RunOnUserThread([] { KRT_StartLog(0); });
}

// The log so far; it is closed and removed (a log file is not shared while open).
inline std::string TakePromptLog()
{
    RunOnUserThread([] { KRT_CloseLog(0); });
    const std::string bytes = FileBytes(LogPath(0));
    std::remove(LogPath(0).c_str());
    return bytes;
}

// Answers the prompt that a posted message starts, and waits until that message is handled.
inline bool AnswerPrompt(const std::wstring& line)
{
    if (!PumpUntil([] { return lineInputOwner != 0; }))
        return false;
    TypeUnits(TextRecord(0).window, line + L"\r");
    if (!PumpUntil([] { return lineInputOwner == 0; }))
        return false;
    FlushUserThread();
    return true;
}

// Lines for the line inputs of the main window's dialogues, which run on this (the GUI) thread:
// a timer firing inside their reading loop types the next line once a read waits and every unit
// typed before has been taken.
struct GuiTypist {
    std::vector<std::wstring> lines;
    size_t next;
    unsigned expectedTaken;
};
inline GuiTypist typist;

inline void CALLBACK TypistTick(HWND, UINT, UINT_PTR timer, DWORD)
{
    if (InputRing.taken.load() != typist.expectedTaken || lineInputOwner == 0)
        return;
    if (typist.next == typist.lines.size()) {
        KillTimer(nullptr, timer);
        return;
    }
    const std::wstring line = typist.lines[typist.next++] + L"\r";
    typist.expectedTaken = InputRing.stored.load() + static_cast<unsigned>(line.size());
    TypeUnits(TextRecord(0).window, line);
}

inline void TypeLinesForGuiThread(std::vector<std::wstring> lines)
{
    typist = {std::move(lines), 0, InputRing.taken.load()};
    SetTimer(nullptr, 0, 10, TypistTick);
}
