// Creating and destroying image windows.  A window, its own DC, the memory DC and the DIB
// section that holds the pixels live exactly as long as the slot is in use.
#include "image/image_window.h"

#include <windows.h>

#include <cstdint>
#include <cstring>

#include "core/framework.h"
#include "core/gdi_handles.h"
#include "core/text_convert.h"
#include "core/window_placement.h"
#include "image/image_selection.h"
#include "image/image_table.h"
#include "krtlib.h"

namespace {

constexpr DWORD kImageWindowStyle = WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
static_assert(kImageWindowStyle == 0x10CC0000, "visible, caption, system menu, sizing frame");

// FreeLimits windows carry this property from WM_NCCREATE on; before it, the window being
// created has the mode CreateWindowExW was called for.
constexpr wchar_t kFreeLimitsProperty[] = L"krt_free_limits";
int modeBeingCreated = -1;

// The bitmap header with a grey ramp: the same for both depths; only 8-bit images use the
// table, as their first palette.
struct GreyBitmapInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];
};

GreyBitmapInfo TopDownBitmapInfo(int width, int height, int bitDepth)
{
    GreyBitmapInfo info = {};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = width;
    info.header.biHeight = -height;  // negative: row 0 is the top row
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(bitDepth);
    info.header.biCompression = BI_RGB;
    for (int i = 0; i < 256; ++i)
        info.colours[i] = {static_cast<BYTE>(i), static_cast<BYTE>(i), static_cast<BYTE>(i), 0};
    return info;
}

void PrepareDc(HDC dc)
{
    SetStretchBltMode(dc, COLORONCOLOR);
    SetBrushOrgEx(dc, 0, 0, nullptr);
}

char* HeapCopy(const char* text)
{
    const size_t length = std::strlen(text);
    char* copy = new char[length + 1];
    std::memcpy(copy, text, length + 1);
    return copy;
}

int CreateSized(int slot, const char* name, int x, int y, int width, int height, int bitDepth,
                int sizeLimitMode, const ZoomFit& fit)
{
    const SIZE frame = ImageFrameSize(fit.clientWidth, fit.clientHeight);
    char title[kImageTitleChars];
    FormatImageTitle(title, name, fit.zoom, bitDepth);
    wchar_t wideTitle[kImageTitleChars];
    WidenText(title, wideTitle, kImageTitleChars);

    const WindowPlacement placement{x, y, x == -1, y == -1};
    modeBeingCreated = sizeLimitMode;
    OwnedWindow window(CreateWindowExW(0, kImageWindowClass, wideTitle, kImageWindowStyle, CreationX(placement),
                                       CreationY(placement), frame.cx, frame.cy, MainWindow, nullptr,
                                       krtInstance, nullptr));
    modeBeingCreated = -1;
    if (!window)
        return 3;
    FinishPlacement(window.get(), placement);
    UpdateWindow(window.get());
    SetForegroundWindow(window.get());
    DragAcceptFiles(window.get(), TRUE);
    OwnedWindowDc windowDC(window.get());
    if (!windowDC)
        return 3;
    PrepareDc(windowDC.get());
    OwnedMemoryDc memoryDC(CreateCompatibleDC(windowDC.get()));
    if (!memoryDC)
        return 3;
    PrepareDc(memoryDC.get());
    const GreyBitmapInfo info = TopDownBitmapInfo(width, height, bitDepth);
    void* bits = nullptr;
    OwnedBitmap dib(CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS,
                                     &bits, nullptr, 0));
    if (!dib || !bits)
        return 3;  // the window and both DCs go with it: the slot stays free and nothing is left
    Selection selection(memoryDC.get(), dib.get());
    std::memset(bits, 0, static_cast<size_t>(ImageStride(width, bitDepth)) * static_cast<size_t>(height));

    ImageRecord& record = ImageTable[slot];
    record.bitDepth = bitDepth;
    record.width = width;
    record.height = height;
    record.clientWidth = fit.clientWidth;
    record.clientHeight = fit.clientHeight;
    record.zoom = fit.zoom;
    record.sizeLimitMode = sizeLimitMode;
    record.previousBitmap = static_cast<HBITMAP>(selection.release());
    record.dibSection = dib.release();
    record.memoryDC = memoryDC.release();
    record.windowDC = windowDC.release();
    record.window = window.release();
    record.name = HeapCopy(name);
    PixelTable[slot] = static_cast<unsigned char*>(bits);
    record.inUse = 1;
    return 0;
}

}  // namespace

