#include "image/clipboard.h"

#include <cstdint>
#include <cstring>

#include "core/gdi_handles.h"
#include "image/clipboard_dib.h"
#include "image/image_menus.h"
#include "image/image_selection.h"
#include "image/image_table.h"
#include "imaging/pixel_view.h"
#include "krtlib.h"

static_assert(sizeof(RGBQUAD) == 4, "a colour-table entry is one 0x00RRGGBB word");

namespace {

// An indexed picture stays indexed: into an 8-bit image that takes its colour table its pixels
// then go by index.  Through the display's format they would be matched back to the table by
// colour, which the system does only approximately.  Run-length pictures are expanded here
// into plain 8-bit rows, so that what reaches the system is checked and whole.
HBITMAP IndexedSection(const unsigned char* block, const DibLayout& layout)
{
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[256];
    } expanded = {};
    const auto* info = reinterpret_cast<const BITMAPINFO*>(block);
    if (layout.runLength) {
        expanded.header.biSize = sizeof expanded.header;
        expanded.header.biWidth = layout.width;
        expanded.header.biHeight = layout.rows;  // bottom-up, as the runs give the rows
        expanded.header.biPlanes = 1;
        expanded.header.biBitCount = 8;
        expanded.header.biCompression = BI_RGB;
        expanded.header.biClrUsed = static_cast<DWORD>(layout.colourCount);
        std::memcpy(expanded.colours, block + layout.coloursOffset,
                    static_cast<size_t>(layout.colourCount) * sizeof(RGBQUAD));
        info = reinterpret_cast<const BITMAPINFO*>(&expanded);
    }
    void* bits = nullptr;
    OwnedBitmap section(CreateDIBSection(nullptr, info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!section || !bits)
        return nullptr;
    if (layout.runLength)
        ExpandRunLengthDib(block, layout, static_cast<unsigned char*>(bits));
    else
        std::memcpy(bits, block + layout.bitsOffset, layout.imageBytes);  // the same format, so the same rows
    return section.release();
}

// A bitmap of the screen's format, or an indexed section, from a checked packed DIB.
HBITMAP BitmapFromDib(RGBQUAD (&palette)[256], int& count)
{
    ClipboardSession clipboard;
    if (!clipboard)
        return nullptr;
    HANDLE data = GetClipboardData(CF_DIB);
    if (!data)
        return nullptr;
    LockedGlobal block(data);
    if (!block)
        return nullptr;
    const DibLayout layout = CheckClipboardDib(block.bytes(), GlobalSize(data));
    if (!layout.valid)
        return nullptr;
    HBITMAP bitmap = nullptr;
    if (layout.bitCount <= 8) {
        bitmap = IndexedSection(block.bytes(), layout);
    } else {
        const auto* info = reinterpret_cast<const BITMAPINFO*>(block.bytes());
        ScreenDc screen;
        bitmap = CreateDIBitmap(screen.get(), &info->bmiHeader, CBM_INIT, block.bytes() + layout.bitsOffset, info,
                                DIB_RGB_COLORS);
    }
    if (bitmap && layout.bitCount <= 8) {
        count = layout.colourCount;
        std::memcpy(palette, block.bytes() + layout.coloursOffset, static_cast<size_t>(count) * sizeof(RGBQUAD));
    }
    return bitmap;
}

// A copy of the clipboard's own bitmap, always a new one: the paste deletes what it is given,
// and LR_COPYRETURNORG would hand back the clipboard's bitmap itself when the sizes agree.
HBITMAP CopyOfClipboardBitmap()
{
    ClipboardSession clipboard;
    if (!clipboard)
        return nullptr;
    HANDLE shared = GetClipboardData(CF_BITMAP);
    return shared ? static_cast<HBITMAP>(CopyImage(shared, IMAGE_BITMAP, 0, 0, 0)) : nullptr;
}

SIZE BitmapSize(HBITMAP bitmap)
{
    BITMAP info = {};
    GetObjectW(bitmap, sizeof info, &info);
    return {info.bmWidth, info.bmHeight};
}

}  // namespace

