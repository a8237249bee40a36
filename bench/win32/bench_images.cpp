// Image files, redraw and the clipboard: loading and saving a 2048 x 2048 PNG and JPEG,
// KRT_RefreshImage at 100 % (1024 x 1024) and at 50 % (2048 x 2048) in both stretch modes, and
// CopyImageToClipboard of the 2048 x 2048 image, each beside the bare GDI+, GDI or clipboard
// calls that do the same work on the same image in the same run.  Each figure is
// the median of several runs, library and bare taking turns.
#include <windows.h>
#include <gdiplus.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "core/framework.h"
#include "image/image_file.h"
#include "image/image_table.h"
#include "image/image_zoom.h"
#include "krtlib.h"
#include "bench_timing.h"

namespace {

constexpr int kSide = 2048;
constexpr int kBig = 0;    // 2048 x 2048 at 50 %
constexpr int kSmall = 1;  // 1024 x 1024 at 100 %

// Library and bare take turns, so that a slow patch of the machine falls on both.
void Compare(const char* what, const std::function<void()>& library, const std::function<void()>& bare, int runs,
             int calls = 1)
{
    std::vector<double> libs, raws;
    for (int r = 0; r < runs; ++r) {
        libs.push_back(TimePerCall(library, calls));
        raws.push_back(TimePerCall(bare, calls));
    }
    const double lib = Median(libs), raw = Median(raws);
    std::printf("%-44s %9.2f ms %9.2f ms %6.2fx\n", what, lib, raw, lib / raw);
    std::fflush(stdout);
}

// A photograph-like picture: smooth shading with some fine detail, so that the codecs work as
// they do on real pictures.
void Paint(int slot)
{
    KRT_SelectImage(slot);
    const ImageRecord& r = ImageTable[slot];
    auto* pixels = reinterpret_cast<unsigned*>(PixelTable[slot]);
    for (int y = 0; y < r.height; ++y)
        for (int x = 0; x < r.width; ++x) {
            const unsigned detail = ((x * 7) ^ (y * 13)) & 0x0F;
            pixels[static_cast<size_t>(y) * r.width + x] =
                ((x / 8 + detail) & 0xFF) << 16 | ((y / 8 + detail) & 0xFF) << 8 | (((x + y) / 16) & 0xFF);
        }
}

// The bare load: decode, draw 1:1 into the memory DC, release.
void BareLoad(const std::wstring& path, int slot)
{
    Gdiplus::GpImage* image = nullptr;
    Gdiplus::DllExports::GdipLoadImageFromFile(path.c_str(), &image);
    UINT width = 0, height = 0;
    Gdiplus::DllExports::GdipGetImageWidth(image, &width);
    Gdiplus::DllExports::GdipGetImageHeight(image, &height);
    Gdiplus::GpGraphics* graphics = nullptr;
    Gdiplus::DllExports::GdipCreateFromHDC(ImageTable[slot].memoryDC, &graphics);
    Gdiplus::DllExports::GdipDrawImageRectI(graphics, image, 0, 0, static_cast<INT>(width), static_cast<INT>(height));
    Gdiplus::DllExports::GdipDeleteGraphics(graphics);
    Gdiplus::DllExports::GdipDisposeImage(image);
}

// The bare save: the pixels wrapped as they are and encoded.
void BareSave(const std::wstring& path, int slot, const wchar_t* mime)
{
    const ImageRecord& r = ImageTable[slot];
    Gdiplus::GpBitmap* bitmap = nullptr;
    Gdiplus::DllExports::GdipCreateBitmapFromScan0(r.width, r.height, r.width * 4, PixelFormat32bppRGB, PixelTable[slot],
                                                   &bitmap);
    const CLSID encoder = FindEncoder(mime);
    Gdiplus::DllExports::GdipSaveImageToFile(bitmap, path.c_str(), &encoder, nullptr);
    Gdiplus::DllExports::GdipDisposeImage(bitmap);
}

// The bare copy: the 24-bit bottom-up block filled by GetDIBits and handed to the clipboard.
void BareCopy(int slot)
{
    const ImageRecord& r = ImageTable[slot];
    const size_t stride = (static_cast<size_t>(r.width) * 3 + 3) & ~size_t{3};
    if (!OpenClipboard(nullptr))
        return;
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, sizeof(BITMAPINFOHEADER) + stride * r.height);
    auto* info = static_cast<BITMAPINFO*>(GlobalLock(block));
    info->bmiHeader = {sizeof(BITMAPINFOHEADER), r.width, r.height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    GetDIBits(r.memoryDC, r.dibSection, 0, r.height, reinterpret_cast<BYTE*>(info) + sizeof(BITMAPINFOHEADER), info,
              DIB_RGB_COLORS);
    GlobalUnlock(block);
    SetClipboardData(CF_DIB, block);
    CloseClipboard();
}

std::string Narrow(const std::wstring& wide)
{
    char buffer[MAX_PATH];
    WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, buffer, MAX_PATH, nullptr, nullptr);
    return buffer;
}

}  // namespace

