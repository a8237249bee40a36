// TrueType text drawn by the window system into the current image's memory DC, at the text
// cursor shared with the built-in font, with style changes given as control codes.
#include <windows.h>

#include "core/colour_ref.h"
#include "core/gdi_handles.h"
#include "core/narrow_text.h"
#include "image/image_selection.h"
#include "image/image_table.h"
#include "imaging/text_state.h"
#include "imaging/truetype_font.h"
#include "krtlib.h"

namespace {

enum TrueTypeControl {
    ItalicOn = 1, ItalicOff = 2, Bold = 3, NormalWeight = 4, UnderlineOn = 5, UnderlineOff = 6, NewLine = 10,
};

void ChangeStyle(int control)
{
    LOGFONTW font = CurrentLogFont();
    switch (control) {
    case ItalicOn:
        font.lfItalic = TRUE;
        break;
    case ItalicOff:
        font.lfItalic = FALSE;
        break;
    case Bold:
        font.lfWeight = FW_BOLD;
        break;
    case NormalWeight:
        font.lfWeight = FW_NORMAL;
        break;
    case UnderlineOn:
        font.lfUnderline = TRUE;
        break;
    case UnderlineOff:
        font.lfUnderline = FALSE;
        break;
    default:
        return;
    }
    ReplaceTrueTypeFont(font);
}

// How far x moves after a character: its ABC widths, or for a font that has none (a raster
// font, when no TrueType font could be made) its plain width.  A character beyond the basic
// plane (two units, in a UTF-8 program) has no ABC widths to ask for: its extent is the advance.
int Advance(HDC dc, const wchar_t* units, int count)
{
    if (count == 2) {
        SIZE extent = {};
        return GetTextExtentPoint32W(dc, units, 2, &extent) ? extent.cx : 0;
    }
    ABC abc;
    if (GetCharABCWidthsW(dc, units[0], units[0], &abc))
        return abc.abcA + static_cast<int>(abc.abcB) + abc.abcC;
    INT width = 0;
    return GetCharWidthW(dc, units[0], units[0], &width) ? width : 0;
}

// The UTF-16 form of a character code (see DrawTrueTypeChar in krtlib.h): its narrow bytes in
// the process's code page, widened.
int Widen(int code, wchar_t (&units)[2])
{
    char bytes[4];
    const int count = CodeBytes(ProcessCodePage(), code, bytes);
    return count > 0 ? MultiByteToWideChar(CP_ACP, 0, bytes, count, units, 2) : 0;
}

}  // namespace

void DrawTrueTypeChar(int code)
{
    if (code < 32) {
        if (code == NewLine) {
            TextCursor.baseline += cellHeight;
            TextCursor.x = TextCursor.leftMargin;
        } else {
            ChangeStyle(code);
        }
        return;
    }
    wchar_t units[2];
    const int count = Widen(code, units);
    if (count <= 0 || !IsLiveImage(CurrentImage))
        return;
    HDC dc = ImageTable[CurrentImage].memoryDC;
    SetTextColor(dc, ToColorRef(krt_tttc));
    SetBkMode(dc, TRANSPARENT);
    {
        // Without a TrueType font the DC keeps the font it has.
        Selection font(dc, trueTypeFont ? static_cast<HGDIOBJ>(trueTypeFont) : GetCurrentObject(dc, OBJ_FONT));
        // The cell's top is cellHeight - 1 rows above the baseline, so its bottom row is the baseline.
        TextOutW(dc, TextCursor.x, TextCursor.baseline - cellHeight + 1, units, count);
        TextCursor.x += Advance(dc, units, count);
    }
    GdiFlush();  // the pixels are read through PixelTable next, not through GDI
}

void DrawTrueTypeString(const char* text)
{
    const NarrowCodePage& codePage = ProcessCodePage();
    ForEachCharacter(codePage, text,
                     [&](const char* bytes, int count) { DrawTrueTypeChar(CharacterCode(codePage, bytes, count)); });
}

int SetTrueTypeCellSize(int width, int height)
{
    cellWidth = width / 2;
    cellHeight = height;
    LOGFONTW font = CurrentLogFont();
    font.lfWidth = cellWidth;
    font.lfHeight = cellHeight;  // positive: the cell height, not the character height
    return ReplaceTrueTypeFont(font) ? 0 : 1;
}
