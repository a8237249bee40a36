// A console that keeps up with a printing program: thousands of prints leave exactly the lines,
// colours and log bytes a reference gives, while the caller's messages are served and the window
// is copied at most once per display frame; the window catches up within a frame once printing
// stops, repaints only the lines a print changed, and shows a program's frame when it waits for
// the next one.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <vector>

#include "core/process_state.h"
#include "text/console_repaint.h"
#include "text/repaint_pacing.h"
#include "image_test_support.h"
#include "text_test_support.h"

namespace {

constexpr int kPrints = 10000;
constexpr int kMidway = 5003;
constexpr int kPushedBack = 0x203080, kPushedText = 0xFFE040;

std::string LineText(int k)
{
    char text[64];
    std::snprintf(text, sizeof text, "%05d the console keeps up", k);
    return text;
}
bool Pushed(int k) { return k % 7 == 3; }

// Rows of text a window of this height shows: those whose cell ends above its bottom edge.
int LinesInUse(const TextWindowRecord& r) { return (r.height - 1) / r.cellHeight; }

// One line of a console as TextOutW draws it: its text, background and text colour.
struct ReferenceRow {
    std::string text;
    int back, fore;
};

// The rows drawn top down with plain GDI calls into a bitmap of the screen's format, black
// elsewhere.
Snapshot DrawReference(const TextWindowRecord& r, const std::vector<ReferenceRow>& rows)
{
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, r.width, r.height);
    ReleaseDC(nullptr, screen);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(OEM_FIXED_FONT));
    PatBlt(dc, 0, 0, r.width, r.height, BLACKNESS);
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const ReferenceRow& line = rows[row];
        SetBkColor(dc, RGB(line.back >> 16, (line.back >> 8) & 0xFF, line.back & 0xFF));
        SetTextColor(dc, RGB(line.fore >> 16, (line.fore >> 8) & 0xFF, line.fore & 0xFF));
        const std::wstring wide(line.text.begin(), line.text.end());
        TextOutW(dc, 0, static_cast<int>(row) * r.cellHeight, wide.c_str(), static_cast<int>(wide.size()));
    }
    Snapshot shot = TakeSnapshot(dc, r.width, r.height);
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return shot;
}

// What the console must hold after `printed` lines, each ending in a line feed: the last lines
// that fit above the cursor's empty line, in their colours.
Snapshot ReferenceConsole(const TextWindowRecord& r, int printed)
{
    const int shown = std::min(printed, LinesInUse(r) - 1);
    std::vector<ReferenceRow> rows;
    for (int k = printed - shown; k < printed; ++k)
        rows.push_back({LineText(k), Pushed(k) ? kPushedBack : 0x000000, Pushed(k) ? kPushedText : 0xFFFFFF});
    return DrawReference(r, rows);
}

// The same pixels; otherwise the first difference, with both pictures written beside the
// test's report as results/NAME.actual.bmp and results/NAME.expected.bmp.
::testing::AssertionResult SamePicture(const Snapshot& actual, const Snapshot& expected, const char* name)
{
    if (actual.pixels == expected.pixels)
        return ::testing::AssertionSuccess();
    for (const auto& [shot, kind] : {std::pair{&actual, L".actual.bmp"}, std::pair{&expected, L".expected.bmp"}}) {
        const std::string narrow(name);
        WriteBmp24(L"results/" + std::wstring(narrow.begin(), narrow.end()) + kind, shot->width, shot->height,
                   [shot](int x, int y) { return shot->at(x, y); });
    }
    for (int y = 0; y < actual.height; ++y)
        for (int x = 0; x < actual.width; ++x)
            if (actual.at(x, y) != expected.at(x, y))
                return ::testing::AssertionFailure() << name << ": first difference at (" << x << ", " << y
                                                     << "): " << std::hex << actual.at(x, y) << " instead of "
                                                     << expected.at(x, y);
    return ::testing::AssertionFailure() << name << ": sizes differ";
}

// Rows [top, bottom) of two pictures are the same; with `colour`, the rows are all that colour.
bool RowsEqual(const Snapshot& a, const Snapshot& b, int top, int bottom)
{
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < a.width; ++x)
            if (a.at(x, y) != b.at(x, y))
                return false;
    return true;
}
bool RowsAre(const Snapshot& shot, int top, int bottom, unsigned colour)
{
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < shot.width; ++x)
            if (shot.at(x, y) != colour)
                return false;
    return true;
}

using ConsoleRepaint = FrameworkTest;

