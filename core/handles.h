// Opaque window-system handle types for tables that portable code also sees.
// They are the very types <windows.h> uses (STRICT handles are pointers to these tags),
// so Win32 code stores and reads them without casts, and portable code needs no <windows.h>.
#pragma once

struct HWND__;
struct HDC__;
struct HBITMAP__;
struct HFONT__;
struct HMENU__;

typedef HWND__* WindowHandle;
typedef HDC__* DcHandle;
typedef HBITMAP__* BitmapHandle;
typedef HFONT__* FontHandle;
