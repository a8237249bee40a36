// Console text windows: opening, closing, selecting, clearing, the colour stack, painting and
// resizing.  Everything is drawn into a back buffer; the window only copies it on WM_PAINT.
#include "text/text_window.h"

#include <cwchar>

#include "core/colour_ref.h"
#include "core/framework.h"
#include "core/mailbox.h"
#include "core/window_placement.h"
#include "krtlib.h"
#include "text/log_file.h"
#include "text/print_walk.h"

namespace {

constexpr DWORD kTextWindowStyle = WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
constexpr int kDefaultWidth = 400;
constexpr int kDefaultHeight = 300;


void ApplyColours(const TextWindowRecord& record)
{
    SetTextColor(record.memoryDC, ToColorRef(record.textColor));
    SetBkColor(record.memoryDC, ToColorRef(record.backColor));
}

void ClearBackBuffer(const TextWindowRecord& record)
{
    PatBlt(record.memoryDC, 0, 0, record.width, record.height, PATCOPY);  // the black brush
}

// The window's own DC, a memory DC and a back buffer of the record's size, with the black brush,
// the OEM fixed font and the buffer selected.
void CreateBackBuffer(TextWindowRecord& record)
{
    record.windowDC = GetDC(record.window);
    record.memoryDC = CreateCompatibleDC(record.windowDC);
    record.backBuffer = CreateCompatibleBitmap(record.windowDC, record.width > 0 ? record.width : 1,
                                               record.height > 0 ? record.height : 1);
    SelectObject(record.memoryDC, GetStockObject(BLACK_BRUSH));
    SelectObject(record.memoryDC, GetStockObject(OEM_FIXED_FONT));
    record.previousBitmap = static_cast<HBITMAP>(SelectObject(record.memoryDC, record.backBuffer));
}

void ReleaseBackBuffer(TextWindowRecord& record)
{
    SelectObject(record.memoryDC, record.previousBitmap);
    DeleteObject(record.backBuffer);
    DeleteDC(record.memoryDC);
    ReleaseDC(record.window, record.windowDC);
    record.memoryDC = nullptr;
    record.windowDC = nullptr;
    record.backBuffer = nullptr;
    record.previousBitmap = nullptr;
}

}  // namespace

int FindTextWindowSlot(HWND window)
{
    for (int slot = 0; slot < kTextWindowSlots; ++slot)
        if (TextWindowTable[slot].inUse && TextWindowTable[slot].window == window)
            return slot;
    return -1;
}

TextWindowRecord* CurrentOpenTextWindow()
{
    return IsOpenTextWindow(currentTextWindow) ? &TextWindowTable[currentTextWindow] : nullptr;
}

int KRT_OpenTextWindow(int index, int x, int y, int width, int height)
{
    if (index < 0 || index >= kTextWindowSlots)
        return 2;
    TextWindowRecord& record = TextWindowTable[index];
    if (record.inUse) {
        SetForegroundWindow(record.window);
        currentTextWindow = index;
        return 1;
    }
    KRT_CloseLog(index);  // a stream left from an earlier window in this slot is never reused
    record.width = width < 0 ? kDefaultWidth : width;
    record.height = height < 0 ? kDefaultHeight : height;
    currentTextWindow = index;
    record.textColor = 0xFFFFFF;
    record.backColor = 0x000000;

    wchar_t title[256];
    swprintf(title, 256, L"TextWindow %d", index);
    RECT outer = {0, 0, record.width, record.height};
    AdjustWindowRect(&outer, kTextWindowStyle, FALSE);
    const WindowPlacement placement{x, y, x < 0, y < 0};
    record.window = CreateWindowExW(0, L"krt_twi", title, kTextWindowStyle, CreationX(placement),
                                    CreationY(placement), outer.right - outer.left, outer.bottom - outer.top,
                                    MainWindow, nullptr, krtInstance, nullptr);
    FinishPlacement(record.window, placement);

    CreateBackBuffer(record);
    ClearBackBuffer(record);
    record.cursorX = record.cursorY = 0;
    ApplyColours(record);
    TEXTMETRICW metrics;
    GetTextMetricsW(record.memoryDC, &metrics);
    record.cellWidth = metrics.tmAveCharWidth;
    record.cellHeight = metrics.tmHeight;
    for (int i = 0; i < kTextColourStackDepth; ++i) {
        record.textColorStack[i] = record.textColor;
        record.backColorStack[i] = record.backColor;
    }
    record.inUse = 1;
    RebuildSnapTable();
    record.logState = 0;
    UpdateWindow(record.window);
    SetForegroundWindow(record.window);
    return 0;
}

