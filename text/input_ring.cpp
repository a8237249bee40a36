#include "text/input_ring.h"

InputRingFields InputRing;
unsigned short LastLine[kLineUnits] = {};
std::atomic<int> lineInputRequest{NoLineRequest};

int RingReadIndex(const InputRingFields& ring)
{
    const unsigned taken = ring.taken.load();
    return taken == ring.stored.load() ? -1 : static_cast<int>(taken % kInputRingSize);
}

int RingWriteIndex(const InputRingFields& ring)
{
    return static_cast<int>(ring.stored.load() % kInputRingSize);
}

bool RingFull(const InputRingFields& ring)
{
    return ring.stored.load() - ring.taken.load() >= static_cast<unsigned>(kInputRingSize);
}

bool RingPut(InputRingFields& ring, unsigned short unit)
{
    if (RingFull(ring))
        return false;
    const unsigned stored = ring.stored.load();
    ring.units[stored % kInputRingSize] = unit;
    ring.stored.store(stored + 1);  // published only once the unit is in place
    return true;
}

unsigned short RingTake(InputRingFields& ring)
{
    const unsigned taken = ring.taken.load();
    if (taken == ring.stored.load())
        return 0;
    const unsigned short unit = ring.units[taken % kInputRingSize];
    ring.taken.store(taken + 1);
    return unit;
}

void ResetInputRing(InputRingFields& ring)
{
    ring.taken = 0;
    ring.stored = 0;
}
