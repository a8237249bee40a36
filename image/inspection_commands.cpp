// The "Information..." commands of an image window: a picked pixel printed in six colour
// models, a picked row plotted channel by channel into a new window, and the colour-difference
// distribution of a row or a rectangle.
#include "image/inspection_commands.h"

#include <cstdio>
#include <memory>
#include <new>

#include "image/image_commands.h"
#include "image/image_menus.h"
#include "image/image_selection.h"
#include "image/image_table.h"
#include "image/image_window.h"
#include "imaging/text_state.h"
#include "krtlib.h"

namespace {

constexpr int kPlotHeight = 128;
constexpr int kCrCbSide = 256;

// A 32-bit result window in the first slot where one fits, at (0, 0), zoom 100 asked for; it
// becomes the current image.  False when no slot takes it.
bool OpenResultWindow(const char* name, int width, int height)
{
    for (int slot = 0; slot < kImageSlots; ++slot)
        if (CreateImageWindow(slot, name, 0, 0, width, height, 100, 32, ScreenFit) == 0)
            return true;
    return false;
}

void PixelReport(int slot)
{
    int x, y;
    if (PickPoint(slot, &x, &y) != 0)
        return;
    const int v = KRT_GetPixel(x, y);
    EnsureTextWindow();
    KRT_Print("(X,Y)=(%d,%d)\n", x, y);
    if (ImageTable[slot].bitDepth == 8) {
        KRT_Print("(Luminance)=(%d)\n\n", v);  // the index itself, whatever the palette holds
        return;
    }
    KRT_Print("(R,G,B)=(%d,%d,%d)\n", (v >> 16) & 255, (v >> 8) & 255, v & 255);
    KRT_Print("(H,S,V)=(%d,%d,%d)\n", GetHue(v), GetSaturation(v), GetValue(v));
    KRT_Print("(Y,Cr,Cb)=(%d,%d,%d)\n", Luminance(v), ChromaCr(v), ChromaCb(v));
    KRT_Print("(Y,u,v)=(%d,%d,%d)\n", Luminance(v), YuvU(v), YuvV(v));
    KRT_Print("(Y,I,Q)=(%d,%d,%d)\n\n", Luminance(v), YiqI(v), YiqQ(v));
}

// One curve of a row profile and its label in the left margin, in the curve's colour.
struct ProfileCurve {
    int flags;
    int colour;
    const char* label;
    int labelX;
    int labelBaseline;
};

struct ProfileKind {
    int command;
    const char* nameFormat;
    int margin;
    ProfileCurve curves[3];
    int curveCount;
};

constexpr ProfileKind kProfiles[] = {
    {CmdLineRgb, "RGB(Y=%d)", 12,
     {{0x81, 0xFF0000, "R", 2, 40}, {0x82, 0x00FF00, "G", 2, 72}, {0x84, 0x0000FF, "B", 2, 104}}, 3},
    {CmdLineHsv, "HSV(Y=%d)", 12,
     {{0x88, 0xFFFF00, "H", 2, 40}, {0x90, 0xFF00FF, "S", 2, 72}, {0xA0, 0x00FFFF, "V", 2, 104}}, 3},
    {CmdLineYCrCb, "YCrCb(Y=%d)", 20,
     {{0x180, 0xFFFFFF, "Y", 4, 40}, {0x280, 0xFF8888, "Cr", 2, 72}, {0x480, 0x8888FF, "Cb", 2, 104}}, 3},
    {CmdLineLumi, "Luminance(Y=%d)", 12, {{0x1080, 0xFFFFFF, "L", 2, 40}}, 1},
};

// The picked row of the own slot as W elements (words, or bytes for an 8-bit image), or null
// when the pick was cancelled or the buffer cannot be had.  The buffer holds W words whatever
// the depth, zeroed: a command meant for the other depth (posted by a program, say) reads no
// further than it.
std::unique_ptr<unsigned char[]> PickRowSamples(int slot, int& y, int& count)
{
    int x;
    if (PickRow(slot, &x, &y) != 0)
        return nullptr;
    count = ImageTable[slot].width;
    std::unique_ptr<unsigned char[]> samples(new (std::nothrow) unsigned char[static_cast<size_t>(count) * 4]());
    if (samples)
        ReadImageRow(samples.get(), y, count);
    return samples;
}

void RowProfile(int slot, const ProfileKind& kind)
{
    int y = 0, count = 0;
    const std::unique_ptr<unsigned char[]> samples = PickRowSamples(slot, y, count);
    if (!samples)
        return;
    char name[512];
    std::snprintf(name, sizeof name, kind.nameFormat, y);
    if (!OpenResultWindow(name, count + kind.margin, kPlotHeight))
        return;
    for (int i = 0; i < kind.curveCount; ++i) {
        const ProfileCurve& curve = kind.curves[i];
        PlotProfile(samples.get(), kind.margin, count, curve.flags, curve.colour);
        KRT_SetTextCursor(curve.labelX, curve.labelBaseline, curve.labelX);
        krt_tc = curve.colour;
        KRT_DrawString(curve.label);
    }
    InvalidateCurrentImage();
}

void RowCrCb(int slot)
{
    int y = 0, count = 0;
    const std::unique_ptr<unsigned char[]> samples = PickRowSamples(slot, y, count);
    if (!samples)
        return;
    char name[512];
    std::snprintf(name, sizeof name, "CrCb(Y=%d)", y);
    if (!OpenResultWindow(name, kCrCbSide, kCrCbSide))
        return;
    PlotCrCbRow(samples.get(), count);
    InvalidateCurrentImage();
}

void AreaCrCb(int slot)
{
    int left, top, right, bottom;
    if (PickRectangle(slot, &left, &top, &right, &bottom) != 0)
        return;
    char name[512];
    std::snprintf(name, sizeof name, "CrCb(%d,%d)-(%d,%d)", left, top, right, bottom);
    const int w = right - left + 1, h = bottom - top + 1;
    // Zeroed, as the rows are: an 8-bit image fills only a byte a pixel of the words plotted.
    std::unique_ptr<unsigned char[]> block(new (std::nothrow) unsigned char[static_cast<size_t>(w) * h * 4]());
    if (!block)
        return;
    KRT_GetImageBlock(block.get(), left, top, w, h);
    if (!OpenResultWindow(name, kCrCbSide, kCrCbSide))
        return;
    PlotCrCbArea(h, block.get(), w);
    KRT_RefreshImage(CurrentImage);
}

}  // namespace

bool RunInspectionCommand(int slot, int id)
{
    for (const ProfileKind& kind : kProfiles) {
        if (kind.command == id) {
            RowProfile(slot, kind);
            return true;
        }
    }
    switch (id) {
    case CmdPixel: PixelReport(slot); return true;
    case CmdLineCrCb: RowCrCb(slot); return true;
    case CmdAreaCrCb: AreaCrCb(slot); return true;
    default: return false;
    }
}
