// The image window commands that ask for points with a pick tool and then draw with them:
// lines, boxes, circles, the seed fill, text, and taking the drawing colour from a pixel.
// Each draws into the image of the tool's window (which the tool made current), then
// invalidates that window.  A cancelled pick does nothing.
#include "image/tool_commands.h"

#include <windows.h>

#include "image/image_commands.h"
#include "image/image_menus.h"
#include "image/image_selection.h"
#include "image/image_table.h"
#include "imaging/drawing_state.h"
#include "imaging/text_state.h"
#include "krtlib.h"

namespace {

constexpr int kLineBytes = 256;

// "Text>" in the current text window (opened if need be), and the line typed there.
void AskForText(char (&line)[kLineBytes])
{
    EnsureTextWindow();
    KRT_Print("Text>");
    line[0] = '\0';
    KRT_InputLine(line);
}

void DrawLineCommand(int slot)
{
    int x1, y1, x2, y2;
    if (PickLine(slot, &x1, &y1, &x2, &y2) == 0)
        KRT_DrawLine(x1, y1, x2, y2, DrawingColour);
}

void DrawRowOrColumn(int slot, bool row)
{
    int x, y;
    if ((row ? PickRow : PickColumn)(slot, &x, &y) != 0)
        return;
    const ImageRecord& image = ImageTable[CurrentImage];
    if (row)
        KRT_DrawLine(0, y, image.width - 1, y, DrawingColour);
    else
        KRT_DrawLine(x, 0, x, image.height - 1, DrawingColour);
}

void DrawBoxCommand(int slot, void (*box)(int, int, int, int))
{
    int left, top, right, bottom;
    if (PickRectangle(slot, &left, &top, &right, &bottom) == 0)
        box(left, top, right, bottom);
}

void DrawCircleCommand(int slot, int id)
{
    int cx, cy, r;
    if (PickCircle(slot, &cx, &cy, &r) != 0)
        return;
    if (id == CmdDrawCircle)
        KRT_DrawCircle(cx, cy, r, DrawingColour);
    else if (id == CmdFillCircle)
        FillCircle(cx, cy, r);
    else
        XorFillCircle(cx, cy, r);
}

void PaintCommand(int slot)
{
    int x, y;
    if (PickPoint(slot, &x, &y) == 0)
        FloodFill(x, y);
}

// The built-in font at the clicked point, in the drawing colour.
void DrawTextCommand(int slot)
{
    int x, y;
    if (PickPoint(slot, &x, &y) != 0)
        return;
    char line[kLineBytes];
    AskForText(line);
    KRT_SetTextCursor(x, y, x);
    krt_tc = DrawingColour;
    KRT_DrawTextF("%s", line);
}

// TrueType text in a cell as high as the rectangle and half as wide, on its bottom edge.
void DrawTrueTypeCommand(int slot)
{
    int left, top, right, bottom;
    if (PickRectangle(slot, &left, &top, &right, &bottom) != 0)
        return;
    char line[kLineBytes];
    AskForText(line);
    KRT_SetTextCursor(left, bottom, left);
    SetTrueTypeCellSize(right - left + 1, bottom - top + 1);
    DrawTrueTypeString(line);
}

// The drawing colour becomes the clicked pixel's value (a palette index in an 8-bit image),
// and the TrueType colour its colour (the palette entry in an 8-bit image).
void PickColourCommand(int slot)
{
    int x, y;
    if (PickPoint(slot, &x, &y) != 0)
        return;
    const int value = KRT_GetPixel(x, y);
    DrawingColour = value;
    const ImageRecord& image = ImageTable[CurrentImage];
    if (image.bitDepth != 8) {
        krt_tttc = value;
        return;
    }
    RGBQUAD entry = {};
    if (GetDIBColorTable(image.memoryDC, static_cast<UINT>(value & 0xFF), 1, &entry) == 1)
        krt_tttc = entry.rgbRed << 16 | entry.rgbGreen << 8 | entry.rgbBlue;
}

// The drawing rows: each draws with what its tool picked.
struct DrawingRow {
    int id;
    void (*run)(int slot);
};
constexpr DrawingRow kDrawingRows[] = {
    {CmdDrawLine, DrawLineCommand},
    {CmdDrawRow, [](int slot) { DrawRowOrColumn(slot, true); }},
    {CmdDrawColumn, [](int slot) { DrawRowOrColumn(slot, false); }},
    {CmdDrawBox, [](int slot) { DrawBoxCommand(slot, DrawBox); }},
    {CmdFillBox, [](int slot) { DrawBoxCommand(slot, FillBox); }},
    {CmdXorFillBox, [](int slot) { DrawBoxCommand(slot, XorFillBox); }},
    {CmdDrawCircle, [](int slot) { DrawCircleCommand(slot, CmdDrawCircle); }},
    {CmdFillCircle, [](int slot) { DrawCircleCommand(slot, CmdFillCircle); }},
    {CmdXorFillCircle, [](int slot) { DrawCircleCommand(slot, CmdXorFillCircle); }},
    {CmdPaint, PaintCommand},
    {CmdDrawText, DrawTextCommand},
    {CmdTrueTypeDraw, DrawTrueTypeCommand},
};

}  // namespace

bool RunToolCommand(HWND window, int id)
{
    if (id == CmdColorPick) {
        PickColourCommand(FindImageSlot(window));  // its pick makes the clicked image current
        return true;
    }
    for (const DrawingRow& row : kDrawingRows) {
        if (row.id != id)
            continue;
        // The window's image is selected before the tool selects it again: the history of
        // current images holds it twice over the one that was current.
        row.run(SelectImageOfWindow(window));
        InvalidateCurrentImage();
        return true;
    }
    return false;
}
