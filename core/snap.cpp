#include "core/snap.h"
#include <cstdlib>

SnapTableFields SnapTable{};

void BeginSnapTable(SnapTableFields& table, int screenWidth, int workBottom)
{
    table.count = 0;
    const int w = screenWidth, b = workBottom, t = kSnapBandThickness;
    AddSnapRect(table, {-t, 0, 0, b});     // left of the screen
    AddSnapRect(table, {0, -t, w, 0});     // above it
    AddSnapRect(table, {w, 0, w + t, b});  // right of it
    AddSnapRect(table, {0, b, w, b + t});  // below the work area
}

void AddSnapRect(SnapTableFields& table, const SnapRect& rect)
{
    if (table.count < 0 || table.count >= kSnapCapacity)
        return;
    const int i = table.count++;
    table.left[i] = rect.left;
    table.top[i] = rect.top;
    table.right[i] = rect.right;
    table.bottom[i] = rect.bottom;
}

namespace {

bool Near(int distance) { return std::abs(distance) < kSnapDistance; }

// Takes the first of the two distances that is near; false when neither is.
bool PickShift(int first, int second, int& shift)
{
    if (Near(first)) { shift = first; return true; }
    if (Near(second)) { shift = second; return true; }
    return false;
}

}  // namespace

void SnapProposedRect(const SnapTableFields& table, SnapRect& proposed, const SnapRect& current,
                      bool ctrlDown)
{
    if (!ctrlDown)
        return;
    // Distances are measured from the rectangle as it arrived; shifts move it in place.
    const int L = proposed.left, T = proposed.top, R = proposed.right, Bt = proposed.bottom;
    bool snappedX = false, snappedY = false;
    auto shiftX = [&](int d) { proposed.left += d; proposed.right += d; snappedX = true; };
    auto shiftY = [&](int d) { proposed.top += d; proposed.bottom += d; snappedY = true; };
    const int count = table.count < kSnapCapacity ? table.count : kSnapCapacity;
    for (int i = 0; i < count; ++i) {
        const int el = table.left[i], et = table.top[i], er = table.right[i], eb = table.bottom[i];
        if (el == current.left && et == current.top && er == current.right && eb == current.bottom)
            continue;  // the moving window itself
        const bool vOverlap = et <= Bt && eb >= T;  // touching counts as overlap
        const bool hOverlap = el <= R && er >= L;
        // The aligning steps follow a snap on the other axis, so they test the overlap where
        // the window now stands: a window snapped beside another from a gap touches it.
        auto hOverlapNow = [&] { return el <= proposed.right && er >= proposed.left; };
        auto vOverlapNow = [&] { return et <= proposed.bottom && eb >= proposed.top; };
        int d = 0;
        if (!snappedX && vOverlap && PickShift(er - L, el - R, d))  // side by side
            shiftX(d);
        if (!snappedY && snappedX && hOverlapNow() && PickShift(et - T, eb - Bt, d))  // tops or bottoms
            shiftY(d);
        if (!snappedY && hOverlap && PickShift(eb - T, et - Bt, d))  // stacked
            shiftY(d);
        if (!snappedX && snappedY && vOverlapNow() && PickShift(el - L, er - R, d))  // lefts or rights
            shiftX(d);
        if (snappedX && snappedY)
            break;
    }
}
