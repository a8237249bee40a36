#include "core/window_placement.h"

namespace {

bool EitherDefault(const WindowPlacement& p) { return p.defaultX || p.defaultY; }

// value moved into [low, high], low winning when the range is empty (a window larger than the
// work area keeps its top-left corner on it).
int Within(int value, int low, int high)
{
    if (value > high)
        value = high;
    return value < low ? low : value;
}

}  // namespace

int CreationX(const WindowPlacement& placement) { return EitherDefault(placement) ? CW_USEDEFAULT : placement.x; }

int CreationY(const WindowPlacement& placement) { return EitherDefault(placement) ? CW_USEDEFAULT : placement.y; }

void FinishPlacement(HWND window, const WindowPlacement& placement)
{
    if (!window || placement.defaultX == placement.defaultY)
        return;  // every coordinate given, or every one the system's
    RECT outer, work;
    GetWindowRect(window, &outer);
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0))
        SetRect(&work, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    const int x = placement.defaultX ? Within(outer.left, work.left, work.right - (outer.right - outer.left))
                                     : placement.x;
    const int y = placement.defaultY ? Within(outer.top, work.top, work.bottom - (outer.bottom - outer.top))
                                     : placement.y;
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
