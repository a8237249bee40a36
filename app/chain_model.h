// The point chain of the editor: up to 32 control points with radii, edited by buttons and
// the mouse.  Free of the window system.
#pragma once

constexpr int kMaxChainPoints = 32;
constexpr int kMinChainPoints = 2;
constexpr int kGrabDistance = 10;  // a press strictly closer than this on both axes grabs a point

struct ChainPoint {
    int x;
    int y;
    int radius;
};

struct ChainState {
    ChainPoint points[kMaxChainPoints];
    int pointCount;
    int savedCount;     // the point count remembered while the edit view is off
    int selectedPoint;  // drawn in yellow; the target of the nudge buttons
    int editMode;       // 1: intermediate points shown
    int moveMode;       // 1: a drag moves the whole chain
};

// The chain a run starts with: (100, 300) and (500, 100), radius 40; selection and modes kept.
void StartChain(ChainState& chain);

// pointCount = n; the points between points[0] and `last` are spaced evenly on the straight
// line, radii included (integer division after the multiplication); points[n - 1] = last.
void ResampleChain(ChainState& chain, int n, ChainPoint last);

// Button 6: edit view on (rebuild savedCount points between the ends) or off (keep the ends).
void ToggleEditView(ChainState& chain);
// Buttons 8 and 9, in the edit view: one point fewer or more, at least 2 and at most 32.
void RemoveChainPoint(ChainState& chain);
void AddChainPoint(ChainState& chain);
// Buttons 0 to 5: radius -1/+1, x -1/+1, y -1/+1 of the selected point.
void NudgeSelectedPoint(ChainState& chain, int button);

// Whether a press at (mx, my) grabs point p.
bool GrabsPoint(const ChainPoint& p, int mx, int my);

// The integer part, toward zero, of v + 0.5 (so -2.7 gives -2).
int Rnd(double v);

// The band outline: the ends of the end circles' diameters across the chain's direction.
struct ChainBand {
    int q1x, q1y, q2x, q2y;  // about the first point
    int r1x, r1y, r2x, r2y;  // about the last point
};
ChainBand BandOf(const ChainPoint& first, const ChainPoint& last);
