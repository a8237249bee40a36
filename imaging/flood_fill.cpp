// The seed fill: a scanline fill of the 4-connected region around a point.  Each span is
// found by moving left from a seed and walking right; on the way one seed is recorded per
// run of matching pixels in the row above and in the row below (above first), and the span
// is filled afterwards.  Seeds are taken last in, first out.
//
// Pending seeds are kept in a fixed store on the stack while they fit, which covers ordinary
// regions without allocating; a ragged region (a maze, a dither pattern) can need far more,
// and then the store continues on the heap, so that no part of the region is left unfilled.
#include <cstdint>
#include <vector>

#include "krtlib.h"
#include "imaging/drawing_state.h"
#include "imaging/raster.h"

namespace {

struct Seed {
    int x;
    int y;
};

class SeedStack {
public:
    void Push(int x, int y)
    {
        if (count_ < kFixedSeeds)
            fixed_[count_++] = {x, y};
        else
            overflow_.push_back({x, y});
    }
    bool Pop(Seed& seed)
    {
        if (!overflow_.empty()) {
            seed = overflow_.back();
            overflow_.pop_back();
            return true;
        }
        if (count_ == 0)
            return false;
        seed = fixed_[--count_];
        return true;
    }

private:
    static constexpr int kFixedSeeds = 4000;
    Seed fixed_[kFixedSeeds];
    int count_ = 0;
    std::vector<Seed> overflow_;
};

// One neighbouring row's seed rule: a seed at the first pixel of every run of target pixels.
template <class P>
struct NeighbourRow {
    const P* pixels;  // null when the row lies outside the image
    int y;
    bool armed;

    void Check(int x, P target, SeedStack& seeds)
    {
        if (!pixels)
            return;
        if (pixels[x] != target) {
            armed = true;
        } else if (armed) {
            seeds.Push(x, y);
            armed = false;
        }
    }
};

template <class P>
PenPositionFields FillRegion(const PixelView& view, Seed seed, P target, P fill)
{
    SeedStack seeds;
    PenPositionFields pen = {0, 0};
    for (;;) {
        const int y = seed.y;
        P* row = PixelRow<P>(view, y);
        int left = seed.x;
        while (left > 0 && row[left - 1] == target)
            --left;
        NeighbourRow<P> above = {y > 0 ? PixelRow<P>(view, y - 1) : nullptr, y - 1, true};
        NeighbourRow<P> below = {y + 1 < view.height ? PixelRow<P>(view, y + 1) : nullptr, y + 1, true};
        int x = left;
        for (; x < view.width && row[x] == target; ++x) {
            above.Check(x, target, seeds);
            below.Check(x, target, seeds);
        }
        PixelWriter<P>{fill}.span(row + left, x - left);
        pen = {x - 1, y};
        // The next seed that no span has filled since it was recorded.
        do {
            if (!seeds.Pop(seed))
                return pen;
        } while (PixelRow<P>(view, seed.y)[seed.x] != target);
    }
}

}  // namespace

void FloodFill(int x, int y)
{
    const PixelView view = CurrentPixelView();
    if (view.empty() || !view.contains(x, y))
        return;
    const std::uint32_t fill = StoredValue(view, DrawingColour);
    if (view.depth == 8) {
        const std::uint8_t target = view.row(y)[x];
        if (target != fill)
            PenPosition = FillRegion<std::uint8_t>(view, {x, y}, target, static_cast<std::uint8_t>(fill));
    } else {
        const std::uint32_t target = PixelRow<std::uint32_t>(view, y)[x];
        if (target != fill)
            PenPosition = FillRegion<std::uint32_t>(view, {x, y}, target, fill);
    }
}
