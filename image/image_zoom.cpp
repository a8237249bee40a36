#include "image/image_zoom.h"

#include <windows.h>

#include <initializer_list>

#include "core/framework.h"
#include "image/image_selection.h"
#include "image/image_table.h"
#include "image/image_window.h"
#include "krtlib.h"

int SetImageZoom(int zoom, int slot)
{
    if (!IsLiveImage(slot))
        return 1;
    ImageRecord& record = ImageTable[slot];
    // Free while it changes: the moves and paints the resize causes find no image here.
    record.inUse = 0;
    const ZoomFit fit = FitZoom(record.width, record.height, zoom, record.sizeLimitMode, ReadScreenMetrics());
    if (!fit.fits) {
        record.inUse = 1;
        return 2;
    }
    record.zoom = fit.zoom;
    // From the client size itself: an outer size carried over from before would also carry
    // any difference between the two.
    const SIZE frame = ImageFrameSize(fit.clientWidth, fit.clientHeight);
    SetWindowPos(record.window, nullptr, 0, 0, frame.cx, frame.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_SHOWWINDOW);
    record.clientWidth = fit.clientWidth;
    record.clientHeight = fit.clientHeight;
    record.inUse = 1;
    InvalidateRect(record.window, nullptr, FALSE);
    UpdateImageTitle(slot);
    RebuildSnapTable();
    return 0;
}

int SetImageStretchMode(int mode, int slot)
{
    if (!IsLiveImage(slot))
        return 1;
    const ImageRecord& record = ImageTable[slot];
    if (mode == COLORONCOLOR || mode == HALFTONE) {
        for (HDC dc : {record.windowDC, record.memoryDC}) {
            SetStretchBltMode(dc, mode);
            SetBrushOrgEx(dc, 0, 0, nullptr);  // HALFTONE needs its brush origin set again
        }
    }
    InvalidateRect(record.window, nullptr, FALSE);
    UpdateImageTitle(slot);
    return 0;
}

void ToggleStretchMode(int slot)
{
    SetImageStretchMode(GetImageStretchMode(slot) == COLORONCOLOR ? HALFTONE : COLORONCOLOR, slot);
}
