// Printing throughput: 10,000 prints of a 40-character line into a 400 x 300 text window,
// the cost of an empty print, and beside them the bare protocol every print follows (one
// TextOutW into the back buffer, one whole-window invalidation, one message dispatch).
#include <windows.h>

#include <cstdio>

#include "core/framework.h"
#include "krtlib.h"
#include "text/text_window_table.h"

namespace {

constexpr int kPrints = 10000;

double Seconds()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void Report(const char* what, double seconds, int count)
{
    std::printf("%-44s %8.1f per second  %8.1f us each\n", what, count / seconds, seconds / count * 1e6);
    std::fflush(stdout);
}

}  // namespace

void UserProgramInit(void)
{
    KRT_OpenTextWindow(0, 0, 0, 400, 300);
    const char* line = "0123456789abcdefghijklmnopqrstuvwxyzABCD\n";  // 40 characters and a newline

    double t = Seconds();
    for (int i = 0; i < kPrints; ++i)
        KRT_Print("%s", line);
    Report("KRT_Print of a 40-character line", Seconds() - t, kPrints);

    t = Seconds();
    for (int i = 0; i < kPrints; ++i)
        KRT_Print("");
    Report("KRT_Print of an empty string", Seconds() - t, kPrints);

    // The bare protocol, on the same window and back buffer.
    TextWindowRecord& r = TextWindowTable[0];
    const wchar_t* wide = L"0123456789abcdefghijklmnopqrstuvwxyzABCD";
    t = Seconds();
    for (int i = 0; i < kPrints; ++i) {
        TextOutW(r.memoryDC, 0, (i % 20) * r.cellHeight, wide, 40);
        InvalidateRect(r.window, nullptr, FALSE);
        PumpUserMessages();
    }
    Report("bare TextOutW + invalidate + dispatch", Seconds() - t, kPrints);
    PostMessageW(MainWindow, WM_COMMAND, 1002, 0);
}

void UserProgramMain(void)
{
}