int KRT_CloseTextWindow(int index)
{
    if (!IsOpenTextWindow(index))
        return 1;
    TextWindowRecord& record = TextWindowTable[index];
    record.inUse = 0;
    if (currentTextWindow == index) {
        for (int slot = 0; slot < kTextWindowSlots; ++slot) {
            if (TextWindowTable[slot].inUse) {
                currentTextWindow = slot;
                break;
            }
        }
    }
    if (lineInputOwner == index + 1)
        lineInputOwner = 0;  // a line input reading from it ends
    KRT_CloseLog(index);     // no stream stays open on a file a later Start would truncate
    ReleaseBackBuffer(record);
    DestroyWindow(record.window);
    record.window = nullptr;
    return 0;
}

int KRT_SelectTextWindow(int index)
{
    if (!IsOpenTextWindow(index))
        return 1;
    currentTextWindow = index;
    return 0;
}

void KRT_ClearTextWindow(void)
{
    TextWindowRecord* record = CurrentOpenTextWindow();
    if (!record)
        return;
    ClearBackBuffer(*record);
    record->cursorX = record->cursorY = 0;
    InvalidateWhole(*record);
    WriteLog(currentTextWindow, "\n", 1);
}

void KRT_PushTextColor(int background, int text)
{
    TextWindowRecord* record = CurrentOpenTextWindow();
    if (!record)
        return;
    for (int i = kTextColourStackDepth - 1; i > 0; --i) {
        record->textColorStack[i] = record->textColorStack[i - 1];
        record->backColorStack[i] = record->backColorStack[i - 1];
    }
    record->textColorStack[0] = record->textColor;
    record->backColorStack[0] = record->backColor;
    record->textColor = text;
    record->backColor = background;
    ApplyColours(*record);
}

void KRT_PopTextColor(void)
{
    TextWindowRecord* record = CurrentOpenTextWindow();
    if (!record)
        return;
    record->textColor = record->textColorStack[0];
    record->backColor = record->backColorStack[0];
    for (int i = 0; i < kTextColourStackDepth - 1; ++i) {  // entry 7 keeps its value
        record->textColorStack[i] = record->textColorStack[i + 1];
        record->backColorStack[i] = record->backColorStack[i + 1];
    }
    ApplyColours(*record);
}

void EnsureTextWindow()
{
    if (TextWindowRecord* record = CurrentOpenTextWindow()) {
        SetForegroundWindow(record->window);
        return;
    }
    KRT_OpenTextWindow(0, GetSystemMetrics(SM_CXFULLSCREEN) / 2 - 200,
                       GetSystemMetrics(SM_CYFULLSCREEN) / 2 - 150, 400, 300);
}

bool TextNewline(TextWindowRecord& record)
{
    record.cursorY += record.cellHeight;
    record.cursorX = 0;
    int copyHeight = 0;
    if (!ScrollStep(record.cursorY, record.cellHeight, record.height, copyHeight))
        return false;
    BitBlt(record.memoryDC, 0, 0, record.width, copyHeight, record.memoryDC, 0, record.cellHeight,
           SRCCOPY);
    // The freed line is black whatever the background colour.
    PatBlt(record.memoryDC, 0, record.cursorY, record.width, record.height - record.cursorY, PATCOPY);
    return true;
}

void DrawTextAtCursor(TextWindowRecord& record, const wchar_t* units, int count)
{
    TextOutW(record.memoryDC, record.cursorX, record.cursorY, units, count);
}

void InvalidateCells(const TextWindowRecord& record, int cells)
{
    RECT cell = {record.cursorX, record.cursorY, record.cursorX + cells * record.cellWidth,
                 record.cursorY + record.cellHeight};
    InvalidateRect(record.window, &cell, FALSE);
}

void InvalidateWhole(const TextWindowRecord& record)
{
    InvalidateRect(record.window, nullptr, FALSE);
}

void PaintTextWindow(HWND window)
{
    PAINTSTRUCT paint;
    const int slot = FindTextWindowSlot(window);
    BeginPaint(window, &paint);
    if (slot >= 0) {
        const TextWindowRecord& record = TextWindowTable[slot];
        const RECT& r = paint.rcPaint;
        BitBlt(record.windowDC, r.left, r.top, r.right - r.left, r.bottom - r.top, record.memoryDC,
               r.left, r.top, SRCCOPY);
    }
    EndPaint(window, &paint);
}

void ResizeTextWindow(HWND window, int width, int height)
{
    const int slot = FindTextWindowSlot(window);
    if (slot < 0)
        return;  // still inside CreateWindowExW
    TextWindowRecord& record = TextWindowTable[slot];
    record.width = width;
    record.height = height;
    ReleaseBackBuffer(record);
    record.window = window;
    CreateBackBuffer(record);
    ClearBackBuffer(record);
    record.cursorX = record.cursorY = 0;
    ApplyColours(record);
    RebuildSnapTable();
    InvalidateWhole(record);
}

void OpenTextWindowRequest(MailboxFields& request)
{
    const int slot = request.slot;
    if (slot < kTextWindowSlots)
        KRT_OpenTextWindow(slot, request.x, request.y, request.width, request.height);
}