void UserProgramInit(void)
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring base = std::wstring(temp) + L"krt_bench_" + std::to_wstring(GetCurrentProcessId());
    KRT_CreateImageFL(kBig, "big", 0, 0, kSide, kSide, 50);
    KRT_CreateImageFL(kSmall, "small", 0, 0, kSide / 2, kSide / 2, 100);
    Paint(kBig);
    Paint(kSmall);
    std::printf("%-44s %12s %12s %7s\n", "2048 x 2048 unless said", "library", "bare", "ratio");

    struct Format {
        const char* name;
        int format;
        const wchar_t* mime;
        const wchar_t* extension;
    };
    for (const Format& f : {Format{"PNG", KRT_PNG, L"image/png", L".png"}, Format{"JPEG", KRT_JPEG, L"image/jpeg", L".jpg"}}) {
        const std::wstring lib = base + L"_lib" + f.extension, raw = base + L"_raw" + f.extension;
        const std::string libName = Narrow(lib);
        KRT_SelectImage(kBig);
        Compare((std::string(f.name) + " save").c_str(),
                [&] { KRT_SaveImageFile(kSide, kSide, f.format, libName.c_str()); },
                [&] { BareSave(raw, kBig, f.mime); }, 3);
        Compare((std::string(f.name) + " load and draw").c_str(), [&] { KRT_LoadImageFile(libName.c_str(), 0, 0); },
                [&] { BareLoad(lib, kBig); }, 5);
        DeleteFileW(lib.c_str());
        DeleteFileW(raw.c_str());
    }

    const ImageRecord& small = ImageTable[kSmall];
    Compare("KRT_RefreshImage 1024 x 1024 at 100 %", [] { KRT_RefreshImage(kSmall); },
            [&] { BitBlt(small.windowDC, 0, 0, small.width, small.height, small.memoryDC, 0, 0, SRCCOPY); }, 5, 200);
    const ImageRecord& big = ImageTable[kBig];
    auto stretch = [&] {
        StretchBlt(big.windowDC, 0, 0, big.clientWidth, big.clientHeight, big.memoryDC, 0, 0, big.width, big.height,
                   SRCCOPY);
    };
    Compare("KRT_RefreshImage at 50 %, COLORONCOLOR", [] { KRT_RefreshImage(kBig); }, stretch, 5, 40);
    SetImageStretchMode(HALFTONE, kBig);
    Compare("KRT_RefreshImage at 50 %, HALFTONE", [] { KRT_RefreshImage(kBig); }, stretch, 5, 6);

    Compare("CopyImageToClipboard", [] { CopyImageToClipboard(kBig); }, [] { BareCopy(kBig); }, 7);

    KRT_DestroyImage(kBig);
    KRT_DestroyImage(kSmall);
    PostMessageW(MainWindow, WM_COMMAND, 1002, 0);
}

void UserProgramMain(void)
{
}
