// Image windows on the window-system side: creation with the DIB section, the title, and the
// mailbox requests that create and redraw them.  Everything here runs on the user-program
// thread, which owns the image windows.
#pragma once
#include <windows.h>

#include "core/mailbox.h"
#include "image/size_limits.h"

constexpr int kImageTitleChars = 256;

// Creates the image window of `slot`: 0 success, 1 slot in use (nothing touched), 2 no zoom
// fits the size limits, 3 bit depth other than 8 or 32 or the window or its DIB section could
// not be created, 4 slot outside 0 to 255.  x or y of -1: that coordinate is the system's
// choice (core/window_placement.h).
int CreateImageWindow(int slot, const char* name, int x, int y, int width, int height, int zoom,
                      int bitDepth, int sizeLimitMode);

// "name(zoom%)", with "[8bit]" for 8-bit images, into buffer[kImageTitleChars].  A name too
// long for the buffer is cut (at a whole character) so that the zoom stays in the title.
void FormatImageTitle(char* buffer, const char* name, int zoom, int bitDepth);

// Sets the window title from the record, with "*" when the memory DC stretches in HALFTONE.
void UpdateImageTitle(int slot);

// The metrics GetSizeLimits and FitZoom read, from the system.
ScreenMetrics ReadScreenMetrics();

// The outer size of an image window with this client size.
SIZE ImageFrameSize(int clientWidth, int clientHeight);

// The size-limit mode as the window procedure sees it.  The system asks a window for its
// tracking limits (WM_GETMINMAXINFO) before WM_NCCREATE and again at every resize, also while
// SetImageZoom keeps the record free: NoteImageWindowMode (at WM_NCCREATE) marks a FreeLimits
// window for its whole life, ForgetImageWindowMode (at WM_NCDESTROY) removes the mark.
void NoteImageWindowMode(HWND window);
void ForgetImageWindowMode(HWND window);
bool IsFreeLimitsWindow(HWND window);

// Mailbox work: request 9001 creates (result as CreateImageWindow, size-limit mode ScreenFit),
// request 9002 refreshes and, when the request asks for it, restores the previous image.
void CreateImageRequest(MailboxFields& request);
void RefreshImageRequest(MailboxFields& request);
