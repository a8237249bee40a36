#include "krtlib.h"

// The colour the menu drawing commands, boxes, discs and fills use; white at start.
static int drawingColour = 0xFFFFFF;

int KRT_GetDrawingColour(void) { return drawingColour; }
void KRT_SetDrawingColour(int colour) { drawingColour = colour; }
