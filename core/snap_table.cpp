// Filling the snapping table from the library's windows, and snapping a dragged window.
#include "boxes/box_state.h"
#include "core/framework.h"
#include "core/snap.h"
#include "image/image_table.h"
#include "text/text_window_table.h"

namespace {

void AddWindow(HWND window)
{
    RECT r;
    if (window && GetWindowRect(window, &r))
        AddSnapRect(SnapTable, {r.left, r.top, r.right, r.bottom});
}

}  // namespace

void RebuildSnapTable()
{
    BeginSnapTable(SnapTable, GetSystemMetrics(SM_CXFULLSCREEN),
                   GetSystemMetrics(SM_CYFULLSCREEN) + GetSystemMetrics(SM_CYCAPTION));
    for (const ImageRecord& record : ImageTable)
        if (record.inUse)
            AddWindow(record.window);
    for (const TextWindowRecord& record : TextWindowTable)
        if (record.inUse)
            AddWindow(record.window);
    AddWindow(InputBox.box);
    AddWindow(ButtonBox.box);
    AddWindow(MainWindow);
}

void SnapMovingRect(RECT* proposed, HWND window)
{
    if (!proposed)
        return;
    RECT present = {};
    GetWindowRect(window, &present);
    SnapRect rect = {proposed->left, proposed->top, proposed->right, proposed->bottom};
    SnapProposedRect(SnapTable, rect, {present.left, present.top, present.right, present.bottom},
                     CtrlHeld());
    *proposed = {rect.left, rect.top, rect.right, rect.bottom};
}
