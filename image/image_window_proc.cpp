#include "core/window_procedures.h"
#include "image/image_selection.h"
#include "krtlib.h"

namespace {

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
    case WM_PAINT:
        OnPaint(window);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}
