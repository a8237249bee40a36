// Coalesced screen copies of the consoles.  A copy straight from the back buffer onto the
// window's own DC costs a small block transfer; invalidating the window per print instead cost a
// whole paint cycle per line, which made printing forty times slower than the drawing itself.
#include "text/console_repaint.h"

#include <windows.h>

#include <algorithm>

#include "core/framework.h"
#include "krtlib.h"
#include "text/repaint_pacing.h"

namespace {

struct ConsoleScreen {
    RepaintPacing pacing;
    int inkBottom = 0;
    bool timerArmed = false;
};

ConsoleScreen Screens[kTextWindowSlots];

int SlotOf(const TextWindowRecord& record) { return static_cast<int>(&record - TextWindowTable); }

ConsoleScreen& ScreenOf(const TextWindowRecord& record) { return Screens[SlotOf(record)]; }

void CopyToScreen(const TextWindowRecord& record, ConsoleScreen& screen, unsigned now)
{
    const RowBand rows = TakeChangedRows(screen.pacing, record.height, now);
    if (rows.bottom > rows.top)
        BitBlt(record.windowDC, 0, rows.top, record.width, rows.bottom - rows.top, record.memoryDC, 0, rows.top,
               SRCCOPY);
}

// The timer runs on the window's thread, which dispatches it from every wait: prints, the frame
// wait, line input and the idle loop.
void ArmTimer(const TextWindowRecord& record, ConsoleScreen& screen, unsigned now)
{
    SetTimer(record.window, kConsoleRepaintTimer, MillisecondsUntilDue(screen.pacing, now), nullptr);
    screen.timerArmed = true;
}

void DisarmTimer(const TextWindowRecord& record, ConsoleScreen& screen)
{
    KillTimer(record.window, kConsoleRepaintTimer);
    screen.timerArmed = false;
}

}  // namespace

void ResetConsoleScreen(int slot)
{
    Screens[slot] = ConsoleScreen{};
}

void MarkConsoleRows(const TextWindowRecord& record, int top, int bottom)
{
    RepaintPacing& pacing = ScreenOf(record).pacing;
    // The clock is read only for the first change after a copy: the one the frame counts from.
    MarkRowsChanged(pacing, top, bottom, HasChanges(pacing) ? pacing.changedAt : MillisecondClock());
}

void MarkConsoleWhole(const TextWindowRecord& record)
{
    MarkConsoleRows(record, 0, record.height);
}

int ConsoleInkBottom(const TextWindowRecord& record) { return ScreenOf(record).inkBottom; }

void SetConsoleInkBottom(const TextWindowRecord& record, int bottom)
{
    ScreenOf(record).inkBottom = std::min(std::max(bottom, 0), record.height);
}

bool ConsoleHasChanges(const TextWindowRecord& record) { return HasChanges(ScreenOf(record).pacing); }

bool PresentConsole(const TextWindowRecord& record, bool quietBefore, unsigned now)
{
    ConsoleScreen& screen = ScreenOf(record);
    if (!HasChanges(screen.pacing))
        return false;
    if (GetCurrentThreadId() != userThreadId) {
        // The main window's prompts print from the GUI thread: its timers and DCs belong to the
        // other thread, which paints the rows when it next dispatches.
        const RowBand rows = TakeChangedRows(screen.pacing, record.height, now);
        const RECT area = {0, rows.top, record.width, rows.bottom};
        InvalidateRect(record.window, &area, FALSE);
        return false;
    }
    if (PaintNowAfterPrint(screen.pacing, quietBefore, now)) {
        CopyToScreen(record, screen, now);
        return true;
    }
    if (!screen.timerArmed)
        ArmTimer(record, screen, now);
    return false;
}

void OnConsoleRepaintTimer(int slot)
{
    if (!IsOpenTextWindow(slot))
        return;
    const TextWindowRecord& record = TextWindowTable[slot];
    ConsoleScreen& screen = Screens[slot];
    const unsigned now = MillisecondClock();
    if (ChangesAreDue(screen.pacing, now) || (HasChanges(screen.pacing) && FrameHasPassed(screen.pacing, now)))
        CopyToScreen(record, screen, now);
    if (HasChanges(screen.pacing))
        ArmTimer(record, screen, now);  // went off early: again for the rest of the frame
    else
        DisarmTimer(record, screen);
}

void PresentConsolesForFrame()
{
    if (GetCurrentThreadId() != userThreadId)
        return;
    const unsigned now = MillisecondClock();
    for (int slot = 0; slot < kTextWindowSlots; ++slot) {
        ConsoleScreen& screen = Screens[slot];
        if (TextWindowTable[slot].inUse && HasChanges(screen.pacing) && FrameHasPassed(screen.pacing, now))
            CopyToScreen(TextWindowTable[slot], screen, now);
    }
}

int ConsoleScreenCopies(int slot)
{
    return slot >= 0 && slot < kTextWindowSlots ? Screens[slot].pacing.screenCopies : 0;
}

void CountConsolePaint(int slot)
{
    if (slot >= 0 && slot < kTextWindowSlots)
        ++Screens[slot].pacing.screenCopies;
}
