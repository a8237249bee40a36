// The posting operations of the request mailbox, called on the GUI thread by the main
// window's commands.  Each fills the fields of its request and waits until it is done.
#include "core/framework.h"
#include "core/mailbox.h"
#include "text/text_window_table.h"

int PostCreateImage(int slot, const char* name, int width, int height, int bitDepth)
{
    RequestArgs args;
    args.slot = slot;
    args.name = name;
    args.x = args.y = -1;
    args.width = width;
    args.height = height;
    args.zoom = 100;
    args.bitDepth = bitDepth;
    return PostRequest(RequestCreateImage, args) ? RequestMailbox.result.load() : kRequestNotServed;
}

void PostRefreshImage(int slot, bool restorePrevious)
{
    RequestArgs args;
    args.slot = slot;
    args.restorePrevious = restorePrevious;
    PostRequest(RequestRefreshImage, args);
}

int PostLoadImage(int slot, const char* path)
{
    RequestArgs args;
    args.slot = slot;
    args.path = path;
    return PostRequest(RequestLoadImage, args) ? RequestMailbox.result.load() : kRequestNotServed;
}

void PostPasteBitmap(HBITMAP bitmap)
{
    RequestArgs args;
    args.bitmap = bitmap;
    // The bitmap belongs to the request; one that cannot be served is not left behind.
    if (!PostRequest(RequestPasteBitmap, args))
        DeleteObject(bitmap);
}

void PostOpenTextWindow(int slot)
{
    if (IsOpenTextWindow(slot)) {
        SetForegroundWindow(TextWindowTable[slot].window);  // already open: only bring it forward
        return;
    }
    RequestArgs args;
    args.slot = slot;
    args.x = args.y = args.width = args.height = -1;
    PostRequest(RequestOpenTextWindow, args);
}

void PostOpenInputBox(int count)
{
    RequestArgs args;
    args.slot = count;
    PostRequest(RequestOpenInputBox, args);
}

void PostOpenButtonBox(int columns, int rows)
{
    RequestArgs args;
    args.width = columns;
    args.height = rows;
    PostRequest(RequestOpenButtonBox, args);
}
