#include "image/image_menus.h"

#include "core/popup_menu.h"
#include "image/image_selection.h"
#include "image/image_table.h"

namespace {

// A menu row: an item, a separator (id 0, no text) or a submenu (its rows).
struct MenuRow {
    UINT id;
    const char* text;
    const MenuRow* submenu = nullptr;
    int submenuCount = 0;
};

template <int N>
constexpr MenuRow Submenu(const char* text, const MenuRow (&rows)[N])
{
    return {0, text, rows, N};
}
constexpr MenuRow kSeparator = {0, nullptr};

// The zoom rows carry a check mark at their own zoom.
struct ZoomCheck {
    UINT id;
    int zoom;
};
constexpr ZoomCheck kZoomChecks[] = {{CmdZoom50, 50}, {CmdZoom100, 100}, {CmdZoom200, 200}};

UINT StateAtZoom(UINT id, int zoom)
{
    for (const ZoomCheck& check : kZoomChecks)
        if (check.id == id && check.zoom == zoom)
            return MFS_CHECKED;
    return 0;
}

constexpr MenuRow kProcessRows[] = {
    {CmdInvert, "Invert"}, kSeparator, {CmdRotateRight, "R. Rotate"}, {CmdRotateLeft, "L. Rotate"},
    kSeparator, {CmdHorzFlip, "Horz. Flip"}, {CmdVertFlip, "Vert. Flip"}, kSeparator,
    {CmdSize50, "Size 50.0%"}, {CmdSize70, "Size 70.7%"}, {CmdSize141, "Size 141.4%"},
    {CmdSize200, "Size 200.0%"},
};
constexpr MenuRow kInformationRows32[] = {
    {CmdPixel, "Pixel"}, {CmdLineRgb, "Line(RGB)"}, {CmdLineHsv, "Line(HSV)"},
    {CmdLineYCrCb, "Line(YCrCb)"}, {CmdLineCrCb, "Line(CrCb)"}, kSeparator, {CmdAreaCrCb, "Area(CrCb)"},
};
constexpr MenuRow kInformationRows8[] = {{CmdPixel, "Pixel"}, {CmdLineLumi, "Line(Lumi)"}};
constexpr MenuRow kPatternRows[] = {
    {CmdPatternRgb, "RGB"}, {CmdPatternHsv, "HSV"}, {CmdPatternYCrCb, "YCrCb"},
    {CmdPatternYuv, "Yuv"}, {CmdPatternYiq, "YIQ"},     {CmdPatternGrey, "Grey"},
};
constexpr MenuRow kColorRows[] = {{CmdColorChange, "Change"}, {CmdColorPick, "Pick"}};
constexpr MenuRow kLineRows[] = {{CmdDrawLine, "Normal"}, {CmdDrawRow, "Horz."}, {CmdDrawColumn, "Vert."}};
constexpr MenuRow kBoxRows[] = {{CmdDrawBox, "Normal"}, {CmdFillBox, "Fill"}, {CmdXorFillBox, "Fill XOR"}};
constexpr MenuRow kCircleRows[] = {
    {CmdDrawCircle, "Normal"}, {CmdFillCircle, "Fill"}, {CmdXorFillCircle, "Fill XOR"}};
constexpr MenuRow kTrueTypeRows[] = {{CmdTrueTypeDraw, "Draw"}, {CmdFontChange, "Font Change"}};

constexpr MenuRow kImageRows[] = {
    {CmdCut, "Cut\tCtrl+X"},       {CmdCopy, "Copy\tCtrl+C"}, {CmdPasteAt, "Paste\tCtrl+V"}, kSeparator,
    {CmdLoadImage, "&Load image file"}, {CmdSaveAs, "&Save as"}, kSeparator,
    {CmdZoom50, "Zoom: 50%"},      {CmdZoom100, "Zoom:100%\tCtrl+0"}, {CmdZoom200, "Zoom:200%"},
    {CmdZoomPrompt, "&Zoom..."},   kSeparator, {CmdResize, "&Resize..."},
    {CmdDestroyImage, "&Destroy\tCtrl+Q"},
};
static_assert(sizeof kImageRows / sizeof kImageRows[0] == 14, "fourteen rows");

HMENU BuildRows(const MenuRow* rows, int count, int zoom)
{
    HMENU menu = CreatePopupMenu();
    for (int i = 0; i < count; ++i) {
        const MenuRow& row = rows[i];
        const UINT position = static_cast<UINT>(i);
        if (row.submenu)
            InsertSubmenu(menu, position, BuildRows(row.submenu, row.submenuCount, zoom), row.text);
        else if (!row.text)
            InsertSeparator(menu, position);
        else
            InsertTextItem(menu, position, row.id, row.text, StateAtZoom(row.id, zoom));
    }
    return menu;
}

}  // namespace

HMENU BuildImageMenu(int slot)
{
    const int zoom = IsLiveImage(slot) ? ImageTable[slot].zoom : 0;
    return BuildRows(kImageRows, sizeof kImageRows / sizeof kImageRows[0], zoom);
}

HMENU BuildToolsMenu(int slot)
{
    const bool eightBit = IsLiveImage(slot) && ImageTable[slot].bitDepth == 8;
    // The information submenu of an 8-bit image has only the pixel and the luminance line.
    const MenuRow information = eightBit ? Submenu("Information...", kInformationRows8)
                                         : Submenu("Information...", kInformationRows32);
    const MenuRow rows[] = {
        Submenu("Process...", kProcessRows), kSeparator, information, kSeparator,
        Submenu("Test Pattern...", kPatternRows), kSeparator, {CmdClipping, "Clipping\tCtrl+R"},
        kSeparator, Submenu("Color...", kColorRows), Submenu("Draw Line...", kLineRows),
        Submenu("Draw Box...", kBoxRows), Submenu("Draw Circle...", kCircleRows),
        Submenu("TrueType...", kTrueTypeRows), {CmdDrawText, "Draw Text"}, {CmdPaint, "Paint"},
    };
    static_assert(sizeof rows / sizeof rows[0] == 15, "fifteen rows");
    return BuildRows(rows, sizeof rows / sizeof rows[0], 0);
}
