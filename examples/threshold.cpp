// threshold: a picture shown as a grey image and, beside it, a binary image: white where the
// grey level is above the threshold, black elsewhere.  The button box steps the threshold, and
// the binary image and the histogram below the console (the threshold marked in red) follow at
// once.  "write" prints the threshold and the share of the pixels above it, into the console
// and its log file KRTLIB00.LOG.
//
// Drop a picture on the main window (it opens as image 000) and press Start; without one,
// Start opens the sample picture examples/flyeye.bmp.  Stop ends a run, "break" also closes
// its windows.
#include <cmath>
#include <initializer_list>

#include "krtlib.h"

namespace {

enum Slot { Picture = 0, Grey = 1, Binary = 2, Histogram = 3 };
enum Button { Down1, Up1, Down16, Up16, Write, Break };
const char* const kLabels[] = {"- 1", "+ 1", "- 16", "+ 16", "write", "break"};
const char kSample[] = "examples/flyeye.bmp";
constexpr int kMarker = 0xFF0000;

int threshold = 128;  // kept from run to run
int histogram[256];
int above = 0;        // pixels whose grey level is above the threshold

unsigned char* Row(int slot, int y)
{
    return PixelTable[slot] + y * ImageStride(ImageTable[slot].width, ImageTable[slot].bitDepth);
}

// The grey image holds each pixel's luminance as its index; the 8-bit image's own palette is
// a grey ramp, so index n shows as grey level n.
void MakeGrey()
{
    const ImageRecord& picture = ImageTable[Picture];
    for (int& count : histogram)
        count = 0;
    for (int y = 0; y < picture.height; ++y) {
        const unsigned* colours = reinterpret_cast<const unsigned*>(Row(Picture, y));
        unsigned char* grey = Row(Grey, y);
        for (int x = 0; x < picture.width; ++x) {
            grey[x] = static_cast<unsigned char>(Luminance(static_cast<int>(colours[x])));
            ++histogram[grey[x]];
        }
    }
    KRT_RefreshImage(Grey);
}

void MakeBinary()
{
    above = 0;
    for (int y = 0; y < ImageTable[Grey].height; ++y) {
        const unsigned char* grey = Row(Grey, y);
        unsigned char* binary = Row(Binary, y);
        for (int x = 0; x < ImageTable[Grey].width; ++x) {
            binary[x] = grey[x] > threshold ? 255 : 0;
            above += grey[x] > threshold;
        }
    }
    KRT_RefreshImage(Binary);
}

// Bars of the counts on a logarithmic scale (a large background would flatten everything
// else), their outline as a plotted profile, and the threshold as a red line.
void DrawHistogram()
{
    int most = 1;
    for (int count : histogram)
        most = count > most ? count : most;
    unsigned char heights[256];
    for (int i = 0; i < 256; ++i)
        heights[i] = static_cast<unsigned char>(255 * std::log1p(histogram[i]) / std::log1p(most));
    KRT_SelectImage(Histogram);
    ClearImage(Histogram);
    for (int i = 0; i < 256; ++i)
        KRT_DrawLine(i, 127, i, 127 - heights[i] * 127 / 255, 0x505050);
    PlotProfile(heights, 0, 256, KRT_PROFILE_BYTES | KRT_PROFILE_CONNECTED, 0xFFFFFF);
    KRT_DrawLine(threshold, 0, threshold, 127, kMarker);
    KRT_RefreshImage(Histogram);
}

void CloseWindows()
{
    for (int slot : {Grey, Binary, Histogram})
        KRT_DestroyImage(slot);
}

// The three windows of a run: the grey and binary images side by side under the picture, at
// most 320 pixels wide on screen, and the histogram at twice its size.
bool OpenWindows()
{
    CloseWindows();  // left from an earlier run
    const int width = ImageTable[Picture].width, height = ImageTable[Picture].height;
    const int zoom = width > 320 ? 32000 / width : 100;
    if (KRT_CreateImage8(Grey, "grey", 0, 520, width, height, zoom) != 0)
        return false;
    const int right = ImageTable[Grey].clientWidth + 16;
    return KRT_CreateImage8(Binary, "binary", right, 520, width, height, zoom) == 0 &&
           KRT_CreateImage(Histogram, "histogram", 680, 360, 256, 128, 200) == 0;
}

bool WindowsOpen()
{
    return ImageTable[Picture].inUse && ImageTable[Grey].inUse && ImageTable[Binary].inUse &&
           ImageTable[Histogram].inUse;
}

}  // namespace

void UserProgramInit(void)
{
    KRT_OpenButtonBox(680, 0, 2, 3);
    for (int i = 0; i < 6; ++i)
        KRT_SetButtonBoxTitle(i, kLabels[i]);
    KRT_OpenTextWindow(0, 680, 130, 400, 200);
    KRT_StartLog(0);
    KRT_Print("threshold: drop a picture on the main window, or press Start for %s.\n", kSample);
    KRT_SetForeground(KRTMAINWINDOW);
}

void UserProgramMain(void)
{
    if (!ImageTable[Picture].inUse) {
        const int result = KRT_OpenImageFile(Picture, kSample, 0, 0);
        if (result != 0) {
            KRT_Print("cannot open %s (result %d)\n", kSample, result);
            return;
        }
    }
    if (ImageTable[Picture].bitDepth != 32) {
        KRT_Print("image 000 is not a colour picture\n");
        return;
    }
    if (!OpenWindows()) {
        KRT_Print("no room for the windows\n");
        return;
    }
    MakeGrey();
    MakeBinary();
    DrawHistogram();
    const int pixels = ImageTable[Picture].width * ImageTable[Picture].height;
    KRT_Print("threshold %d\n", threshold);
    while (WaitNextFrame() == 0 && WindowsOpen()) {
        const int step = KRT_GetButton(Up1) - KRT_GetButton(Down1) + 16 * (KRT_GetButton(Up16) - KRT_GetButton(Down16));
        if (step != 0) {
            threshold = threshold + step < 0 ? 0 : threshold + step > 255 ? 255 : threshold + step;
            MakeBinary();
            DrawHistogram();
            KRT_Print("threshold %d\n", threshold);
        }
        if (KRT_GetButton(Write))
            KRT_Print("threshold %d: %.2f %% of the pixels above it\n", threshold, 100.0 * above / pixels);
        if (KRT_GetButton(Break)) {
            CloseWindows();
            return;
        }
    }
}
