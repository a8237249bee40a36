// The image window procedure: repaint from the pixels, keys, the mouse (for user programs
// and for an interactive tool), dropped files and the two popup menus.
#include <windows.h>
#include <windowsx.h>

#include "boxes/button_box.h"
#include "core/dropped_files.h"
#include "core/framework.h"
#include "core/popup_menu.h"
#include "core/text_convert.h"
#include "core/window_procedures.h"
#include "image/image_clicks.h"
#include "image/image_commands.h"
#include "image/image_file.h"
#include "image/image_menus.h"
#include "image/image_selection.h"
#include "image/image_table.h"
#include "image/image_window.h"
#include "image/image_zoom.h"
#include "image/zoom_steps.h"
#include "imaging/tool_feed.h"
#include "krtlib.h"
#include "text/text_window_table.h"

namespace {

// ---- Keys -----------------------------------------------------------------------------------

// Ctrl shortcuts that post a menu command to the window, and keys handed on to the main
// window's own keyboard commands.
struct KeyCommand {
    WPARAM key;
    int command;
};
constexpr KeyCommand kCtrlCommands[] = {
    {'X', CmdCut}, {'C', CmdCopy}, {'V', CmdPasteTopLeft}, {'R', CmdClipping}};
constexpr WPARAM kMainWindowKeys[] = {'X', VK_ESCAPE, 'C'};

bool CtrlShortcut(HWND window, WPARAM key)
{
    for (const KeyCommand& row : kCtrlCommands) {
        if (row.key == key) {
            PostMessageW(window, WM_COMMAND, row.command, 0);
            return true;
        }
    }
    const int slot = FindImageSlot(window);
    switch (key) {
    case VK_ADD: ZoomStep(slot, true); return true;
    case VK_SUBTRACT: ZoomStep(slot, false); return true;
    case VK_NUMPAD0: SetImageZoom(100, slot); return true;
    default: return false;
    }
}

// Button-box keys first, even during a tool; then nothing while a tool runs; then the Ctrl
// shortcuts; then the keys of the main window, and Tab.
void OnKeyDown(HWND window, WPARAM key)
{
    if (PressButtonByKey(key) || ToolInProgress)
        return;
    if (CtrlHeld() && CtrlShortcut(window, key))
        return;
    for (WPARAM forwarded : kMainWindowKeys) {
        if (forwarded == key) {
            PostMessageW(MainWindow, WM_KEYDOWN, key, 0);  // posted: this thread never waits for the GUI
            return;
        }
    }
    if (key == VK_TAB)
        ToggleStretchMode(FindImageSlot(window));
}

// ---- Mouse ----------------------------------------------------------------------------------

// Button-up messages and the mouse capture are handled on purpose, to mend a fault: a window
// that saw only presses reported a released button as held until the mouse next moved over an
// image window, and never saw a drag released outside it.  So a press captures the mouse until
// no button is held, every release is reported, and a lost capture counts as a release.  While
// captured, points outside the window are reported on the image's edge.
constexpr WPARAM kButtons = MK_LBUTTON | MK_MBUTTON | MK_RBUTTON;

struct ImagePoint {
    int slot, x, y;
};

ImagePoint PointOf(HWND window, LPARAM position)
{
    const int slot = FindImageSlot(window);
    if (slot < 0)
        return {slot, 0, 0};
    const ImageRecord& image = ImageTable[slot];
    ImagePoint p = {slot, ClientToImage(GET_X_LPARAM(position), image.zoom),
                    ClientToImage(GET_Y_LPARAM(position), image.zoom)};
    if (GetCapture() == window) {
        p.x = KeepInImage(p.x, image.width);
        p.y = KeepInImage(p.y, image.height);
    }
    return p;
}

void ReportMouse(const ImagePoint& p, WPARAM keys)
{
    if (!mouseTracking)
        return;
    MouseState = {p.slot, p.x, p.y, (keys & MK_LBUTTON) ? 1 : 0, (keys & MK_MBUTTON) ? 1 : 0,
                  (keys & MK_SHIFT) ? 1 : 0, (keys & MK_CONTROL) ? 1 : 0};
}

// Keeps the mouse while a button is held and lets it go when none is.
void FollowButtons(HWND window, WPARAM keys)
{
    if (keys & kButtons) {
        if (GetCapture() != window)
            SetCapture(window);
    } else if (GetCapture() == window) {
        ReleaseCapture();
    }
}

bool InsideClient(HWND window, LPARAM position)
{
    RECT client;
    GetClientRect(window, &client);
    const POINT at = {GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    return PtInRect(&client, at) != FALSE;
}

bool ToolWindow(const ImagePoint& p) { return ToolInProgress && p.slot >= 0 && p.slot == ToolSlot; }

void OnMouseMove(HWND window, WPARAM keys, LPARAM position)
{
    // A move with no button held while captured means a release went unseen; outside the
    // window such a move is not this window's.
    const bool captured = GetCapture() == window;
    FollowButtons(window, keys);
    if (captured && !(keys & kButtons) && !InsideClient(window, position))
        return;
    const ImagePoint p = PointOf(window, position);
    if (p.slot < 0)
        return;
    ReportMouse(p, keys);
    if (ToolWindow(p))
        ToolMove = {1, p.x, p.y};
}

void OnLeftButtonDown(HWND window, WPARAM keys, LPARAM position)
{
    const ImagePoint p = PointOf(window, position);
    if (p.slot < 0)
        return;
    FollowButtons(window, keys);
    ReportMouse(p, keys);
    if (ToolWindow(p)) {
        ToolClick = {1, p.x, p.y};
        MouseState.shift = (keys & MK_SHIFT) ? 1 : 0;
    } else if (mouseTracking) {
        RecordImageClick(p.slot, window, p.x, p.y);
    }
}

// Any button's release: the report without it, and the mouse let go when it was the last.
void OnButtonUp(HWND window, WPARAM keys, LPARAM position)
{
    const ImagePoint p = PointOf(window, position);
    if (p.slot >= 0)
        ReportMouse(p, keys);
    FollowButtons(window, keys);
}

// The capture went elsewhere (a menu, another window, our own release): whatever this window's
// buttons were doing, no release will come here any more.
void OnCaptureLost()
{
    if (!mouseTracking)
        return;
    MouseState.left = 0;
    MouseState.middle = 0;
}

void OnRightButtonDown(HWND window, bool tools)
{
    const int slot = FindImageSlot(window);
    if (ToolInProgress) {
        if (slot >= 0 && slot == ToolSlot)
            ToolCancel = 1;  // a right click in the tool's own window cancels it
        return;
    }
    if (lineInputOwner != 0 || slot < 0)
        return;
    TrackAndDestroyPopup(tools ? BuildToolsMenu(slot) : BuildImageMenu(slot), window);
}

void OnMiddleButtonDown(HWND window, WPARAM keys, LPARAM position)
{
    const ImagePoint p = PointOf(window, position);
    if (p.slot >= 0) {
        FollowButtons(window, keys);
        ReportMouse(p, keys);
    }
    OnRightButtonDown(window, true);  // as a right click with Ctrl
}

void OnMouseWheel(HWND window, WPARAM wParam)
{
    if (!(GET_KEYSTATE_WPARAM(wParam) & MK_CONTROL))
        return;
    const int delta = GET_WHEEL_DELTA_WPARAM(wParam);
    if (delta != 0)
        ZoomStep(FindImageSlot(window), delta < 0);  // towards the user zooms in
}

// ---- Dropped files --------------------------------------------------------------------------

// Only the first file, into this window's image; the current image is restored afterwards.
// The name is taken whole or not at all: cut, or with a character turned into another, it
// would name another file.  While a tool waits drops are refused, as on the main window: a
// picture loaded under the tool's band would be inverted where the band is removed.
void OnDropFiles(HWND window, HDROP drop)
{
    if (ToolInProgress) {
        DragFinish(drop);
        return;
    }
    const std::wstring name = DroppedFileName(drop, 0);
    char narrow[kImageNameBytes];
    if (name.size() < kImageNameUnits && NarrowWhole(name.c_str(), narrow, sizeof narrow) &&
        SelectImageOfWindow(window) >= 0) {
        KRT_LoadImageFile(narrow, 0, 0);
        InvalidateCurrentImage();
        RestorePreviousImage();
    }
    DragFinish(drop);
    SetForegroundWindow(window);
}

// ---- Commands -------------------------------------------------------------------------------

// While a tool waits the menus and shortcuts that give commands are blocked, and a command that
// comes all the same (posted before the tool started, or by a program) is refused: it would
// start a second tool, or change or select away the image under the first one's band.
void OnCommand(HWND window, int id)
{
    if (!ToolInProgress)
        RunImageCommand(window, id);
}

// FreeLimits windows may be smaller than the smallest frame the system draws and larger than
// the screen; the system would otherwise cut them to its own limits at creation and at every
// resize, and the client area would no longer be the zoomed image.
void OnGetMinMaxInfo(HWND window, MINMAXINFO* info)
{
    if (!IsFreeLimitsWindow(window))
        return;
    const SizeLimits limits = GetSizeLimits(FreeLimits, ReadScreenMetrics());
    const SIZE smallest = ImageFrameSize(limits.minWidth, limits.minHeight);
    const SIZE largest = ImageFrameSize(limits.maxWidth, limits.maxHeight);
    info->ptMinTrackSize = {smallest.cx, smallest.cy};
    info->ptMaxTrackSize = {largest.cx, largest.cy};
}

void OnPaint(HWND window)
{
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    KRT_RefreshImage(FindImageSlot(window));
    EndPaint(window, &paint);
}

}  // namespace

LRESULT CALLBACK ImageWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_GETMINMAXINFO:
        OnGetMinMaxInfo(window, reinterpret_cast<MINMAXINFO*>(lParam));
        return 0;
    case WM_NCCREATE:
        NoteImageWindowMode(window);
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_NCDESTROY:
        ForgetImageWindowMode(window);
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_CREATE:
    case WM_DESTROY:
        return 0;
    case WM_PAINT:
        OnPaint(window);
        return 0;
    case WM_CLOSE:
        KRT_DestroyImage(FindImageSlot(window));
        return 0;
    case WM_MOVE:
        RebuildSnapTable();
        return 0;
    case WM_MOVING:
        SnapMovingRect(reinterpret_cast<RECT*>(lParam), window);
        return TRUE;
    case WM_SIZING:
        GetWindowRect(window, reinterpret_cast<RECT*>(lParam));  // the border never resizes it
        return TRUE;
    case WM_DROPFILES:
        OnDropFiles(window, reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(window, wParam);
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(window, wParam, lParam);
        return 0;
    case WM_LBUTTONDOWN:
        OnLeftButtonDown(window, wParam, lParam);
        return 0;
    case WM_MBUTTONDOWN:
        OnMiddleButtonDown(window, wParam, lParam);
        return 0;
    case WM_LBUTTONUP:
    case WM_MBUTTONUP:
    case WM_RBUTTONUP:
        OnButtonUp(window, wParam, lParam);
        return 0;
    case WM_CAPTURECHANGED:
        OnCaptureLost();
        return 0;
    case WM_RBUTTONDOWN:
        OnRightButtonDown(window, (wParam & MK_CONTROL) != 0);
        return 0;
    case WM_MOUSEWHEEL:
        OnMouseWheel(window, wParam);
        return 0;
    case WM_COMMAND:
        OnCommand(window, LOWORD(wParam));
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}
