#include "imaging/drawing_state.h"

#include "imaging/text_state.h"
#include "krtlib.h"

int DrawingColour = 0xFFFFFF;
PenPositionFields PenPosition = {0, 0};
unsigned long CustomColours[kCustomColourCount] = {};

int KRT_GetDrawingColour(void) { return DrawingColour; }

void KRT_SetDrawingColour(int colour) { DrawingColour = colour; }

void ResetDrawingState()
{
    DrawingColour = 0xFFFFFF;
    PenPosition = {0, 0};
    for (unsigned long& colour : CustomColours)
        colour = 0;
    ResetTextState();
}
