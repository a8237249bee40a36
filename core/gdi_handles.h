// Owners of window-system handles for the time a window's resources are being put together:
// each releases its handle when it goes out of scope, unless release() handed the handle on
// (to a table record, which then owns it until its window is destroyed).  Declared in the
// order of acquisition, they are undone in reverse: a bitmap is put out of its memory DC
// before it is deleted, and the DCs go before the window.
#pragma once
#include <windows.h>

template <class Handle, class Traits>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    ~UniqueHandle()
    {
        if (handle_)
            Traits::Close(handle_);
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    Handle release()
    {
        Handle handle = handle_;
        handle_ = nullptr;
        return handle;
    }

private:
    Handle handle_ = nullptr;
};

struct WindowTraits {
    static void Close(HWND window) { DestroyWindow(window); }
};
struct MemoryDcTraits {
    static void Close(HDC dc) { DeleteDC(dc); }
};
struct BitmapTraits {
    static void Close(HBITMAP bitmap) { DeleteObject(bitmap); }
};

using OwnedWindow = UniqueHandle<HWND, WindowTraits>;
using OwnedMemoryDc = UniqueHandle<HDC, MemoryDcTraits>;
using OwnedBitmap = UniqueHandle<HBITMAP, BitmapTraits>;

// A 32-bit DIB section of width x height with row 0 at the top; its pixels (0x00RRGGBB words)
// go to *bits.  Null, with *bits null, when it cannot be made.
inline HBITMAP CreateTopDownDib32(HDC dc, int width, int height, void** bits)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    *bits = nullptr;
    const HBITMAP dib = CreateDIBSection(dc, &info, DIB_RGB_COLORS, bits, nullptr, 0);
    if (!dib)
        *bits = nullptr;
    return dib;
}

// A window's own DC (GetDC), released to its window.
class OwnedWindowDc {
public:
    explicit OwnedWindowDc(HWND window) : window_(window), dc_(window ? GetDC(window) : nullptr) {}
    ~OwnedWindowDc()
    {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    OwnedWindowDc(const OwnedWindowDc&) = delete;
    OwnedWindowDc& operator=(const OwnedWindowDc&) = delete;

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }
    HDC release()
    {
        HDC dc = dc_;
        dc_ = nullptr;
        return dc;
    }

private:
    HWND window_;
    HDC dc_;
};

// An object selected into a DC; the previous object goes back in when this ends.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~Selection()
    {
        if (dc_)
            SelectObject(dc_, previous_);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

    // Keeps the object selected; returns what was selected before it.
    HGDIOBJ release()
    {
        dc_ = nullptr;
        return previous_;
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// The screen's device context (GetDC of no window), released again.
class ScreenDc {
public:
    ScreenDc() : dc_(GetDC(nullptr)) {}
    ~ScreenDc()
    {
        if (dc_)
            ReleaseDC(nullptr, dc_);
    }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HDC dc_;
};

// A global memory block of our own: freed unless release() handed it on (to the clipboard,
// which owns it once SetClipboardData has taken it).
struct GlobalTraits {
    static void Close(HGLOBAL block) { GlobalFree(block); }
};
using OwnedGlobal = UniqueHandle<HGLOBAL, GlobalTraits>;

// A global block locked for reading or writing, unlocked again.
class LockedGlobal {
public:
    explicit LockedGlobal(HGLOBAL block)
        : block_(block), bytes_(block ? static_cast<unsigned char*>(GlobalLock(block)) : nullptr)
    {
    }
    ~LockedGlobal()
    {
        if (bytes_)
            GlobalUnlock(block_);
    }
    LockedGlobal(const LockedGlobal&) = delete;
    LockedGlobal& operator=(const LockedGlobal&) = delete;

    unsigned char* bytes() const { return bytes_; }
    explicit operator bool() const { return bytes_ != nullptr; }

private:
    HGLOBAL block_;
    unsigned char* bytes_;
};

// The clipboard opened with no owner window; closed on every path out.  Another program may
// hold it: then the session is not open and nothing may be read or written.
class ClipboardSession {
public:
    ClipboardSession() : open_(OpenClipboard(nullptr) != FALSE) {}
    ~ClipboardSession() { Close(); }
    ClipboardSession(const ClipboardSession&) = delete;
    ClipboardSession& operator=(const ClipboardSession&) = delete;

    explicit operator bool() const { return open_; }
    void Close()
    {
        if (open_)
            CloseClipboard();
        open_ = false;
    }

private:
    bool open_;
};
