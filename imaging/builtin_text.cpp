// Text in the built-in font, set pixel by pixel at the text cursor: the same in 32-bit and
// 8-bit images, transparent between the strokes, and with no device context.
#include <cstdarg>

#include "core/narrow_text.h"
#include "imaging/builtin_font.h"
#include "imaging/pixel_view.h"
#include "imaging/text_state.h"
#include "krtlib.h"

namespace {

constexpr int kLinePitch = 16;  // two rows between lines of 14-row glyphs
constexpr int kDrawTextBufferSize = 4096;

void StartNewLine()
{
    TextCursor.x = TextCursor.leftMargin;
    TextCursor.baseline += kLinePitch;
}

}  // namespace

void KRT_SetTextCursor(int x, int baseline, int leftMargin)
{
    TextCursor = {x, baseline, leftMargin};
}

void KRT_DrawChar(int c)
{
    if (c == '\n') {
        StartNewLine();
        return;
    }
    if (c < kFirstGlyphCode || c >= kFirstGlyphCode + kGlyphCount)
        return;  // other controls and bytes above 0x7F: no glyph, no advance
    const GlyphRows& glyph = GlyphOf(c);
    const int top = TextCursor.baseline - kGlyphHeight;  // the glyph ends on the row above the baseline
    for (int i = 0; i < kGlyphHeight; ++i) {
        const unsigned row = glyph[i];
        for (int j = 0; j < kGlyphWidth; ++j)
            if (row & (0x80u >> j))
                KRT_SetPixel(TextCursor.x + j, top + i, krt_tc);
    }
    TextCursor.x += kGlyphWidth;
    // Tested after the advance: a line keeps at least one glyph's width free at its end.
    if (TextCursor.x > CurrentPixelView().width - kGlyphWidth)
        StartNewLine();
}

void KRT_DrawString(const char* text)
{
    if (!text)
        return;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p)
        KRT_DrawChar(*p);
}

void KRT_DrawTextF(const char* format, ...)
{
    char text[kDrawTextBufferSize];
    va_list arguments;
    va_start(arguments, format);
    FormatWhole(ProcessCodePage(), text, kDrawTextBufferSize, format, arguments);
    va_end(arguments);
    KRT_DrawString(text);
}
