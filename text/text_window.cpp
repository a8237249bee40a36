// Console text windows: opening, closing, selecting, clearing, the colour stack, painting and
// resizing.  Everything is drawn into a back buffer; the window shows it through the coalesced
// screen copies of console_repaint.h, and copies it on WM_PAINT.
#include "text/text_window.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <mutex>

#include "core/colour_ref.h"
#include "core/framework.h"
#include "core/gdi_handles.h"
#include "core/mailbox.h"
#include "core/window_placement.h"
#include "krtlib.h"
#include "text/console_repaint.h"
#include "text/glyph_cache.h"
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

// The back buffer's bitmap has as many spare rows below the window's rows as the window has: a
// scroll moves the memory DC's viewport origin one line down into them, and only when they are
// used up are the window's rows moved back to the top, with one block transfer.  Everything drawn
// or read through the memory DC sees the window's rows at (0, 0) as before; scrolling a full
// console no longer copies the whole buffer for every line printed.
int ScrollOrigin[kTextWindowSlots];  // the bitmap row shown at the window's row 0
int BitmapRows[kTextWindowSlots];
std::uint32_t* BitmapPixels[kTextWindowSlots];  // the back buffer's pixels, top-down rows

int SlotOf(const TextWindowRecord& record) { return static_cast<int>(&record - TextWindowTable); }

// Both threads draw into a console (the GUI thread prints the main window's prompts), and the
// window's own thread replaces its back buffer when it is resized or closed.  Pixels are written
// straight into the buffer's memory, so each write and each replacement hold the slot's lock:
// a write always goes into the buffer it read, whole, and never into a freed one.
std::recursive_mutex BufferLocks[kTextWindowSlots];
using BufferLock = std::lock_guard<std::recursive_mutex>;

// Window rows [top, bottom) black: zeros written straight into the pixels, or the black brush
// where the buffer has none of its own.
void FillBlack(const TextWindowRecord& record, int top, int bottom)
{
    const int slot = SlotOf(record);
    top = std::max(top, 0);
    bottom = std::min(bottom, BitmapRows[slot] - ScrollOrigin[slot]);
    if (bottom <= top)
        return;
    if (!BitmapPixels[slot]) {
        PatBlt(record.memoryDC, 0, top, record.width, bottom - top, PATCOPY);
        return;
    }
    GdiFlush();  // the window system's drawing into the rows is done before they are cleared
    const std::size_t width = static_cast<std::size_t>(record.width > 0 ? record.width : 1);
    std::memset(BitmapPixels[slot] + (ScrollOrigin[slot] + static_cast<std::size_t>(top)) * width, 0,
                (bottom - top) * width * sizeof(std::uint32_t));
}

void ClearBackBuffer(const TextWindowRecord& record)
{
    const BufferLock hold(BufferLocks[SlotOf(record)]);
    FillBlack(record, 0, record.height);
    SetConsoleInkBottom(record, 0);
}

void SetScrollOrigin(const TextWindowRecord& record, int origin)
{
    ScrollOrigin[SlotOf(record)] = origin;
    SetViewportOrgEx(record.memoryDC, 0, origin, nullptr);  // window row 0 is bitmap row `origin`
}

// The window's rows move up one line: window row y shows what row y + cellHeight showed, for
// the `copyHeight` rows that keep their text.
void ScrollRowsUp(const TextWindowRecord& record, int copyHeight)
{
    const int next = ScrollOrigin[SlotOf(record)] + record.cellHeight;
    if (next + record.height <= BitmapRows[SlotOf(record)]) {
        SetScrollOrigin(record, next);
        return;
    }
    SetScrollOrigin(record, 0);
    BitBlt(record.memoryDC, 0, 0, record.width, copyHeight, record.memoryDC, 0, next, SRCCOPY);
}

