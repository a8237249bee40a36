// The interactive tools: a point, a row, a column, a line, a rectangle, a circle or a placed
// box picked with the mouse in one image window, with XOR rubber bands while the mouse moves.
// A tool dispatches the user-program thread's messages itself while it waits, so the image
// window procedure keeps running and feeds it through the tool feed.
#include <windows.h>

#include <cmath>
#include <initializer_list>

#include "core/control_flags.h"
#include "core/framework.h"
#include "image/image_table.h"
#include "imaging/tool_feed.h"
#include "krtlib.h"

namespace {

constexpr const char* kFirstPrompt = "Click the first point";
constexpr const char* kSecondPrompt = "Click the second point";
constexpr const char* kPointPrompt = "Click a point";

// How long a tool sleeps between looks at its feed when nothing arrived: it wakes at once for
// a message, and sees Stop within this time.
constexpr DWORD kIdleWaitMs = 10;

enum class Event { None, Stop, Click, Cancel, Move };

// The window a tool works in.  If it is closed (or its slot re-used) while the tool waits, the
// tool ends as cancelled without touching the pixels, which are no longer the ones it drew on.
HWND toolWindow = nullptr;

bool ToolWindowGone()
{
    return !ImageTable[ToolSlot].inUse || ImageTable[ToolSlot].window != toolWindow;
}

// a / b rounded down, or up, for any sign of a (b > 0).
long long FloorDiv(long long a, long long b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
long long CeilDiv(long long a, long long b) { return -FloorDiv(-a, b); }

// Invalidates (without erasing) the part of the tool's window that shows image pixels x0..x1,
// y0..y1 (corners in any order), so that the repaint redraws the band and no more: on a large
// zoomed image a whole-window repaint costs as much as a refresh, a band's strips next to
// nothing.  At other zooms than 100 the stretch maps pixel x onto client columns from about
// x * clientWidth / width; one more client pixel on each side covers its rounding.
void Touch(int x0, int y0, int x1, int y1)
{
    const ImageRecord& r = ImageTable[ToolSlot];
    const long long left = x0 < x1 ? x0 : x1, right = (x0 < x1 ? x1 : x0) + 1LL;
    const long long top = y0 < y1 ? y0 : y1, bottom = (y0 < y1 ? y1 : y0) + 1LL;
    long long l = left, t = top, rt = right, b = bottom;
    if (r.zoom != 100) {
        l = FloorDiv(left * r.clientWidth, r.width) - 1;
        rt = CeilDiv(right * r.clientWidth, r.width) + 1;
        t = FloorDiv(top * r.clientHeight, r.height) - 1;
        b = CeilDiv(bottom * r.clientHeight, r.height) + 1;
    }
    auto clamp = [](long long v, long long most) { return static_cast<LONG>(v < -1 ? -1 : v > most ? most : v); };
    const RECT area = {clamp(l, r.clientWidth + 1), clamp(t, r.clientHeight + 1), clamp(rt, r.clientWidth + 1),
                       clamp(b, r.clientHeight + 1)};
    if (area.left < area.right && area.top < area.bottom)
        InvalidateRect(toolWindow, &area, FALSE);
}

// A box outline's four sides.
void TouchOutline(int x0, int y0, int x1, int y1)
{
    Touch(x0, y0, x1, y0);
    Touch(x0, y1, x1, y1);
    Touch(x0, y0, x0, y1);
    Touch(x1, y0, x1, y1);
}

void Output(int* out, int value)
{
    if (out)
        *out = value;
}

// The common start: 0 when the tool runs, else the result it returns at once.  Without such an
// image (2) nothing changes, the outputs included.  While another tool waits (1) only the
// outputs are set: one tool at a time, since a second would take over the feed and, ending,
// leave the first without its window and its band in the image.
int BeginTool(int slot, const char* prompt, std::initializer_list<int*> outputs)
{
    if (slot < 0 || slot >= kImageSlots || !ImageTable[slot].inUse)
        return 2;
    for (int* out : outputs)
        Output(out, 0);
    if (ToolInProgress)
        return 1;
    SetStatusText(prompt);
    DragAcceptFiles(MainWindow, FALSE);
    KRT_SelectImage(slot);
    toolWindow = ImageTable[slot].window;
    ToolSlot = slot;
    ToolClick = {};
    stopRequested = 0;
    ToolInProgress = 1;
    return 0;
}

int EndTool(int result)
{
    ShowIdleStatus();
    ToolInProgress = 0;
    ToolSlot = -1;
    toolWindow = nullptr;
    // Dropping on the main window stays off while a program's run goes on (a program may run a
    // tool itself); between runs it is on.
    if (running == 0)
        DragAcceptFiles(MainWindow, TRUE);
    return result;
}

// Stop or Exit while a tool waits counts as a cancel: the band is removed and the tool returns
// 1, so that no command acts on a half-taken pick and no band is left burned into the image.
// A tool whose window was closed also ends as cancelled.

// One look at the feed after dispatching the thread's messages, in this order: Stop (or Exit),
// a click, a right click, a move (only for tools that follow the mouse).  Each event is cleared
// as it is taken.
Event NextEvent(bool followsMouse, ToolEvent& at)
{
    PumpUserMessages();
    if (stopRequested != 0 || exitState != 0)
        return Event::Stop;
    if (ToolClick.set) {
        at = ToolClick;
        ToolClick.set = 0;
        return Event::Click;
    }
    if (ToolCancel) {
        ToolCancel = 0;
        return Event::Cancel;
    }
    if (followsMouse && ToolMove.set) {
        at = ToolMove;
        ToolMove.set = 0;
        return Event::Move;
    }
    return Event::None;
}

// The next event; nothing is returned until one arrives.  Waits for messages rather than
// spinning, so a waiting tool costs no processor time.
Event WaitEvent(bool followsMouse, ToolEvent& at)
{
    for (;;) {
        if (ToolWindowGone())
            return Event::Stop;
        const Event event = NextEvent(followsMouse, at);
        if (event != Event::None)
            return event;
        MsgWaitForMultipleObjectsEx(0, nullptr, kIdleWaitMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}

// A rubber band: an XOR shape drawn in the tool's image.  Drawing it again with the same
// arguments removes it, so each change is a removal and a drawing.  `draw` also invalidates
// what it drew.  A band whose window went away is forgotten, not removed.
template <class Draw>
class Band {
public:
    explicit Band(Draw draw) : draw_(draw) {}
    template <class... Args>
    void Show(Args... args)
    {
        // Into the tool's own image, whatever a message dispatched meanwhile made current.
        const int current = CurrentImage;
        CurrentImage = ToolSlot;
        draw_(args...);
        CurrentImage = current;
    }

private:
    Draw draw_;
};

// The row or column tools: a full-width (or full-height) line follows the mouse.
int PickAcross(int slot, int* x, int* y, bool row)
{
    if (const int early = BeginTool(slot, kPointPrompt, {x, y}))
        return early;
    const ImageRecord& image = ImageTable[slot];
    auto draw = [&](int at) {
        if (row) {
            XorLine(0, at, image.width - 1, at);
            Touch(0, at, image.width - 1, at);
        } else {
            XorLine(at, 0, at, image.height - 1);
            Touch(at, 0, at, image.height - 1);
        }
    };
    Band<decltype(draw)> band(draw);
    // The line starts where the mouse was last seen, which may be stale until the first move.
    int at = row ? ToolMove.y : ToolMove.x;
    band.Show(at);
    for (;;) {
        ToolEvent event = {};
        switch (WaitEvent(true, event)) {
        case Event::Move:
            band.Show(at);
            at = row ? event.y : event.x;
            band.Show(at);
            break;
        case Event::Click:
            band.Show(at);
            Output(x, event.x);
            Output(y, event.y);
            return EndTool(0);
        default:  // a right click, Stop or Exit
            if (!ToolWindowGone())
                band.Show(at);
            return EndTool(1);
        }
    }
}

// The two-point tools: the first click anchors a band at A, moves stretch it to B, the second
// click ends.  A right click after the first point removes the band and asks for the first
// point again; before it, it cancels.  `draw(ax, ay, bx, by)` draws the band XOR.
template <class Draw>
int PickTwoPoints(int slot, std::initializer_list<int*> outputs, Draw draw, bool pumpAtEnd, int& ax, int& ay,
                  int& bx, int& by)
{
    if (const int early = BeginTool(slot, kFirstPrompt, outputs))
        return early;
    Band<Draw> band(draw);
    bool anchored = false;
    for (;;) {
        ToolEvent event = {};
        const Event what = WaitEvent(anchored, event);
        if (what == Event::Click && !anchored) {
            ax = bx = event.x;
            ay = by = event.y;
            band.Show(ax, ay, bx, by);
            SetStatusText(kSecondPrompt);
            anchored = true;
        } else if (what == Event::Move) {
            band.Show(ax, ay, bx, by);
            bx = event.x;
            by = event.y;
            band.Show(ax, ay, bx, by);
        } else if (what == Event::Click) {
            band.Show(ax, ay, bx, by);
            bx = event.x;
            by = event.y;
            return EndTool(0);
        } else if (what == Event::Cancel && anchored) {
            band.Show(ax, ay, bx, by);
            SetStatusText(kFirstPrompt);
            anchored = false;
        } else {  // a right click before the first point, Stop, Exit or the window gone
            if (anchored && !ToolWindowGone())
                band.Show(ax, ay, bx, by);
            return EndTool(1);
        }
        if (pumpAtEnd)
            PumpUserMessages();
    }
}

// The circle's radius through (bx, by): the distance rounded in double precision.
int RadiusTo(int cx, int cy, int bx, int by)
{
    const double dx = static_cast<double>(bx) - cx, dy = static_cast<double>(by) - cy;
    return static_cast<int>(std::sqrt(dx * dx + dy * dy) + 0.5);
}

}  // namespace

int PickPoint(int slot, int* x, int* y)
{
    if (const int early = BeginTool(slot, kPointPrompt, {x, y}))
        return early;
    ToolEvent event = {};
    if (WaitEvent(false, event) != Event::Click)
        return EndTool(1);
    Output(x, event.x);
    Output(y, event.y);
    return EndTool(0);
}

int PickRow(int slot, int* x, int* y) { return PickAcross(slot, x, y, true); }

int PickColumn(int slot, int* x, int* y) { return PickAcross(slot, x, y, false); }

int PickLine(int slot, int* x1, int* y1, int* x2, int* y2)
{
    int ax = 0, ay = 0, bx = 0, by = 0;
    const int result = PickTwoPoints(
        slot, {x1, y1, x2, y2},
        [](int a, int b, int c, int d) {
            XorLine(a, b, c, d);
            Touch(a, b, c, d);
        },
        false, ax, ay, bx, by);
    if (result == 0) {
        Output(x1, ax);
        Output(y1, ay);
        Output(x2, bx);
        Output(y2, by);
    }
    return result;
}

int PickRectangle(int slot, int* left, int* top, int* right, int* bottom)
{
    int ax = 0, ay = 0, bx = 0, by = 0;
    const int result = PickTwoPoints(
        slot, {left, top, right, bottom},
        [](int a, int b, int c, int d) {
            XorBox(a, b, c, d);
            TouchOutline(a, b, c, d);
        },
        false, ax, ay, bx, by);
    if (result == 0) {
        Output(left, ax < bx ? ax : bx);
        Output(right, ax < bx ? bx : ax);
        Output(top, ay < by ? ay : by);
        Output(bottom, ay < by ? by : ay);
    }
    return result;
}

int PickCircle(int slot, int* cx, int* cy, int* r)
{
    int ax = 0, ay = 0, bx = 0, by = 0;
    // The circle's loop also dispatches once at the end of each pass.
    const int result = PickTwoPoints(
        slot, {cx, cy, r},
        [](int a, int b, int c, int d) {
            const int radius = RadiusTo(a, b, c, d);
            XorCircle(a, b, radius);
            Touch(a - radius, b - radius, a + radius, b + radius);
        },
        true, ax, ay, bx, by);
    if (result == 0) {
        Output(cx, ax);
        Output(cy, ay);
        Output(r, RadiusTo(ax, ay, bx, by));
    }
    return result;
}

int PickPlacement(int slot, int w, int h, int* x, int* y)
{
    if (const int early = BeginTool(slot, kPointPrompt, {x, y}))
        return early;
    // A w x h box centred on the mouse, with both diagonals when it is at least 9 x 9.
    auto draw = [w, h](int mx, int my) {
        const int left = mx - w / 2, right = left + w - 1, top = my - h / 2, bottom = top + h - 1;
        XorBox(left, top, right, bottom);
        if (w >= 9 && h >= 9) {
            XorLine(left + 1, top + 1, right - 1, bottom - 1);
            XorLine(right - 1, top + 1, left + 1, bottom - 1);
            Touch(left, top, right, bottom);
        } else {
            TouchOutline(left, top, right, bottom);
        }
    };
    Band<decltype(draw)> band(draw);
    int mx = ToolMove.x, my = ToolMove.y;  // where the mouse was last seen
    band.Show(mx, my);
    for (;;) {
        ToolEvent event = {};
        switch (WaitEvent(true, event)) {
        case Event::Move:
            band.Show(mx, my);
            mx = event.x;
            my = event.y;
            band.Show(mx, my);
            break;
        case Event::Click:
            band.Show(mx, my);
            Output(x, event.x);
            Output(y, event.y);
            return EndTool(0);
        default:
            if (!ToolWindowGone())
                band.Show(mx, my);
            return EndTool(1);
        }
    }
}
