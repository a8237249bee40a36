// filters: neighbourhood filters on a picture.  The input box holds the kernel size (odd, 1 to
// 15) and a picture file's name, which "open" opens as image 000 (a picture dropped on the main
// window is image 000 too).  "box blur" (the mean), "gauss" (weights of a binomial row, close to
// a Gaussian), "median" and "sobel" (the luminance's edges, always 3 x 3) each open their result
// in a new window and print how long they took.  Beyond the picture's edge the nearest edge
// pixel counts.  Press Start; without an image 000 it opens the picture named in the box.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "krtlib.h"

namespace {

enum Item { KernelItem, FileItem };
enum Button { Open, BoxBlur, Gauss, Median, Sobel, Break };
const char* const kLabels[] = {"open", "box blur", "gauss", "median", "sobel", "break"};
const char kSample[] = "examples/flyeye.bmp";
constexpr int kPicture = 0;
constexpr int kMaxKernel = 15;
constexpr int kLeft = 390;  // the picture and the results open right of the boxes

// The picture being filtered, and the kernel with its weights along one side.
const unsigned* source;
int width, height, kernel, half;
long long weights[kMaxKernel];

int Clamp(int v, int low, int high) { return v < low ? low : v > high ? high : v; }
unsigned At(int x, int y) { return source[Clamp(y, 0, height - 1) * width + Clamp(x, 0, width - 1)]; }
int Channel(unsigned colour, int c) { return colour >> (16 - 8 * c) & 0xFF; }
unsigned Rgb(const long long (&v)[3]) { return static_cast<unsigned>(v[0] << 16 | v[1] << 8 | v[2]); }

// Box and Gaussian blur: each channel's mean weighted by weights[dx] * weights[dy], rounded.
unsigned WeightedPixel(int x, int y)
{
    long long sum[3] = {}, total = 0;
    for (int dy = -half; dy <= half; ++dy)
        for (int dx = -half; dx <= half; ++dx) {
            const long long w = weights[dy + half] * weights[dx + half];
            total += w;
            for (int c = 0; c < 3; ++c)
                sum[c] += w * Channel(At(x + dx, y + dy), c);
        }
    for (long long& s : sum)
        s = (s + total / 2) / total;
    return Rgb(sum);
}

unsigned MedianPixel(int x, int y)
{
    unsigned char values[3][kMaxKernel * kMaxKernel];
    int n = 0;
    for (int dy = -half; dy <= half; ++dy)
        for (int dx = -half; dx <= half; ++dx, ++n)
            for (int c = 0; c < 3; ++c)
                values[c][n] = static_cast<unsigned char>(Channel(At(x + dx, y + dy), c));
    long long median[3];
    for (int c = 0; c < 3; ++c) {
        std::nth_element(values[c], values[c] + n / 2, values[c] + n);
        median[c] = values[c][n / 2];
    }
    return Rgb(median);
}

// The length of the luminance's gradient as a grey level, 255 at most.
unsigned SobelPixel(int x, int y)
{
    auto l = [&](int dx, int dy) { return Luminance(static_cast<int>(At(x + dx, y + dy))); };
    const int gx = l(1, -1) + 2 * l(1, 0) + l(1, 1) - l(-1, -1) - 2 * l(-1, 0) - l(-1, 1);
    const int gy = l(-1, 1) + 2 * l(0, 1) + l(1, 1) - l(-1, -1) - 2 * l(0, -1) - l(1, -1);
    return static_cast<unsigned>(std::min(255, static_cast<int>(std::sqrt(gx * gx + gy * gy))));
}

// The filters by their buttons: name, pixel, depth of the result (sobel's is a grey image).
const struct {
    const char* name;
    unsigned (*pixel)(int, int);
    int depth;
} kFilters[] = {{"box", WeightedPixel, 32}, {"gauss", WeightedPixel, 32}, {"median", MedianPixel, 32},
                {"sobel", SobelPixel, 8}};

// The picture in image 000 as the filters' source; false when there is none.
bool TakePicture()
{
    if (!ImageTable[kPicture].inUse || ImageTable[kPicture].bitDepth != 32)
        return false;
    width = ImageTable[kPicture].width;
    height = ImageTable[kPicture].height;
    source = reinterpret_cast<const unsigned*>(PixelTable[kPicture]);
    return true;
}

// The picture and its results share one zoom, at which three fit side by side right of the
// boxes, and fill that grid in slot order.
int GridZoom()
{
    const int cell = (1280 - kLeft) / 3 - 8;
    return width > cell ? cell * 100 / width : 100;
}

// A new window in the next free slot; -1 when none could be made.
int OpenResult(const char* name, int depth)
{
    int slot = 1;
    while (slot < kImageSlots && ImageTable[slot].inUse)
        ++slot;
    const int w = width * GridZoom() / 100 + 8, h = height * GridZoom() / 100 + 27;
    const int x = kLeft + slot % 3 * w, y = slot / 3 % std::max(1, 1000 / h) * h;
    const int made = slot == kImageSlots ? 4
                     : depth == 8        ? KRT_CreateImage8(slot, name, x, y, width, height, GridZoom())
                                         : KRT_CreateImage(slot, name, x, y, width, height, GridZoom());
    return made == 0 ? slot : -1;
}

void RunFilter(int button)
{
    if (!TakePicture()) {
        KRT_Print("no colour picture in image 000\n");
        return;
    }
    const auto& filter = kFilters[button - BoxBlur];
    kernel = button == Sobel ? 3 : Clamp(KRT_GetInputBoxInt(KernelItem), 1, kMaxKernel) | 1;
    half = kernel / 2;
    for (int i = 0; i < kernel; ++i) {  // all 1, or row i of Pascal's triangle from row i - 1
        weights[i] = 1;
        for (int j = i - 1; button == Gauss && j > 0; --j)
            weights[j] += weights[j - 1];
    }
    char title[64];
    std::snprintf(title, sizeof title, "%s %dx%d", filter.name, kernel, kernel);
    const int slot = OpenResult(title, filter.depth);
    if (slot < 0) {
        KRT_Print("no room for %s\n", title);
        return;
    }
    const unsigned start = MillisecondClock();
    for (int y = 0; y < height && exitState == 0; ++y) {
        unsigned char* row = PixelTable[slot] + y * ImageStride(width, filter.depth);
        for (int x = 0; x < width; ++x) {
            const unsigned value = filter.pixel(x, y);
            if (filter.depth == 8)
                row[x] = static_cast<unsigned char>(value);
            else
                reinterpret_cast<unsigned*>(row)[x] = value;
        }
        PumpUserMessages();  // a long filter keeps the windows alive
    }
    const unsigned elapsed = MillisecondClock() - start;
    KRT_RefreshImage(slot);
    KRT_Print("%s: image %d in %u ms\n", title, slot, elapsed);
}

// The file named in the input box, as image 000.  Its size is asked first, so that a name
// that is no picture leaves the present picture in place.
void OpenPicture()
{
    const char* name = KRT_GetInputBoxText(FileItem);
    int w, h;
    if (!name || KRT_GetImageFileSize(name, &w, &h) != 0) {
        KRT_Print("%s is not a picture\n", name ? name : "(no name)");
        return;
    }
    KRT_DestroyImage(kPicture);
    const int result = KRT_OpenImageFile(kPicture, name, kLeft, 0);
    if (result != 0) {
        KRT_Print("%s could not be opened (result %d)\n", name, result);
        return;
    }
    KRT_Print("%s: %d x %d\n", name, w, h);
    TakePicture();
    SetImageZoom(GridZoom(), kPicture);
}

}  // namespace

void UserProgramInit(void)
{
    KRT_ResizeInputBox(60, 300);
    KRT_OpenInputBox(0, 0, 2);
    KRT_SetInputBoxTitle(KernelItem, "kernel");
    KRT_SetInputBoxTitle(FileItem, "picture");
    KRT_SetInputBoxText(KernelItem, "5");
    KRT_SetInputBoxText(FileItem, kSample);
    KRT_OpenButtonBox(0, 95, 2, 3);
    for (int i = 0; i < 6; ++i)
        KRT_SetButtonBoxTitle(i, kLabels[i]);
    KRT_OpenTextWindow(0, 0, 225, 380, 300);
    KRT_StartLog(0);
    KRT_Print("filters: press Start.\n");
    KRT_SetForeground(KRTMAINWINDOW);
}

void UserProgramMain(void)
{
    if (!ImageTable[kPicture].inUse)
        OpenPicture();
    while (WaitNextFrame() == 0 && !KRT_GetButton(Break)) {
        if (KRT_GetButton(Open))
            OpenPicture();
        for (int button = BoxBlur; button <= Sobel; ++button)
            if (KRT_GetButton(button))
                RunFilter(button);
    }
}
