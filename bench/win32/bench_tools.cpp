// One move step of the rectangle tool on a 2048 x 2048 image at the zoom that fits the screen:
// a mouse move reaches the window, the tool removes its XOR band, draws the new one,
// invalidates, and the window repaints.  Beside it, the bare refresh of the same window
// (KRT_RefreshImage alone), a whole-window repaint and the band's XOR on their own.  Each figure is the median
// of several runs, tool and bare taking turns.
//
// A helper thread plays the user's hand: it posts one move to the window and waits until the
// window has painted once more before it posts the next, so each step is timed from its move
// to the end of its repaint.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <thread>
#include <vector>

#include "core/framework.h"
#include "image/image_table.h"
#include "imaging/tool_feed.h"
#include "krtlib.h"
#include "bench_timing.h"

namespace {

constexpr int kSide = 2048;
constexpr int kSteps = 40;  // moves in one run of the tool
constexpr int kRuns = 9;

// The window's paints are counted by a procedure wrapped around the library's.
std::atomic<int> paints{0};
HANDLE painted = nullptr;  // set after each paint
WNDPROC libraryProc = nullptr;

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = CallWindowProcW(libraryProc, window, message, wParam, lParam);
    if (message == WM_PAINT) {
        ++paints;
        SetEvent(painted);
    }
    return result;
}

// Blocks rather than spins: the hand must not take a processor from the thread it measures.
bool WaitForPaints(int count)
{
    while (paints.load() < count)
        if (WaitForSingleObject(painted, 5000) != WAIT_OBJECT_0)
            return false;
    return true;
}

// The hand: a first click, kSteps moves each waited for, right clicks to leave the tool.
// Returns the time of one step in milliseconds.
double MoveSteps(HWND window)
{
    while (ToolInProgress == 0)
        Sleep(1);
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 40));
    int seen = paints.load();
    WaitForPaints(seen + 1);  // the anchor pixel
    seen = paints.load();
    const double start = Milliseconds();
    for (int k = 0; k < kSteps; ++k) {
        const int x = 500 + (k % 2 ? 7 : -7) + k, y = 400 + k;
        PostMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
        if (!WaitForPaints(++seen)) {
            std::printf("no repaint after move %d\n", k);
            break;
        }
    }
    const double step = (Milliseconds() - start) / kSteps;
    // The first right click steps back (removing the band, so the window repaints), the second
    // cancels; the feed holds one right click at a time.
    PostMessageW(window, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(500, 400));
    WaitForPaints(seen + 1);
    PostMessageW(window, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(500, 400));
    return step;
}

void Row(const char* what, double ms, double bare)
{
    std::printf("%-52s %9.3f ms %7.2fx\n", what, ms, ms / bare);
    std::fflush(stdout);
}

}  // namespace

void UserProgramInit(void)
{
    painted = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    KRT_CreateImage(0, "big", 0, 0, kSide, kSide, 100);
    const ImageRecord& r = ImageTable[0];
    auto* pixels = reinterpret_cast<unsigned*>(PixelTable[0]);
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x)
            pixels[static_cast<size_t>(y) * kSide + x] = ((x / 8) & 0xFF) << 16 | ((y / 8) & 0xFF) << 8 | ((x ^ y) & 0xFF);
    libraryProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(r.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingProc)));
    UpdateWindow(r.window);

    // Each run times the bare refresh just before and just after the tool's steps, so that a
    // slow patch of the shared machine falls on both; the ratio is taken run by run.
    auto bareRefresh = [] { return TimePerCall([] { KRT_RefreshImage(0); }, kSteps); };
    std::vector<double> steps, refreshes, ratios, paintsAlone, xors;
    for (int run = 0; run < kRuns; ++run) {
        const double before = bareRefresh();
        double step = 0;
        std::thread hand([&] { step = MoveSteps(r.window); });
        int left, top, right, bottom;
        PickRectangle(0, &left, &top, &right, &bottom);
        hand.join();
        const double bare = (before + bareRefresh()) / 2;
        steps.push_back(step);
        refreshes.push_back(bare);
        ratios.push_back(step / bare);
        paintsAlone.push_back(TimePerCall(
            [&] {
                InvalidateRect(r.window, nullptr, FALSE);
                UpdateWindow(r.window);
            },
            kSteps));
        // The band's pair of XOR boxes, in image points, as at a mid-run step.
        const int scale = r.zoom;
        const int ax = 40 * 100 / scale, ay = 40 * 100 / scale, bx = 520 * 100 / scale, by = 420 * 100 / scale;
        xors.push_back(TimePerCall(
            [&] {
                XorBox(ax, ay, bx, by);
                XorBox(ax, ay, bx + 1, by + 1);
            },
            kSteps));
    }
    const double bare = Median(refreshes);
    std::printf("2048 x 2048 at zoom %d (client %d x %d), medians of %d runs   time   vs bare\n", r.zoom,
                r.clientWidth, r.clientHeight, kRuns);
    Row("bare refresh (KRT_RefreshImage)", bare, bare);
    Row("PickRectangle move step (move to end of repaint)", Median(steps), bare);
    Row("  whole-window invalidate + repaint", Median(paintsAlone), bare);
    Row("  XOR remove + XOR draw of the band", Median(xors), bare);
    std::printf("%-52s %20.2fx\n", "move step / bare refresh, run by run", Median(ratios));

    KRT_DestroyImage(0);
    CloseHandle(painted);
    PostMessageW(MainWindow, WM_COMMAND, 1002, 0);
}

void UserProgramMain(void)
{
}
