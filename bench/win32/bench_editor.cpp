// The editor's frame: DrawChain with 2 and 32 points over a 640 x 480, a 2048 x 2048 and a
// 4096 x 4096 image 0, beside the bare copy of the same pixels and the same block transfer
// to the window, in alternating rounds.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "app/chain_model.h"
#include "app/chain_view.h"
#include "core/framework.h"
#include "image/image_table.h"
#include "krtlib.h"
#include "bench_timing.h"

namespace {

constexpr int kRounds = 41;
constexpr double kRoundMs = 25;

void Measure(int size_w, int size_h, int points, bool freeLimits = false)
{
    KRT_CreateImage(0, "background", 900, 600, size_w, size_h, 100);
    for (int y = 0; y < size_h; ++y)
        for (int x = 0; x < size_w; ++x)
            KRT_SetPixel(x, y, (x * 7 + y * 3) & 0xFFFFFF);
    // The editor opens image 1 fitted to the screen; with free limits it stays at 100 %.
    (freeLimits ? KRT_CreateImageFL : KRT_CreateImage)(1, "tavimora", 216, 0, size_w, size_h, 100);
    ChainState chain = {};
    chain.points[0] = {size_w / 8, size_h * 5 / 8, 40};
    chain.pointCount = 2;
    chain.editMode = 1;
    ResampleChain(chain, points, {size_w * 7 / 8, size_h / 8, 40});

    // The bare work: the same copy and the same transfer to the window.
    const ImageRecord& target = ImageTable[1];
    const size_t bytes = static_cast<size_t>(size_w) * size_h * 4;
    auto bare = [&] {
        std::memcpy(PixelTable[1], PixelTable[0], bytes);
        if (target.zoom == 100)
            BitBlt(target.windowDC, 0, 0, size_w, size_h, target.memoryDC, 0, 0, SRCCOPY);
        else
            StretchBlt(target.windowDC, 0, 0, target.clientWidth, target.clientHeight, target.memoryDC, 0, 0,
                       size_w, size_h, SRCCOPY);
        GdiFlush();
    };
    // One frame of each first, so that neither pays for the first touch of the pixels; then
    // short rounds of each in turn, so that a busy moment of the machine falls on both alike.
    // The ratio is the median of the ratios of neighbouring rounds: a noisy machine moves the
    // times of a whole run by a third, but rarely one round against its neighbour.
    DrawChain(chain);
    bare();
    double t = Milliseconds();
    DrawChain(chain);
    const int frames = std::max(3, static_cast<int>(kRoundMs / std::max(Milliseconds() - t, 0.01)));
    std::vector<double> drawRounds, bareRounds, ratios;
    for (int round = 0; round < kRounds; ++round) {
        t = Milliseconds();
        for (int i = 0; i < frames; ++i)
            DrawChain(chain);
        GdiFlush();
        drawRounds.push_back((Milliseconds() - t) / frames);
        t = Milliseconds();
        for (int i = 0; i < frames; ++i)
            bare();
        bareRounds.push_back((Milliseconds() - t) / frames);
        ratios.push_back(drawRounds.back() / bareRounds.back());
    }
    const double drawMs = Median(drawRounds);
    const double bareMs = Median(bareRounds);
    std::printf("%4d x %-4d at %3d%%, %2d points: DrawChain %7.2f ms a frame, bare copy and blit %7.2f ms (%.2fx)\n",
                size_w, size_h, target.zoom, points, drawMs, bareMs, Median(ratios));
    std::fflush(stdout);
    KRT_DestroyImage(1);
    KRT_DestroyImage(0);
}

}  // namespace

void UserProgramInit(void)
{
    KRT_OpenTextWindow(0, 0, 218, 152, 469);
    // The chain the editor starts with, and the longest it allows.
    Measure(640, 480, 2);
    Measure(640, 480, 32);
    Measure(2048, 2048, 32);
    Measure(2048, 2048, 32, true);
    Measure(4096, 4096, 32);
    PostMessageW(MainWindow, WM_COMMAND, 1002, 0);
}

void UserProgramMain(void)
{
}