TEST_F(ConsoleRepaint, TenThousandPrintsLeaveTheReferenceLinesAndLogServeMessagesAndCopyOncePerFrame)
{
    ASSERT_EQ(OpenTextWindowOnUserThread(0, 60, 60, 400, 300), 0);
    const TextWindowRecord& r = TextRecord(0);
    std::remove(LogPath(0).c_str());
    RunOnUserThread([] { KRT_StartLog(0); });

    std::atomic<int> printed{0}, servedAt{-1}, done{0};
    std::atomic<bool> servedWhileLooping{false};
    Snapshot midway;
    unsigned elapsed = 0;
    int copies = 0;
    PostToUserThread([&] {
        const int copiesBefore = ConsoleScreenCopies(0);
        const unsigned start = MillisecondClock();
        for (int k = 0; k < kPrints; ++k) {
            if (Pushed(k))
                KRT_PushTextColor(kPushedBack, kPushedText);
            KRT_Print("%s\n", LineText(k).c_str());
            if (Pushed(k))
                KRT_PopTextColor();
            printed = k + 1;
            if (k + 1 == kMidway)  // every print is in the back buffer at once
                midway = TakeSnapshot(r.memoryDC, r.width, r.height);
        }
        elapsed = MillisecondClock() - start;
        copies = ConsoleScreenCopies(0) - copiesBefore;
        done = 1;
    });
    // Posted behind the loop, so only a print inside it can serve it.
    PostToUserThread([&] {
        servedAt = printed.load();
        servedWhileLooping = done == 0;
    });
    ASSERT_TRUE(PumpUntil([&] { return done == 1; }, 300000));

    EXPECT_TRUE(servedWhileLooping);
    EXPECT_LT(servedAt, kPrints);
    EXPECT_TRUE(SamePicture(midway, ReferenceConsole(r, kMidway), "console_midway"));
    EXPECT_TRUE(SamePicture(BackBuffer(0), ReferenceConsole(r, kPrints), "console_after_loop"));
    // At most one copy to the window per display frame (the first at once).
    EXPECT_LE(copies, static_cast<int>(elapsed / kFrameMilliseconds) + 2)
        << copies << " copies in " << elapsed << " ms";
    // Printing stopped: the window catches up.
    EXPECT_TRUE(ScreenCatchesUp(0));

    RunOnUserThread([] { KRT_CloseLog(0); });
    std::string expected;
    for (int k = 0; k < kPrints; ++k)
        expected += LineText(k) + "\r\n";
    EXPECT_TRUE(FileBytes(LogPath(0)) == expected) << "the log differs";
    std::remove(LogPath(0).c_str());
}

// Every printable character in three colour pairs, printed in lines of 40, looks exactly as
// TextOutW draws the same lines: printable text is copied from cached glyph cells.
TEST_F(ConsoleRepaint, EveryPrintableCharacterInEveryColourPairLooksAsTextOutWDrawsIt)
{
    ASSERT_EQ(OpenTextWindowOnUserThread(0, 60, 60, 400, 300), 0);
    const TextWindowRecord& r = TextRecord(0);
    const int pairs[][2] = {{0x000000, 0xFFFFFF}, {0x203080, 0xFFE040}, {0xFFFFFF, 0x000000}};
    std::string all;
    for (char c = 0x20; c <= 0x7E; ++c)
        all += c;
    std::vector<ReferenceRow> rows;
    for (const auto& pair : pairs)
        for (std::size_t at = 0; at < all.size(); at += 40)
            rows.push_back({all.substr(at, 40), pair[0], pair[1]});
    RunOnUserThread([&] {
        for (const ReferenceRow& row : rows) {
            KRT_PushTextColor(row.back, row.fore);
            KRT_Print("%s\n", row.text.c_str());
            KRT_PopTextColor();
        }
    });

    const Snapshot expected = DrawReference(r, rows);
    EXPECT_TRUE(SamePicture(BackBuffer(0), expected, "every_printable_character"));
}

TEST_F(ConsoleRepaint, APrintRepaintsOnlyItsLinesAndAScrollRepaintsTheWindow)
{
    ASSERT_EQ(OpenTextWindowOnUserThread(0, 60, 60, 240, 120), 0);
    const TextWindowRecord& r = TextRecord(0);
    PrintOnUserThread("first\nsecond\n");
    ASSERT_TRUE(ScreenCatchesUp(0));

    // The window's copy is painted white behind the console's back; a print on the third line
    // must bring back that line and leave the rest as it is.
    auto whiten = [&] {
        RunOnUserThread([&] {
            PatBlt(r.windowDC, 0, 0, r.width, r.height, WHITENESS);
            ValidateRect(r.window, nullptr);
        });
    };
    whiten();
    PrintOnUserThread("third");
    const int top = 2 * r.cellHeight, bottom = 3 * r.cellHeight;
    ASSERT_TRUE(PumpUntil([&] { return RowsEqual(ScreenCopy(0), BackBuffer(0), top, bottom); }));
    const Snapshot screen = ScreenCopy(0);
    EXPECT_TRUE(RowsAre(screen, 0, top, 0xFFFFFF));
    EXPECT_TRUE(RowsAre(screen, bottom, r.height, 0xFFFFFF));

    // Lines enough to scroll: every row has moved, so the whole window is copied.
    whiten();
    PrintOnUserThread("\n4\n5\n6\n7\n8\n9\n10\n");
    EXPECT_TRUE(ScreenCatchesUp(0));
    EXPECT_EQ(r.cursorY, (LinesInUse(r) - 1) * r.cellHeight);
}

TEST_F(ConsoleRepaint, WaitNextFrameShowsTheFramesClearAndPrints)
{
    ASSERT_EQ(OpenTextWindowOnUserThread(0, 60, 60, 152, 200), 0);
    const TextWindowRecord& r = TextRecord(0);
    for (int frame = 0; frame < 4; ++frame) {
        bool shown = false;
        int copies = 0;
        RunOnUserThread([&] {
            const int before = ConsoleScreenCopies(0);
            KRT_ClearTextWindow();
            KRT_Print("pos: %d\n", frame);
            KRT_Print("r: %d\n", 40 + frame);
            WaitNextFrame();
            copies = ConsoleScreenCopies(0) - before;
            // Read at once, before anything else is dispatched.
            shown = TakeSnapshot(r.windowDC, r.width, r.height).pixels ==
                    TakeSnapshot(r.memoryDC, r.width, r.height).pixels;
        });
        EXPECT_TRUE(shown) << "frame " << frame;
        EXPECT_LE(copies, 2) << "frame " << frame;
    }
}

}  // namespace
