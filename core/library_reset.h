// The library's tables as a freshly started process has them: no image, text window or box in
// use, the current image and its history at 0, the drawing colour, pen and custom colours as
// at start, and the per-process values that start-up clears.
#pragma once

void ResetLibraryTables();
