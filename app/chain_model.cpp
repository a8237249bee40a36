#include "chain_model.h"

#include <cmath>

void StartChain(ChainState& chain)
{
    chain.pointCount = 2;
    chain.savedCount = 2;
    chain.points[0] = {100, 300, 40};
    chain.points[1] = {500, 100, 40};
}

void ResampleChain(ChainState& chain, int n, ChainPoint last)
{
    const ChainPoint first = chain.points[0];
    chain.pointCount = n;
    for (int i = 1; i <= n - 2; ++i) {
        chain.points[i].x = first.x + (last.x - first.x) * i / (n - 1);
        chain.points[i].y = first.y + (last.y - first.y) * i / (n - 1);
        chain.points[i].radius = first.radius + (last.radius - first.radius) * i / (n - 1);
    }
    chain.points[n - 1] = last;
}

void ToggleEditView(ChainState& chain)
{
    if (!chain.editMode) {
        chain.editMode = 1;
        ResampleChain(chain, chain.savedCount, chain.points[chain.pointCount - 1]);
    } else {
        chain.editMode = 0;
        chain.savedCount = chain.pointCount;
        chain.points[1] = chain.points[chain.pointCount - 1];
        chain.pointCount = 2;
    }
}

void RemoveChainPoint(ChainState& chain)
{
    if (!chain.editMode)
        return;
    const int n = chain.pointCount - 1;
    if (n < kMinChainPoints) {
        chain.pointCount = kMinChainPoints;
        return;
    }
    ResampleChain(chain, n, chain.points[chain.pointCount - 1]);
}

void AddChainPoint(ChainState& chain)
{
    if (!chain.editMode)
        return;
    const int n = chain.pointCount + 1;
    if (n > kMaxChainPoints)
        return;
    ResampleChain(chain, n, chain.points[chain.pointCount - 1]);
}

void NudgeSelectedPoint(ChainState& chain, int button)
{
    ChainPoint& p = chain.points[chain.selectedPoint];
    switch (button) {
    case 0: --p.radius; break;
    case 1: ++p.radius; break;
    case 2: --p.x; break;
    case 3: ++p.x; break;
    case 4: --p.y; break;
    case 5: ++p.y; break;
    default: break;
    }
}

bool GrabsPoint(const ChainPoint& p, int mx, int my)
{
    return mx > p.x - kGrabDistance && mx < p.x + kGrabDistance && my > p.y - kGrabDistance &&
           my < p.y + kGrabDistance;
}

int Rnd(double v)
{
    return static_cast<int>(v + 0.5);  // conversion truncates toward zero
}

ChainBand BandOf(const ChainPoint& first, const ChainPoint& last)
{
    const double theta = std::atan2(last.y - first.y, last.x - first.x);
    const double a = theta + 1.5707963267948966, b = theta - 1.5707963267948966;
    const double r0 = first.radius, r1 = last.radius;
    return {first.x + Rnd(r0 * std::cos(a)), first.y + Rnd(r0 * std::sin(a)),
            first.x + Rnd(r0 * std::cos(b)), first.y + Rnd(r0 * std::sin(b)),
            last.x + Rnd(r1 * std::cos(a)),  last.y + Rnd(r1 * std::sin(a)),
            last.x + Rnd(r1 * std::cos(b)),  last.y + Rnd(r1 * std::sin(b))};
}
