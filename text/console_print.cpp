// KRT_Print: formatted narrow text, logged as formatted, then drawn into the current text
// window's back buffer run by run, wrapping at the right edge and scrolling at the bottom.
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "core/framework.h"
#include "core/text_convert.h"
#include "krtlib.h"
#include "text/log_file.h"
#include "text/print_walk.h"
#include "text/text_window.h"

namespace {

constexpr int kPrintBufferSize = 4096;

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

}  // namespace

void KRT_Print(const char* format, ...)
{
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
        TruncateNarrow(text, kPrintBufferSize - 1);  // never half a double-byte character
    wchar_t units[kPrintBufferSize];
    const int count = WidenText(text, units, kPrintBufferSize);

    const int slot = currentTextWindow;
    WriteLog(slot, text, std::strlen(text));

    PrintContext context = {record, units};
    const int endX = WalkPrintedText(reinterpret_cast<const unsigned short*>(units), count,
                                     record->cursorX, record->width, record->cellWidth,
                                     {&context, DrawRun, Newline});
    if (endX >= 0)
        record->cursorX = endX;
    InvalidateWhole(*record);
    PumpUserMessages();
}
