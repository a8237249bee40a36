// measure: measuring on a picture with the mouse.  "line" asks for two points and prints the
// line's length and angle, "box" asks for two corners and prints the rectangle's size and its
// mean colour in RGB and HSV, "circle" asks for the centre and a point on the circle and
// prints its radius.  Each result is drawn onto a copy of the picture, with a swatch of the
// mean colour for a box; "clear" wipes the drawings.  A right click cancels a measurement;
// Stop cancels it and ends the run.  The console's log, KRTLIB00.LOG, keeps the results.
//
// Drop a picture on the main window (it opens as image 000) and press Start; without one,
// Start opens the sample picture examples/flyeye.bmp.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "krtlib.h"

namespace {

enum Slot { Picture = 0, Copy = 1 };
enum Button { Line, Box, Circle, Clear, Break };
const char* const kLabels[] = {"line", "box", "circle", "clear", "break"};
const char kSample[] = "examples/flyeye.bmp";
constexpr int kInk = 0xFFFF00;
constexpr double kPi = 3.14159265358979323846;

const unsigned* Row(int slot, int y)
{
    return reinterpret_cast<const unsigned*>(PixelTable[slot] + y * ImageStride(ImageTable[slot].width, 32));
}

// The copy gets the picture's pixels again, which wipes what was drawn on it.
void CopyPicture()
{
    const ImageRecord& picture = ImageTable[Picture];
    std::memcpy(PixelTable[Copy], PixelTable[Picture], static_cast<size_t>(ImageStride(picture.width, 32)) * picture.height);
    KRT_RefreshImage(Copy);
}

// A result's number beside its drawing, in the ink colour.
void Label(int x, int y, const char* text)
{
    krt_tc = kInk;
    KRT_SetTextCursor(x, y, x);
    KRT_DrawString(text);
}

void MeasureLine()
{
    int x1, y1, x2, y2;
    if (PickLine(Copy, &x1, &y1, &x2, &y2) != 0) {
        KRT_Print("cancelled\n");
        return;
    }
    // Image rows grow downwards; an angle counts anticlockwise from the x axis as usual.
    const double dx = x2 - x1, dy = y1 - y2;
    const double length = std::sqrt(dx * dx + dy * dy), angle = std::atan2(dy, dx) * 180 / kPi;
    KRT_Print("line (%d, %d)-(%d, %d): length %.2f, angle %.2f degrees\n", x1, y1, x2, y2, length, angle);
    KRT_DrawLine(x1, y1, x2, y2, kInk);
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", length);
    Label(x2 + 4, y2 + 4, text);
}

void MeasureBox()
{
    int left, top, right, bottom;
    if (PickRectangle(Copy, &left, &top, &right, &bottom) != 0) {
        KRT_Print("cancelled\n");
        return;
    }
    // The mean of the picture's own pixels, not of the copy with its drawings; rounded.
    long long sum[3] = {};
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
            for (int c = 0; c < 3; ++c)
                sum[c] += Row(Picture, y)[x] >> (16 - 8 * c) & 0xFF;
    const int width = right - left + 1, height = bottom - top + 1;
    const long long n = static_cast<long long>(width) * height;
    const int r = static_cast<int>((sum[0] + n / 2) / n), g = static_cast<int>((sum[1] + n / 2) / n),
              b = static_cast<int>((sum[2] + n / 2) / n);
    const int mean = r << 16 | g << 8 | b;
    int h, s, v;
    RgbToHsv(mean, &h, &s, &v);
    KRT_Print("box (%d, %d)-(%d, %d): %d x %d, mean RGB (%d, %d, %d), HSV (%d, %d, %d)\n", left, top, right,
              bottom, width, height, r, g, b, h, s, v);
    KRT_SetDrawingColour(kInk);
    DrawBox(left, top, right, bottom);
    KRT_SetDrawingColour(mean);  // a swatch of the mean colour beside the box, framed
    FillBox(right + 4, top, right + 19, top + 15);
    KRT_SetDrawingColour(kInk);
    DrawBox(right + 3, top - 1, right + 20, top + 16);
    char text[32];
    std::snprintf(text, sizeof text, "%dx%d", width, height);
    Label(right + 4, top + 31, text);
}

void MeasureCircle()
{
    int cx, cy, radius;
    if (PickCircle(Copy, &cx, &cy, &radius) != 0) {
        KRT_Print("cancelled\n");
        return;
    }
    KRT_Print("circle (%d, %d): radius %d\n", cx, cy, radius);
    KRT_DrawCircle(cx, cy, radius, kInk);
    KRT_DrawLine(cx - 2, cy, cx + 2, cy, kInk);
    KRT_DrawLine(cx, cy - 2, cx, cy + 2, kInk);
    char text[32];
    std::snprintf(text, sizeof text, "r %d", radius);
    Label(cx + 4, cy - 4, text);
}

}  // namespace

void UserProgramInit(void)
{
    KRT_OpenButtonBox(0, 520, 5, 1);
    for (int i = 0; i < 5; ++i)
        KRT_SetButtonBoxTitle(i, kLabels[i]);
    KRT_OpenTextWindow(0, 0, 590, 620, 300);
    KRT_StartLog(0);
    KRT_Print("measure: drop a picture on the main window, or press Start for %s.\n", kSample);
    KRT_SetForeground(KRTMAINWINDOW);
}

void UserProgramMain(void)
{
    if (!ImageTable[Picture].inUse && KRT_OpenImageFile(Picture, kSample, 0, 0) != 0) {
        KRT_Print("cannot open %s\n", kSample);
        return;
    }
    const ImageRecord& picture = ImageTable[Picture];
    if (picture.bitDepth != 32) {
        KRT_Print("image 000 is not a colour picture\n");
        return;
    }
    KRT_DestroyImage(Copy);  // from an earlier run
    if (KRT_CreateImage(Copy, "copy", 632, 0, picture.width, picture.height, 100) != 0) {
        KRT_Print("no room for the copy\n");
        return;
    }
    CopyPicture();
    KRT_Print("Click a button, then the copy.\n");
    while (WaitNextFrame() == 0 && picture.inUse && ImageTable[Copy].inUse) {
        if (KRT_GetButton(Line))
            MeasureLine();
        else if (KRT_GetButton(Box))
            MeasureBox();
        else if (KRT_GetButton(Circle))
            MeasureCircle();
        else if (KRT_GetButton(Clear))
            CopyPicture();
        else if (KRT_GetButton(Break)) {
            KRT_DestroyImage(Copy);
            break;
        } else
            continue;
        KRT_RefreshImage(Copy);
    }
    KRT_Print("stopped\n");
}
