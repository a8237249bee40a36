// Helpers of the input-box and button-box tests: what a user sees of a box (texts, rectangles,
// the focus) and the relabelling prompts they answer in a text window.
#pragma once
#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/framework.h"
#include "core/process_state.h"
#include "framework_fixture.h"
#include "krtlib.h"
#include "text_test_support.h"

inline std::wstring WindowText(HWND window)
{
    wchar_t text[1024] = L"";
    GetWindowTextW(window, text, 1024);
    return text;
}

inline std::wstring ClassOf(HWND window)
{
    wchar_t name[64] = L"";
    GetClassNameW(window, name, 64);
    return name;
}

// The children of a window in creation order.
inline std::vector<HWND> Children(HWND parent)
{
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

// A child's rectangle in its parent's client coordinates, as {x, y, width, height}.
struct PlacedRect {
    int x, y, width, height;
    bool operator==(const PlacedRect& o) const
    {
        return x == o.x && y == o.y && width == o.width && height == o.height;
    }
};
inline std::ostream& operator<<(std::ostream& out, const PlacedRect& r)
{
    return out << "(" << r.x << ", " << r.y << ", " << r.width << " x " << r.height << ")";
}

inline PlacedRect ChildRect(HWND child)
{
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

inline SIZE ClientSize(HWND window)
{
    RECT r = {};
    GetClientRect(window, &r);
    return {r.right, r.bottom};
}

// Every message posted to the user-program thread so far has been dispatched (posted messages
// of one thread are taken in order).
inline void FlushUserThread()
{
    static std::atomic<int> flushed;
    flushed = 0;
    PostToUserThread([] { flushed = 1; });
    PumpUntil([] { return flushed == 1; });
}

inline HWND FocusOfUserThread()
{
    HWND focus = nullptr;
    RunOnUserThread([&] { focus = GetFocus(); });
    return focus;
}

inline void PostKey(HWND window, WPARAM key)
{
    PostMessageW(window, WM_KEYDOWN, key, 0);
    PostMessageW(window, WM_KEYUP, key, 0xC0000001);
}

// Prompts go to text window 0, whose log records what they printed and the lines typed.
inline std::string LogPath(int slot)
{
    return std::string(logFolder) + "KRTLIB" + std::to_string(instanceNumber) + std::to_string(slot) + ".LOG";
}

inline void StartPromptLog()
{
    std::remove(LogPath(0).c_str());
    RunOnUserThread([] { KRT_StartLog(0); });
}

// Opens text window 0 and starts a fresh log on it.
inline void OpenPromptWindow()
{
    ASSERT_EQ(OpenTextWindowOnUserThread(0, 600, 0, 400, 200), 0);
    StartPromptLog();
}

// What the log holds so far; it is closed (a log file is not shared while open).
inline std::string TakePromptLog()
{
    RunOnUserThread([] { KRT_CloseLog(0); });
    std::ifstream file(LogPath(0), std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    file.close();
    std::remove(LogPath(0).c_str());
    return bytes.str();
}

// Answers a relabelling prompt that a posted message starts on the user-program thread, and
// waits until the message that started it has been handled.
inline bool AnswerPrompt(const std::wstring& line)
{
    if (!PumpUntil([] { return lineInputOwner != 0; }))
        return false;
    TypeUnits(TextRecord(currentTextWindow).window, line + L"\r");
    if (!PumpUntil([] { return lineInputOwner == 0; }))
        return false;
    FlushUserThread();
    return true;
}

// Types lines, each followed by Enter, for line inputs that run on this (the GUI) thread, as the
// main window's creation dialogues do: a timer of this thread fires inside their reading loop
// and types the next line once a read is waiting and every unit typed before has been taken.
struct GuiTypist {
    std::vector<std::wstring> lines;
    size_t next = 0;
    unsigned expectedTaken = 0;
};

inline GuiTypist& Typist()
{
    static GuiTypist typist;
    return typist;
}

inline void CALLBACK TypistTick(HWND, UINT, UINT_PTR timer, DWORD)
{
    GuiTypist& t = Typist();
    if (InputRing.taken.load() != t.expectedTaken || lineInputOwner == 0)
        return;
    if (t.next == t.lines.size()) {
        KillTimer(nullptr, timer);
        return;
    }
    const std::wstring line = t.lines[t.next++] + L"\r";
    t.expectedTaken = InputRing.stored.load() + static_cast<unsigned>(line.size());
    TypeUnits(TextRecord(currentTextWindow).window, line);
}

inline void TypeLinesForGuiThread(std::vector<std::wstring> lines)
{
    Typist() = {std::move(lines), 0, InputRing.taken.load()};
    SetTimer(nullptr, 0, 10, TypistTick);
}
