// Helpers shared by the text-window tests: opening windows on the user-program thread,
// reading their back buffers and running a line input that the test types into.
#pragma once
#include <windows.h>

#include <atomic>
#include <string>

#include "framework_fixture.h"
#include "krtlib.h"
#include "text/input_ring.h"
#include "text/text_window_table.h"

inline TextWindowRecord& TextRecord(int slot) { return TextWindowTable[slot]; }

inline int OpenTextWindowOnUserThread(int slot, int x, int y, int width, int height)
{
    int result = -1;
    RunOnUserThread([&] { result = KRT_OpenTextWindow(slot, x, y, width, height); });
    return result;
}

inline void PrintOnUserThread(const std::string& text)
{
    RunOnUserThread([&] { KRT_Print("%s", text.c_str()); });
}

// The cell at (column, line) has at least one pixel of `colour`.
inline bool CellHas(const Snapshot& shot, const TextWindowRecord& r, int column, int line, unsigned colour)
{
    for (int y = line * r.cellHeight; y < (line + 1) * r.cellHeight && y < shot.height; ++y)
        for (int x = column * r.cellWidth; x < (column + 1) * r.cellWidth && x < shot.width; ++x)
            if (shot.at(x, y) == colour)
                return true;
    return false;
}

// Read on the user-program thread: the window's repaint timer may be copying from the back
// buffer there, and a DC is used by one thread at a time.
inline Snapshot BackBuffer(int slot)
{
    const TextWindowRecord& r = TextRecord(slot);
    Snapshot shot;
    RunOnUserThread([&] { shot = TakeSnapshot(r.memoryDC, r.width, r.height); });
    return shot;
}

// What the window itself shows, read from its own DC.
inline Snapshot ScreenCopy(int slot)
{
    const TextWindowRecord& r = TextRecord(slot);
    Snapshot shot;
    RunOnUserThread([&] { shot = TakeSnapshot(r.windowDC, r.width, r.height); });
    return shot;
}

// A console copies what prints drew to its window at most once per display frame, and within
// one frame of the last print: tests that read the window after printing wait for it here.
inline bool ScreenCatchesUp(int slot)
{
    return PumpUntil([slot] { return ScreenCopy(slot).pixels == BackBuffer(slot).pixels; });
}

// A line input started on the user-program thread; the test types into it.
struct PendingLine {
    std::atomic<int> done{0};
    char text[256] = "unset";
};

inline void StartLineInput(PendingLine& line)
{
    line.done = 0;
    PostToUserThread([&line] {
        KRT_InputLine(line.text);
        line.done = 1;
    });
    PumpUntil([] { return lineInputOwner != 0; });
}

// Types units, letting the line input drain the 256-unit ring now and then, as a typist's
// pace does.
inline void TypeUnits(HWND window, const std::wstring& units)
{
    size_t sent = 0;
    for (wchar_t unit : units) {
        PostMessageW(window, WM_CHAR, unit, 0);
        // The ring holds only so many units: each 64 wait until the line input has taken them,
        // with a deadline a busy machine cannot reach (a unit posted to a full ring is lost).
        if (++sent % 64 == 0)
            PumpUntil([] { return RingReadIndex(InputRing) == -1; }, 60000);
    }
}

inline bool FinishedWith(PendingLine& line, const std::string& expected)
{
    if (!PumpUntil([&] { return line.done == 1; }))
        return false;
    return expected == line.text;
}

inline void PutClipboardText(const std::wstring& text)
{
    OpenClipboard(nullptr);
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    wchar_t* units = static_cast<wchar_t*>(GlobalLock(block));
    memcpy(units, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(block);
    SetClipboardData(CF_UNICODETEXT, block);
    CloseClipboard();
}

inline std::string ClipboardBytes()
{
    std::string bytes;
    if (!OpenClipboard(nullptr))
        return "<no clipboard>";
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        bytes = static_cast<const char*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return bytes;
}

// Waits for a message box with this caption, returns its text lines joined, and presses OK.
inline std::wstring DismissBox(const wchar_t* caption)
{
    HWND box = nullptr;
    if (!PumpUntil([&] { return (box = FindWindowW(L"#32770", caption)) != nullptr; }))
        return L"<no box>";
    std::wstring texts;
    EnumChildWindows(
        box,
        [](HWND child, LPARAM out) {
            wchar_t text[256];
            GetWindowTextW(child, text, 256);
            *reinterpret_cast<std::wstring*>(out) += std::wstring(text) + L"|";
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&texts));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    PumpUntil([&] { return !IsWindow(box); });
    return texts;
}
