// KRT_InputLine: one line typed into the current text window, echoed with a blinking caret,
// with Backspace, recall of the last line (Up) and paste of the clipboard's first line (Ctrl+V).
// It runs on whichever thread calls it; typed units arrive through the input ring, which the
// text window's procedure fills.
#include <windows.h>

#include <cstring>

#include "core/framework.h"
#include "core/text_convert.h"
#include "krtlib.h"
#include "text/console_repaint.h"
#include "text/input_ring.h"
#include "text/line_echo.h"
#include "text/log_file.h"
#include "text/text_window.h"

namespace {

constexpr unsigned kCaretHalfPeriodMs = 200;  // toggles once more than this has passed

struct EchoContext {
    TextWindowRecord* record;
};

void DrawCharacter(void* context, const unsigned short* units, int count, int /*cells*/)
{
    TextWindowRecord& record = *static_cast<EchoContext*>(context)->record;
    // marks the line; the turn presents it
    DrawTextAtCursor(record, reinterpret_cast<const wchar_t*>(units), count);
}

void EchoNewline(void* context)
{
    TextNewline(*static_cast<EchoContext*>(context)->record);
}

void DrawCaret(TextWindowRecord& record, int phase)
{
    const wchar_t caret = phase ? L'_' : L' ';
    DrawTextAtCursor(record, &caret, 1);
}

// Request 2: the clipboard's text up to its first line break goes into the ring.
void PasteFirstLine()
{
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(nullptr))
        return;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const wchar_t* text = static_cast<const wchar_t*>(GlobalLock(data))) {
            // GlobalSize bounds the walk, in case the text is not terminated.
            const SIZE_T limit = GlobalSize(data) / sizeof(wchar_t);
            for (SIZE_T i = 0; i < limit; ++i) {
                const wchar_t unit = text[i];
                if (unit == 0 || unit == L'\n' || unit == L'\r' || !RingPut(InputRing, unit))
                    break;
            }
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
}

// Request 1: the last line, as if typed.  On the window's own thread it goes through the
// window's WM_CHAR.  From another thread (the main window's dialogues read lines on the GUI
// thread) the units go straight into the ring, as that handler would put them: a send would
// wait for the user-program thread, and a program that stops dispatching would freeze the main
// window, Exit included.
void TypeLastLineAgain()
{
    TextWindowRecord* record = CurrentOpenTextWindow();
    if (!record)
        return;
    HWND window = record->window;
    const bool ownWindow = GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId();
    for (int i = 0; i < kLineUnits && LastLine[i]; ++i) {
        if (ownWindow)
            SendMessageW(window, WM_CHAR, LastLine[i], 0);
        else if (lineInputOwner != 0)
            RingPut(InputRing, LastLine[i]);  // a full ring drops the rest, as for typing
    }
}

void ServeRequest()
{
    const int request = lineInputRequest.load();
    if (request == RecallLastLine)
        TypeLastLineAgain();
    else if (request == PasteClipboard)
        PasteFirstLine();
    if (request != NoLineRequest)
        lineInputRequest = NoLineRequest;
}

void FinishLine(TextWindowRecord& record, int slot, const LineEdit& edit, char* buffer)
{
    lineInputOwner = 0;
    const bool quietBefore = !ConsoleHasChanges(record);
    const wchar_t blank = L' ';
    DrawTextAtCursor(record, &blank, 1);  // the caret's cell
    TextNewline(record);
    PresentConsole(record, quietBefore, MillisecondClock());
    int i = 0;
    for (; i < edit.length && i < kLineUnits - 1; ++i)
        LastLine[i] = edit.line[i];
    LastLine[i] = 0;
    NarrowText(reinterpret_cast<const wchar_t*>(edit.line), edit.length, buffer, kLineUnits);
    if (record.logState == 1) {
        WriteLog(slot, buffer, std::strlen(buffer));
        WriteLog(slot, "\n", 1);
    }
}

}  // namespace

void KRT_InputLine(char* buffer)
{
    TextWindowRecord* record = CurrentOpenTextWindow();
    if (!record || !buffer)
        return;
    const int slot = currentTextWindow;
    SetForegroundWindow(record->window);
    buffer[0] = '\0';
    SetStatusText("Input text");

    unsigned lastToggle = MillisecondClock();
    lineInputOwner = slot + 1;
    int phase = 1;
    bool caretDirty = true;
    LineEdit line;
    BeginLineEdit(line);
    EchoContext context = {record};
    const int cellWidth = record->cellWidth, cellHeight = record->cellHeight;
    for (;;) {
        PumpUserMessages();
        // Exit clears the owner, but an input that took the owner over just after that must
        // still end, and before any key typed meanwhile makes a line.
        if (exitState != 0) {
            lineInputOwner = 0;
            ShowIdleStatus();
            return;
        }
        const bool quietBefore = !ConsoleHasChanges(*record);
        unsigned short unit = RingTake(InputRing);
        if (unit == '\t')
            unit = ' ';
        if (unit == '\r' && lineInputOwner != 0) {
            FinishLine(*record, slot, line, buffer);
            ShowIdleStatus();
            return;
        }
        ServeRequest();
        if (lineInputOwner == 0) {  // the window closed, or Exit
            ShowIdleStatus();
            return;
        }
        const EchoSurface surface = {&context, &record->cursorX, &record->cursorY, record->width,
                                     cellWidth, cellHeight, DrawCharacter, EchoNewline};
        if (unit == '\b') {
            EraseLastUnit(line, surface);
        } else if (unit != 0 && LineTakes(line, unit)) {
            EchoUnit(line, surface, unit);
            DrawCaret(*record, phase);
            caretDirty = false;
        }
        if (caretDirty) {
            DrawCaret(*record, phase);
            caretDirty = false;
        }
        PresentConsole(*record, quietBefore, MillisecondClock());  // echo and caret, coalesced like prints
        const unsigned now = MillisecondClock();
        if (now - lastToggle > kCaretHalfPeriodMs) {
            phase = 1 - phase;
            caretDirty = true;
            lastToggle = now;
        }
    }
}
