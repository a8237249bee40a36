// Drawing the editor's chain into image 1 and its status lines into the current console.
#pragma once
#include "chain_model.h"

// Image 1 gets a fresh copy of image 0, then the chord, the band outline, a white cross per
// point and its circle (yellow for the selected point); it is refreshed, and the console shows
// the selected point's index and radius.
void DrawChain(const ChainState& chain);