// The window's own DC, a memory DC and a back buffer of the record's size (and as many spare
// rows), with the black brush, the OEM fixed font and the buffer selected.  The buffer is a
// 32-bit DIB section, whose pixels printable text is copied into from cached glyph cells.
void CreateBackBuffer(TextWindowRecord& record)
{
    const int width = record.width > 0 ? record.width : 1;
    const int rows = 2 * (record.height > 0 ? record.height : 1);
    record.windowDC = GetDC(record.window);
    record.memoryDC = CreateCompatibleDC(record.windowDC);
    void* bits = nullptr;
    record.backBuffer = CreateTopDownDib32(record.windowDC, width, rows, &bits);
    if (!record.backBuffer)  // drawn through GDI alone, into a bitmap of the display's kind
        record.backBuffer = CreateCompatibleBitmap(record.windowDC, width, rows);
    SelectObject(record.memoryDC, GetStockObject(BLACK_BRUSH));
    SelectObject(record.memoryDC, GetStockObject(OEM_FIXED_FONT));
    record.previousBitmap = static_cast<HBITMAP>(SelectObject(record.memoryDC, record.backBuffer));
    BitmapRows[SlotOf(record)] = rows;
    BitmapPixels[SlotOf(record)] = static_cast<std::uint32_t*>(bits);
    ScrollOrigin[SlotOf(record)] = 0;
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
    BitmapPixels[SlotOf(record)] = nullptr;
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
    ResetConsoleScreen(index);
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

    {
        const BufferLock hold(BufferLocks[index]);
        CreateBackBuffer(record);
        ClearBackBuffer(record);
    }
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
    {
        const BufferLock hold(BufferLocks[index]);
        ReleaseBackBuffer(record);
    }
    DestroyWindow(record.window);  // its repaint timer goes with it
    record.window = nullptr;
    ResetConsoleScreen(index);
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
    std::unique_lock<std::recursive_mutex> hold(BufferLocks[currentTextWindow]);
    // Only the rows that hold anything: below them the buffer is black already, and a frame's
    // clear then repaints only its own lines.
    const int inked = ConsoleInkBottom(*record);
    FillBlack(*record, 0, inked);
    SetConsoleInkBottom(*record, 0);
    MarkConsoleRows(*record, 0, inked);
    record->cursorX = record->cursorY = 0;
    hold.unlock();
    PresentConsole(*record, false, MillisecondClock());  // shown with the prints that follow it
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
    const BufferLock hold(BufferLocks[SlotOf(record)]);
    record.cursorY += record.cellHeight;
    record.cursorX = 0;
    int copyHeight = 0;
    if (!ScrollStep(record.cursorY, record.cellHeight, record.height, copyHeight))
        return false;
    ScrollRowsUp(record, copyHeight);
    // The freed line is black whatever the background colour.
    FillBlack(record, record.cursorY, record.height);
    SetConsoleInkBottom(record, std::min(ConsoleInkBottom(record) - record.cellHeight, record.cursorY));
    MarkConsoleWhole(record);
    return true;
}

void (*ConsoleWritePause)() = nullptr;

void DrawTextAtCursor(TextWindowRecord& record, const wchar_t* units, int count)
{
    const int slot = SlotOf(record);
    const BufferLock hold(BufferLocks[slot]);
    if (!record.memoryDC)
        return;  // closed meanwhile
    const GlyphTarget target = {BitmapPixels[slot], record.width > 0 ? record.width : 1, BitmapRows[slot]};
    if (ConsoleWritePause)
        ConsoleWritePause();
    if (!DrawCachedGlyphs(target, record.cursorX, ScrollOrigin[slot] + record.cursorY, units, count,
                          static_cast<HFONT>(GetStockObject(OEM_FIXED_FONT)), record.cellWidth, record.cellHeight,
                          ToColorRef(record.textColor), ToColorRef(record.backColor)))
        TextOutW(record.memoryDC, record.cursorX, record.cursorY, units, count);
    const int bottom = record.cursorY + record.cellHeight;
    if (ConsoleInkBottom(record) < bottom)
        SetConsoleInkBottom(record, bottom);
    MarkConsoleRows(record, record.cursorY, bottom);
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
        CountConsolePaint(slot);
    }
    EndPaint(window, &paint);
}

void ResizeTextWindow(HWND window, int width, int height)
{
    const int slot = FindTextWindowSlot(window);
    if (slot < 0)
        return;  // still inside CreateWindowExW
    TextWindowRecord& record = TextWindowTable[slot];
    {
        const BufferLock hold(BufferLocks[slot]);
        record.width = width;
        record.height = height;
        ReleaseBackBuffer(record);
        record.window = window;
        CreateBackBuffer(record);
        ClearBackBuffer(record);
        record.cursorX = record.cursorY = 0;
        ApplyColours(record);
    }
    RebuildSnapTable();
    InvalidateRect(record.window, nullptr, FALSE);
}

void OpenTextWindowRequest(MailboxFields& request)
{
    const int slot = request.slot;
    if (slot < kTextWindowSlots)
        KRT_OpenTextWindow(slot, request.x, request.y, request.width, request.height);
}
