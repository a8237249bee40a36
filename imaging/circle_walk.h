// The integer walk that draws circles and discs.  Step i (from 0) holds the column offset i,
// the row offset y and the decision value d; y starts at r, d at r, and after each step
// d -= 2i + 1 and, when that leaves d <= 0, d += 2y - 2 and y -= 1.  The walk ends after the
// step where i reaches (5r) / 7 or passes y.
//
// A circle can be far larger than the image; then only a few stretches of steps touch it.
// The walk jumps to those stretches: up to SafeEnd the state at step i has a closed form,
// d = r^2 - i^2 - y(y - 1) with y the largest value that keeps d positive, so a step can be
// reached without walking to it.  Past SafeEnd (the last two or three steps) the walk runs
// step by step as defined.
#pragma once
#include <cstdint>
#include <limits>
#include <vector>

struct CircleStep {
    std::int64_t i;
    std::int64_t y;
    std::int64_t d;
    // Whether this step lowers y (d - (2i + 1) <= 0).
    bool lowers() const { return d - (2 * i + 1) <= 0; }
};

// Moves s on to the next step; false when s was the last step of the walk.
inline bool AdvanceCircleStep(CircleStep& s, std::int64_t limit)
{
    s.d -= 2 * s.i + 1;
    if (s.d <= 0) {
        s.d += 2 * s.y - 2;
        s.y -= 1;
    }
    s.i += 1;
    return s.i <= limit && s.i <= s.y;
}

// Calls visit(step) for every step of the walk of radius r >= 0, in order; returns the last.
template <class Visitor>
CircleStep WalkCircle(std::int64_t r, Visitor visit)
{
    const std::int64_t limit = 5 * r / 7;
    CircleStep s = {0, r, r};
    for (;;) {
        visit(s);
        CircleStep next = s;
        if (!AdvanceCircleStep(next, limit))
            return s;
        s = next;
    }
}

// A range of steps, both ends included.
struct StepRange {
    std::int64_t first;
    std::int64_t last;
};

// The walk with jumps, for circles whose walk is long beside the image.
class CircleWalk {
public:
    explicit CircleWalk(std::int64_t r);  // r >= 0

    std::int64_t limit() const { return limit_; }
    bool Next(CircleStep& s) const { return AdvanceCircleStep(s, limit_); }
    // The last step of the walk.
    CircleStep Last() const;

    // The steps whose y lies in [lo, hi] (a superset before SafeEnd: none is missed).
    StepRange StepsWithY(std::int64_t lo, std::int64_t hi) const;

    // Calls visit(step) for every step of the walk that lies in one of `ranges`, in walk order,
    // each once, and for every step from SafeEnd on (ranges found with StepsWithY need not be
    // right there).
    template <class Visitor>
    void Visit(std::vector<StepRange> ranges, Visitor visit) const;

private:
    CircleStep At(std::int64_t i) const;  // closed form, for i <= safeEnd_
    std::int64_t r_;
    std::int64_t limit_;
    std::int64_t safeEnd_;  // steps before it (and it) are reachable in closed form
};

// The offsets t >= 0 for which c + t or c - t lies in [0, size): empty when first > last.
StepRange OffsetsInside(std::int64_t c, int size);

// The ranges sorted by their first step, overlapping ones merged, empty ones dropped.
std::vector<StepRange> SortedDisjoint(std::vector<StepRange> ranges);

template <class Visitor>
void CircleWalk::Visit(std::vector<StepRange> ranges, Visitor visit) const
{
    // Jumps reach only steps up to where the closed form ends; from there on every step is
    // walked.
    const std::int64_t tail = safeEnd_ < limit_ ? safeEnd_ : limit_;
    ranges.push_back({tail, std::numeric_limits<std::int64_t>::max()});
    std::int64_t next = 0;  // first step not yet visited
    for (StepRange range : SortedDisjoint(ranges)) {
        if (range.first < next)
            range.first = next;
        if (range.first > range.last || range.first > limit_)
            continue;
        CircleStep s = At(range.first < tail ? range.first : tail);
        for (;;) {
            if (s.i >= range.first)
                visit(s);
            next = s.i + 1;
            if (s.i >= range.last || !Next(s))
                break;
        }
    }
}
