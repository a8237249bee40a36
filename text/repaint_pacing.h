// When a console's screen copy is brought up to date with its back buffer: at most once per
// display frame, never later than one frame after the change it shows, and only over the rows
// that changed.  Free of the window system; times are MillisecondClock readings.
#pragma once

constexpr unsigned kFrameMilliseconds = 16;

struct RowBand {
    int top;
    int bottom;  // exclusive; empty when bottom <= top
};

struct RepaintPacing {
    RowBand changed{0, 0};   // rows drawn since the last screen copy
    unsigned changedAt = 0;  // when the oldest of them was drawn
    unsigned paintedAt = 0;  // when the screen copy was last brought up to date
    bool painted = false;    // whether it ever was: the first copy waits for no frame
    int screenCopies = 0;    // copies made so far, for the benchmarks and the tests
};

inline bool HasChanges(const RepaintPacing& p) { return p.changed.bottom > p.changed.top; }

// Rows [top, bottom) were drawn at `now`.
void MarkRowsChanged(RepaintPacing& p, int top, int bottom, unsigned now);

// Whether a frame has passed since the last screen copy (or there has been none).
bool FrameHasPassed(const RepaintPacing& p, unsigned now);

// Whether the oldest waiting change has waited a whole frame: it must be shown now.
bool ChangesAreDue(const RepaintPacing& p, unsigned now);

// After a print's (or a typed character's) drawing: whether to copy the changes to the screen at
// once.  `quietBefore` says nothing was waiting before this print.  A print after a quiet spell
// shows at once; in a burst the copy waits until its oldest change is a frame old, so a frame's
// clear and prints reach the screen together and a flood is shown once per frame.
bool PaintNowAfterPrint(const RepaintPacing& p, bool quietBefore, unsigned now);

// Milliseconds until the waiting changes are due, at least 1.
unsigned MillisecondsUntilDue(const RepaintPacing& p, unsigned now);

// The waiting rows, clipped to [0, height), for a screen copy made at `now`; nothing waits after it.
RowBand TakeChangedRows(RepaintPacing& p, int height, unsigned now);
