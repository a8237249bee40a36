// KRT_Print: formatted narrow text, logged as formatted, then drawn into the current text
// window's back buffer run by run, wrapping at the right edge and scrolling at the bottom; the
// window shows it through the coalesced screen copies of console_repaint.h.
#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <cwchar>

#include "core/clock.h"
#include "core/framework.h"
#include "core/text_convert.h"
#include "krtlib.h"
#include "text/console_repaint.h"
#include "text/log_file.h"
#include "text/print_walk.h"
#include "text/repaint_pacing.h"
#include "text/text_window.h"

namespace {

constexpr int kPrintBufferSize = 4096;

// Plain ASCII, the usual console text, is widened unit by unit: every system code page maps it
// onto itself, and the conversion call costs more than the short lines it converts.
int Widen(const char* text, wchar_t (&units)[kPrintBufferSize])
{
    int count = 0;
    for (; text[count]; ++count) {
        const unsigned char byte = static_cast<unsigned char>(text[count]);
        if (byte >= 0x80)
            return WidenText(text, units, kPrintBufferSize);
        units[count] = byte;
    }
    units[count] = L'\0';
    return count;
}

struct PrintContext {
    TextWindowRecord* record;
    const wchar_t* units;
};

void DrawRun(void* context, int start, int length)
{
    PrintContext& c = *static_cast<PrintContext*>(context);
    DrawTextAtCursor(*c.record, c.units + start, length);
}

void Newline(void* context)
{
    TextNewline(*static_cast<PrintContext*>(context)->record);
}

// Each print dispatches the caller's messages, so that a program printing in a loop keeps its
// windows live.  Under Wine a dispatch pass is a round trip to the server, and when it finds the
// queue empty it also pushes every window's new pixels to the display: one pass costs about three
// TextOutW of a line, and milliseconds after a large image refresh.  So a burst of prints makes
// one pass per display frame, or fewer when the passes are slow, so that they take at most a
// fiftieth of the printing (and never fewer than ten a second).  A print after a pause
// dispatches at once, as every print did.
constexpr double kPassShare = 50;
constexpr double kLongestPassGap = 100;  // milliseconds

// The pass's own length, to the microsecond: passes shorter than the clock's millisecond still
// count.
double PassMilliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to)
{
    return static_cast<double>(to.QuadPart - from.QuadPart) * millisecondFactor;
}

void DispatchForPrint(unsigned now)
{
    thread_local bool passed = false;
    thread_local unsigned passedAt = 0;
    thread_local unsigned gap = kFrameMilliseconds;
    if (passed && now - passedAt < gap)
        return;
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    PumpUserMessages();
    QueryPerformanceCounter(&end);
    passedAt = MillisecondClock();
    passed = true;
    gap = static_cast<unsigned>(
        std::min(std::max(kPassShare * PassMilliseconds(start, end), double{kFrameMilliseconds}), kLongestPassGap));
}

}  // namespace

namespace {

// What every print does once its text is known in both forms: the narrow one to the log, the
// UTF-16 one onto the screen.
void PrintText(TextWindowRecord& record, const char* narrow, const wchar_t* units, int count)
{
    const int slot = currentTextWindow;
    WriteLog(slot, narrow, std::strlen(narrow));
    const bool quietBefore = !ConsoleHasChanges(record);

    PrintContext context = {&record, units};
    const int endX = WalkPrintedText(reinterpret_cast<const unsigned short*>(units), count,
                                     record.cursorX, record.width, record.cellWidth,
                                     {&context, DrawRun, Newline});
    if (endX >= 0)
        record.cursorX = endX;
    const unsigned now = MillisecondClock();
    PresentConsole(record, quietBefore, now);
    DispatchForPrint(now);
}

}  // namespace

void KRT_Print(const char* format, ...)
{
    EndUserThreadIfOverdue();
    TextWindowRecord* record = CurrentOpenTextWindow();
    if (!record || !format)
        return;
    char text[kPrintBufferSize];
    va_list arguments;
    va_start(arguments, format);
    const int formatted = std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    if (formatted < 0)
        text[0] = '\0';
    else if (formatted >= kPrintBufferSize)
        TruncateNarrow(text, kPrintBufferSize - 1);  // never half a character of the code page
    wchar_t units[kPrintBufferSize];
    const int count = Widen(text, units);
    PrintText(*record, text, units, count);
}

void PrintWideText(const wchar_t* text)
{
    EndUserThreadIfOverdue();
    TextWindowRecord* record = CurrentOpenTextWindow();
    if (!record || !text)
        return;
    const int count = static_cast<int>(std::min<size_t>(std::wcslen(text), kPrintBufferSize - 1));
    char narrow[kPrintBufferSize * kMaxNarrowBytesPerUnit];
    NarrowText(text, count, narrow, sizeof narrow);
    PrintText(*record, narrow, text, count);
}
