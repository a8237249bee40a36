// Typed characters on their way from a text window's procedure to the running line input,
// and the last line entered.  The ring holds 256 units; it has one writer (the window
// procedure) and one reader (the line input, which may run on the other thread).
#pragma once
#include <atomic>

constexpr int kInputRingSize = 256;
constexpr int kLineUnits = 256;  // a line: 255 units and a terminator

// The read and write positions are kept as running counts of units taken and stored: each
// count has a single writer, so neither thread can undo the other's step.  The read index is
// taken % 256, or -1 while the ring is empty; the write index is stored % 256.
struct InputRingFields {
    unsigned short units[kInputRingSize];
    std::atomic<unsigned> taken{0};
    std::atomic<unsigned> stored{0};
};

extern InputRingFields InputRing;
extern unsigned short LastLine[kLineUnits];  // always terminated

// Line-input request set by a text window's keys: 0 none, 1 recall LastLine, 2 paste.
enum LineInputRequest { NoLineRequest = 0, RecallLastLine = 1, PasteClipboard = 2 };
extern std::atomic<int> lineInputRequest;

int RingReadIndex(const InputRingFields& ring);
int RingWriteIndex(const InputRingFields& ring);
bool RingFull(const InputRingFields& ring);
// Stores a unit unless the ring is full; returns whether it was stored.
bool RingPut(InputRingFields& ring, unsigned short unit);
// The next unit, or 0 when the ring is empty.
unsigned short RingTake(InputRingFields& ring);
void ResetInputRing(InputRingFields& ring);
