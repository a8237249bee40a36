// The "Information..." commands of an image window: "Pixel", the row profiles and the
// colour-difference plots.
#pragma once

// Carries out command `id` for the window of `slot` if it is one of these; false otherwise.
bool RunInspectionCommand(int slot, int id);
