// Edge snapping while a window is dragged with Ctrl held: the table of rectangles snapped to
// and the snapping rule, free of the window system.
#pragma once

constexpr int kSnapCapacity = 260;
constexpr int kSnapDistance = 8;        // snaps when the distance is below this (7 or less)
constexpr int kSnapBandThickness = 1000;

struct SnapRect {
    int left, top, right, bottom;
};

struct SnapTableFields {
    int left[kSnapCapacity];
    int top[kSnapCapacity];
    int right[kSnapCapacity];
    int bottom[kSnapCapacity];
    int count;
};

extern SnapTableFields SnapTable;

// Starts a rebuild: count = 0, then the four bands just outside the work area whose width is
// screenWidth and whose bottom is workBottom (left, top, right, bottom bands, in that order).
void BeginSnapTable(SnapTableFields& table, int screenWidth, int workBottom);

// Appends one outer window rectangle; a full table takes no more.
void AddSnapRect(SnapTableFields& table, const SnapRect& rect);

// The snapping rule.  `proposed` is shifted in place (size kept); `current` is the moving
// window's present rectangle, which is never snapped to.  Nothing happens unless ctrlDown.
void SnapProposedRect(const SnapTableFields& table, SnapRect& proposed, const SnapRect& current,
                      bool ctrlDown);
