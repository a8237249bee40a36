// The consoles' screen-copy pacing, run the way the text windows run it (prints, clears and a
// periodic window timer that a dispatching program serves every millisecond) over random
// schedules: copies stay a frame apart, no change waits longer than a frame, and a print after a
// quiet spell shows at once.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "text/repaint_pacing.h"

namespace {

// One console: the pacing, the window timer (periodic, as SetTimer's are) and what was shown.
struct Console {
    RepaintPacing pacing;
    bool timerArmed = false;
    unsigned timerInterval = 0, timerNext = 0;
    std::vector<unsigned> copies;
    std::vector<unsigned> waiting;  // when each change not yet copied was made
    unsigned longestWait = 0;
    int lateQuietPrints = 0;  // prints after a quiet spell that were not shown at once

    void Copy(unsigned now)
    {
        TakeChangedRows(pacing, 480, now);
        copies.push_back(now);
        for (unsigned made : waiting)
            longestWait = std::max(longestWait, now - made);
        waiting.clear();
    }
    void Arm(unsigned now)
    {
        timerArmed = true;
        timerInterval = MillisecondsUntilDue(pacing, now);
        timerNext = now + timerInterval;
    }
    // A print, or a clear (which never shows by itself: quietBefore is false for it).
    void Change(unsigned now, int line, bool isPrint)
    {
        const bool quietBefore = !HasChanges(pacing);
        const bool quietSpell = quietBefore && FrameHasPassed(pacing, now);
        MarkRowsChanged(pacing, line * 12, line * 12 + 12, HasChanges(pacing) ? pacing.changedAt : now);
        waiting.push_back(now);
        if (PaintNowAfterPrint(pacing, isPrint && quietBefore, now))
            Copy(now);
        else if (!timerArmed)
            Arm(now);
        if (isPrint && quietSpell && (copies.empty() || copies.back() != now))
            ++lateQuietPrints;
    }
    void Timer(unsigned now)
    {
        if (!timerArmed || static_cast<int>(now - timerNext) < 0)  // across the wrap too
            return;
        timerNext += timerInterval;
        if (ChangesAreDue(pacing, now) || (HasChanges(pacing) && FrameHasPassed(pacing, now)))
            Copy(now);
        if (HasChanges(pacing))
            Arm(now);
        else
            timerArmed = false;
    }
};

TEST(RepaintPacing, RandomSchedulesCopyAtMostOncePerFrameAndNeverLaterThanAFrame)
{
    std::mt19937 random(15);
    for (int schedule = 0; schedule < 300; ++schedule) {
        Console console;
        const unsigned start = schedule % 3 == 0 ? 0xFFFFFF00u : 1000u;  // some cross the clock's wrap
        unsigned now = start;
        for (int step = 0; step < 400; ++step) {
            // Bursts of prints in one millisecond, single prints, clears, and pauses of every length.
            const int kind = static_cast<int>(random() % 10);
            const int count = kind < 4 ? static_cast<int>(random() % 40) : 1;
            for (int i = 0; i < count; ++i)
                console.Change(now, static_cast<int>(random() % 40), kind != 9);
            const unsigned pause = kind < 6 ? 0 : random() % 60;
            for (unsigned t = 0; t <= pause; ++t)
                console.Timer(now + t);
            now += pause + 1;
        }
        for (unsigned t = 0; t < 40; ++t)  // printing stops; the program keeps dispatching
            console.Timer(now + t);

        ASSERT_TRUE(console.waiting.empty()) << "schedule " << schedule << ": changes never shown";
        EXPECT_LE(console.longestWait, kFrameMilliseconds) << "schedule " << schedule;
        for (size_t i = 1; i < console.copies.size(); ++i)
            ASSERT_GE(console.copies[i] - console.copies[i - 1], kFrameMilliseconds)
                << "schedule " << schedule << ", copy " << i;
        EXPECT_EQ(console.lateQuietPrints, 0) << "schedule " << schedule;
    }
}

TEST(RepaintPacing, AFloodIsCopiedOncePerFrameAndAFramesClearWaitsForItsPrints)
{
    // 20 prints a millisecond for one second.
    Console flood;
    for (unsigned t = 0; t < 1000; ++t) {
        flood.Timer(t);
        for (int i = 0; i < 20; ++i)
            flood.Change(t, 23, true);
    }
    EXPECT_GE(flood.copies.size(), 1000 / kFrameMilliseconds - 1);
    EXPECT_LE(flood.copies.size(), 1000 / kFrameMilliseconds + 1);

    // An editor's frame: a clear and two prints in the same millisecond, a frame after the last
    // copy.  The clear alone shows nothing; the prints that follow it wait with it.
    Console frame;
    frame.Change(0, 0, true);  // a print after a quiet spell: shown at once
    ASSERT_EQ(frame.copies, std::vector<unsigned>{0});
    frame.Change(40, 0, false);
    frame.Change(40, 0, true);
    frame.Change(40, 1, true);
    EXPECT_EQ(frame.copies.size(), 1u);
    EXPECT_TRUE(FrameHasPassed(frame.pacing, 40));  // so the frame wait may copy all three at once
}

TEST(RepaintPacing, ChangedRowsAreJoinedAndClippedToTheWindow)
{
    RepaintPacing p;
    EXPECT_FALSE(HasChanges(p));
    MarkRowsChanged(p, 24, 36, 5);
    MarkRowsChanged(p, 5, 5, 6);  // an empty band changes nothing
    MarkRowsChanged(p, 12, 24, 7);
    EXPECT_EQ(p.changedAt, 5u);  // the oldest change counts
    EXPECT_EQ(MillisecondsUntilDue(p, 9), kFrameMilliseconds - 4);
    EXPECT_EQ(MillisecondsUntilDue(p, 40), 1u);
    RowBand band = TakeChangedRows(p, 30, 9);
    EXPECT_EQ(band.top, 12);
    EXPECT_EQ(band.bottom, 30);
    EXPECT_FALSE(HasChanges(p));
    EXPECT_EQ(p.screenCopies, 1);
    EXPECT_FALSE(FrameHasPassed(p, 9 + kFrameMilliseconds - 1));
    EXPECT_TRUE(FrameHasPassed(p, 9 + kFrameMilliseconds));
}

}  // namespace
