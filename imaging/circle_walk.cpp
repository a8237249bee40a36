#include "imaging/circle_walk.h"

#include <algorithm>
#include <cmath>

namespace {

// floor(sqrt(n)) for 0 <= n < 2^63.
std::int64_t SquareRootFloor(std::int64_t n)
{
    if (n <= 0)
        return 0;
    std::int64_t s = static_cast<std::int64_t>(std::sqrt(static_cast<double>(n)));
    while (s > 0 && s > n / s)
        --s;
    while ((s + 1) <= n / (s + 1))
        ++s;
    return s;
}

// The largest y >= 1 with y(y - 1) < t, for t >= 1: the y the walk holds at a step whose
// r^2 - i^2 is t.
std::int64_t RowOffsetFor(std::int64_t t)
{
    // y is sqrt(t) + 1/2 or close to it; start there and settle exactly.
    std::int64_t y = SquareRootFloor(t) + 1;
    while (y > 1 && y * (y - 1) >= t)
        --y;
    while ((y + 1) * y < t)
        ++y;
    return y;
}

}  // namespace

StepRange OffsetsInside(std::int64_t c, int size)
{
    const std::int64_t last = std::int64_t{size} - 1;
    if (size <= 0)
        return {1, 0};
    if (c < 0)
        return {-c, last - c};
    if (c > last)
        return {c - last, c};
    return {0, std::max(c, last - c)};
}

std::vector<StepRange> SortedDisjoint(std::vector<StepRange> ranges)
{
    ranges.erase(std::remove_if(ranges.begin(), ranges.end(),
                                [](const StepRange& r) { return r.first > r.last; }),
                 ranges.end());
    std::sort(ranges.begin(), ranges.end(),
              [](const StepRange& a, const StepRange& b) { return a.first < b.first; });
    std::vector<StepRange> merged;
    for (const StepRange& r : ranges) {
        if (!merged.empty() && r.first - 1 <= merged.back().last)
            merged.back().last = std::max(merged.back().last, r.last);
        else
            merged.push_back(r);
    }
    return merged;
}

CircleWalk::CircleWalk(std::int64_t r) : r_(r), limit_(5 * r / 7), safeEnd_(0)
{
    // The closed form holds at step i + 1 whenever it holds at step i and i < y - 1 there;
    // that test turns false once and stays false, so its first failure is found by halving.
    std::int64_t lo = 0, hi = r;  // the first step where the test fails lies in [lo, hi]
    while (lo < hi) {
        const std::int64_t mid = lo + (hi - lo) / 2;
        if (mid < RowOffsetFor(r * r - mid * mid) - 1)
            lo = mid + 1;
        else
            hi = mid;
    }
    safeEnd_ = lo;
}

CircleStep CircleWalk::At(std::int64_t i) const
{
    if (i == 0)
        return {0, r_, r_};
    const std::int64_t t = r_ * r_ - i * i;
    const std::int64_t y = RowOffsetFor(t);
    return {i, y, t - y * (y - 1)};
}

CircleStep CircleWalk::Last() const
{
    const std::int64_t jumpEnd = std::min(safeEnd_, limit_);
    CircleStep s = At(jumpEnd);
    for (CircleStep next = s; Next(next);)
        s = next;
    return s;
}

StepRange CircleWalk::StepsWithY(std::int64_t lo, std::int64_t hi) const
{
    lo = std::max<std::int64_t>(lo, 1);
    hi = std::min(hi, r_);
    if (lo > hi)
        return {1, 0};
    // Before SafeEnd y is the largest value with y(y - 1) < r^2 - i^2, so
    // y <= hi  <=>  r^2 - i^2 <= hi(hi + 1)   and   y >= lo  <=>  r^2 - i^2 > lo(lo - 1).
    const std::int64_t below = r_ * r_ - hi * (hi + 1);
    std::int64_t first = SquareRootFloor(std::max<std::int64_t>(below, 0));
    if (first * first < below)
        ++first;
    const std::int64_t above = r_ * r_ - lo * (lo - 1);
    if (above <= 0)
        return {1, 0};
    return {first, SquareRootFloor(above - 1)};
}