HBITMAP GetClipboardBitmap(RGBQUAD (&palette)[256], int& count)
{
    count = 0;
    if (IsClipboardFormatAvailable(CF_DIB))
        return BitmapFromDib(palette, count);
    if (IsClipboardFormatAvailable(CF_BITMAP))
        return CopyOfClipboardBitmap();
    return nullptr;
}

void CopyImageToClipboard(int slot)
{
    const PixelView view = ViewOfSlot(slot);
    if (view.empty())
        return;
    ClipboardSession clipboard;
    if (!clipboard)
        return;
    EmptyClipboard();
    OwnedGlobal block(GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, ClipboardDibSize(view)));
    if (!block) {
        // The box waits for the user: other programs get the clipboard back first.
        clipboard.Close();
        KRT_Pause("No enough memory for copy");
        return;
    }
    {
        LockedGlobal bytes(block.get());
        if (!bytes)
            return;
        std::uint32_t palette[256] = {};
        if (view.depth == 8)
            GetDIBColorTable(ImageTable[slot].memoryDC, 0, 256, reinterpret_cast<RGBQUAD*>(palette));
        GdiFlush();  // what GDI drew is in the pixels before they are read directly
        WriteClipboardDib(view, palette, bytes.bytes());
    }
    if (SetClipboardData(CF_DIB, block.get()))
        block.release();  // the clipboard's from now on
}

void PasteClipboardImage(int x, int slot, int y)
{
    if (!IsLiveImage(slot))
        return;
    RGBQUAD palette[256];
    int count = 0;
    OwnedBitmap bitmap(GetClipboardBitmap(palette, count));
    if (!bitmap)
        return;
    const HWND window = ImageTable[slot].window;
    OwnedMemoryDc source(CreateCompatibleDC(ImageTable[slot].memoryDC));
    if (!source)
        return;
    Selection selected(source.get(), bitmap.get());
    const SIZE size = BitmapSize(bitmap.get());
    if (x == -1 || y == -1) {
        int cx = 0, cy = 0;
        if (PickPlacement(slot, size.cx, size.cy, &cx, &cy) != 0)
            return;
        // The pick dispatched messages meanwhile: the window may be gone.
        if (FindImageSlot(window) != slot)
            return;
        x = cx - size.cx / 2;  // the click marks the centre
        y = cy - size.cy / 2;
    }
    const ImageRecord& record = ImageTable[slot];
    if (count > 0)
        SetDIBColorTable(record.memoryDC, 0, static_cast<UINT>(count), palette);
    BitBlt(record.memoryDC, x, y, size.cx, size.cy, source.get(), 0, 0, SRCCOPY);
    GdiFlush();
    InvalidateRect(record.window, nullptr, FALSE);
}

void PasteBitmapRequest(MailboxFields& request)
{
    OwnedBitmap bitmap(request.bitmap.exchange(nullptr));
    if (!bitmap || !IsLiveImage(CurrentImage))
        return;
    const ImageRecord& record = ImageTable[CurrentImage];
    OwnedMemoryDc source(CreateCompatibleDC(record.memoryDC));
    if (!source)
        return;
    Selection selected(source.get(), bitmap.get());
    const SIZE size = BitmapSize(bitmap.get());
    BitBlt(record.memoryDC, 0, 0, size.cx, size.cy, source.get(), 0, 0, SRCCOPY);
    GdiFlush();
}

bool RunClipboardCommand(HWND window, int id)
{
    const int slot = FindImageSlot(window);
    switch (id) {
    case CmdCut:
        CopyImageToClipboard(slot);
        // Cleared whether or not the copy succeeded; a failure's box dispatched messages, so
        // the window is looked up again.
        if (FindImageSlot(window) == slot) {
            ClearImage(slot);
            InvalidateRect(window, nullptr, FALSE);
        }
        return true;
    case CmdCopy:
        CopyImageToClipboard(slot);
        return true;
    case CmdPasteAt:
        PasteClipboardImage(-1, slot, -1);
        return true;
    case CmdPasteTopLeft:
        PasteClipboardImage(0, slot, 0);
        return true;
    default:
        return false;
    }
}