SIZE ImageFrameSize(int clientWidth, int clientHeight)
{
    RECT frame = {0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&frame, kImageWindowStyle, FALSE, 0);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

void NoteImageWindowMode(HWND window)
{
    if (modeBeingCreated == FreeLimits)
        SetPropW(window, kFreeLimitsProperty, reinterpret_cast<HANDLE>(1));
}

void ForgetImageWindowMode(HWND window) { RemovePropW(window, kFreeLimitsProperty); }

bool IsFreeLimitsWindow(HWND window)
{
    if (GetPropW(window, kFreeLimitsProperty))
        return true;
    return modeBeingCreated == FreeLimits && FindImageSlot(window) < 0;  // still being created
}

ScreenMetrics ReadScreenMetrics()
{
    return {GetSystemMetrics(SM_CXMIN),    GetSystemMetrics(SM_CYMIN),    GetSystemMetrics(SM_CXFRAME),
            GetSystemMetrics(SM_CYCAPTION), GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

int CreateImageWindow(int slot, const char* name, int x, int y, int width, int height, int zoom,
                      int bitDepth, int sizeLimitMode)
{
    if (slot < 0 || slot >= kImageSlots)
        return 4;
    if (ImageTable[slot].inUse)
        return 1;
    if (bitDepth != 8 && bitDepth != 32)
        return 3;
    if (width < 1)
        width = 1;
    if (height < 1)
        height = 1;
    const ZoomFit fit = FitZoom(width, height, zoom, sizeLimitMode, ReadScreenMetrics());
    if (!fit.fits)
        return 2;
    // GDI sizes a DIB section in 32-bit arithmetic: a larger buffer could come back smaller
    // than the image.  Such an image counts as a DIB section that cannot be made.
    if (static_cast<std::uint64_t>(ImageStride(width, bitDepth)) * static_cast<std::uint64_t>(height) > INT32_MAX)
        return 3;
    const int result = CreateSized(slot, name ? name : "", x, y, width, height, bitDepth, sizeLimitMode, fit);
    if (result != 0)
        return result;
    RebuildSnapTable();
    KRT_SelectImage(slot);
    return 0;
}

int KRT_CreateImage(int slot, const char* name, int x, int y, int width, int height, int zoom)
{
    return CreateImageWindow(slot, name, x, y, width, height, zoom, 32, ScreenFit);
}

int KRT_CreateImage8(int slot, const char* name, int x, int y, int width, int height, int zoom)
{
    return CreateImageWindow(slot, name, x, y, width, height, zoom, 8, ScreenFit);
}

int KRT_CreateImageFL(int slot, const char* name, int x, int y, int width, int height, int zoom)
{
    return CreateImageWindow(slot, name, x, y, width, height, zoom, 32, FreeLimits);
}

int KRT_CreateImage8FL(int slot, const char* name, int x, int y, int width, int height, int zoom)
{
    return CreateImageWindow(slot, name, x, y, width, height, zoom, 8, FreeLimits);
}

int KRT_DestroyImage(int slot)
{
    if (!IsLiveImage(slot))
        return 1;
    ImageRecord& record = ImageTable[slot];
    record.inUse = 0;
    PixelTable[slot] = nullptr;  // the memory goes with the DIB section
    SelectObject(record.memoryDC, record.previousBitmap);
    DeleteObject(record.dibSection);
    DeleteDC(record.memoryDC);
    ReleaseDC(record.window, record.windowDC);
    delete[] record.name;
    record.name = nullptr;
    DestroyWindow(record.window);
    record.dibSection = nullptr;
    record.previousBitmap = nullptr;
    record.memoryDC = nullptr;
    record.windowDC = nullptr;
    return 0;
}

void CreateImageRequest(MailboxFields& request)
{
    request.result = CreateImageWindow(request.slot, request.name, request.x, request.y, request.width,
                                       request.height, request.zoom, request.bitDepth, ScreenFit);
}

void RefreshImageRequest(MailboxFields& request)
{
    KRT_RefreshImage(request.slot);
    if (request.restorePrevious)
        RestorePreviousImage();
}
