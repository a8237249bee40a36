// Printing throughput: 20,000 prints of a 40-character line into a 400 x 300 text window, with
// the screen copies they cost and the time until the window shows the last line once printing
// stops; beside them the bare TextOutW of the same lines into the same back buffer (the
// reference of the ratio), and that TextOutW with a whole-buffer scroll blit per line (what
// each line cost to scroll before the back buffer had spare rows).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "core/framework.h"
#include "core/gdi_handles.h"
#include "krtlib.h"
#include "text/console_repaint.h"
#include "text/text_window_table.h"
#include "bench_timing.h"

namespace {

constexpr int kRounds = 5;
constexpr int kPrintsPerRound = 4000;  // 20,000 prints in all
constexpr const char* kLine = "0123456789abcdefghijklmnopqrstuvwxyzABCD\n";  // 40 characters and a newline
constexpr const wchar_t* kWide = L"0123456789abcdefghijklmnopqrstuvwxyzABCD";

// Screen copies of the console: every copy it makes by itself and every WM_PAINT, which it
// counts too.
int ScreenCopies() { return ConsoleScreenCopies(0); }

std::vector<unsigned> Pixels(HDC source, int width, int height)
{
    void* bits = nullptr;
    HBITMAP dib = CreateTopDownDib32(nullptr, width, height, &bits);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, dib);
    BitBlt(dc, 0, 0, width, height, source, 0, 0, SRCCOPY);
    GdiFlush();
    const unsigned* words = static_cast<const unsigned*>(bits);
    std::vector<unsigned> pixels(words, words + static_cast<size_t>(width) * height);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(dib);
    return pixels;
}

void Row(const char* what, double secondsEach, const char* unit)
{
    std::printf("%-46s %9.0f %s  %7.1f us each\n", what, 1 / secondsEach, unit, secondsEach * 1e6);
    std::fflush(stdout);
}

}  // namespace

void UserProgramInit(void)
{
    KRT_OpenTextWindow(0, 0, 0, 400, 300);
    TextWindowRecord& r = TextWindowTable[0];

    // Rounds of the prints and of the bare TextOutW in turn, so that a busy moment of the
    // machine falls on both; the medians of the rounds are reported.
    std::vector<double> printRounds, bareRounds, scrollRounds;
    int copies = 0;
    double printSeconds = 0;
    double shownAfter = -1;
    for (int round = 0; round < kRounds; ++round) {
        const int copiesBefore = ScreenCopies();
        double t = Seconds();
        for (int i = 0; i < kPrintsPerRound; ++i)
            KRT_Print("%s", kLine);
        const double seconds = Seconds() - t;
        printRounds.push_back(seconds / kPrintsPerRound);
        printSeconds += seconds;
        copies += ScreenCopies() - copiesBefore;

        // The program stops printing and only dispatches, as the idle loop does: how long until
        // the window shows what the back buffer holds.
        t = Seconds();
        while (Seconds() - t < 2.0) {
            if (Pixels(r.windowDC, r.width, r.height) == Pixels(r.memoryDC, r.width, r.height)) {
                shownAfter = std::max(shownAfter, Seconds() - t);
                break;
            }
            Sleep(1);
            PumpUserMessages();
        }

        t = Seconds();
        for (int i = 0; i < kPrintsPerRound; ++i)
            TextOutW(r.memoryDC, 0, (i % 24) * r.cellHeight, kWide, 40);
        GdiFlush();
        bareRounds.push_back((Seconds() - t) / kPrintsPerRound);

        t = Seconds();
        for (int i = 0; i < kPrintsPerRound; ++i) {
            TextOutW(r.memoryDC, 0, 23 * r.cellHeight, kWide, 40);
            BitBlt(r.memoryDC, 0, 0, r.width, 23 * r.cellHeight, r.memoryDC, 0, r.cellHeight, SRCCOPY);
            PatBlt(r.memoryDC, 0, 23 * r.cellHeight, r.width, r.height - 23 * r.cellHeight, PATCOPY);
        }
        GdiFlush();
        scrollRounds.push_back((Seconds() - t) / kPrintsPerRound);
    }
    // Shows the comparison's own cost: the floor under the time above.
    double t = Seconds();
    (void)(Pixels(r.windowDC, r.width, r.height) == Pixels(r.memoryDC, r.width, r.height));
    const double compareSeconds = Seconds() - t;

    const double print = Median(printRounds), bare = Median(bareRounds);
    Row("KRT_Print of a 40-character line", print, "lines/s");
    std::printf("%-46s %9.1f per second (%d in %.2f s of rounds of 4,000 prints)\n",
                "  screen copies while printing", copies / printSeconds,
                copies, printSeconds);
    std::printf("%-46s %9.1f ms (one comparison takes %.1f ms)\n", "  the window shows the last line within",
                shownAfter * 1e3, compareSeconds * 1e3);

    t = Seconds();
    for (int i = 0; i < kPrintsPerRound; ++i)
        KRT_Print("");
    Row("KRT_Print of an empty string", (Seconds() - t) / kPrintsPerRound, "prints/s");
    Row("bare TextOutW of the same lines", bare, "lines/s");
    Row("bare TextOutW and a full scroll blit per line", Median(scrollRounds), "lines/s");
    std::printf("%-46s %9.2fx\n", "KRT_Print against the bare TextOutW", print / bare);
    std::fflush(stdout);
    PostMessageW(MainWindow, WM_COMMAND, 1002, 0);
}

void UserProgramMain(void)
{
}
