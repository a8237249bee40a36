#include "text/repaint_pacing.h"

#include <algorithm>

void MarkRowsChanged(RepaintPacing& p, int top, int bottom, unsigned now)
{
    if (bottom <= top)
        return;
    if (!HasChanges(p)) {
        p.changed = {top, bottom};
        p.changedAt = now;
        return;
    }
    p.changed.top = std::min(p.changed.top, top);
    p.changed.bottom = std::max(p.changed.bottom, bottom);
}

// Unsigned differences: correct across the clock's 32-bit wrap.
bool FrameHasPassed(const RepaintPacing& p, unsigned now)
{
    return !p.painted || now - p.paintedAt >= kFrameMilliseconds;
}

bool ChangesAreDue(const RepaintPacing& p, unsigned now)
{
    return HasChanges(p) && now - p.changedAt >= kFrameMilliseconds;
}

bool PaintNowAfterPrint(const RepaintPacing& p, bool quietBefore, unsigned now)
{
    if (!HasChanges(p))
        return false;
    return (quietBefore && FrameHasPassed(p, now)) || ChangesAreDue(p, now);
}

unsigned MillisecondsUntilDue(const RepaintPacing& p, unsigned now)
{
    const unsigned waited = now - p.changedAt;
    return waited >= kFrameMilliseconds ? 1 : kFrameMilliseconds - waited;
}

RowBand TakeChangedRows(RepaintPacing& p, int height, unsigned now)
{
    const RowBand band = {std::max(p.changed.top, 0), std::min(p.changed.bottom, height)};
    p.changed = {0, 0};
    p.paintedAt = now;
    p.painted = true;
    ++p.screenCopies;
    return band;
}
