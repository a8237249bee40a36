// The TrueType font of text drawn into images (trueTypeFont): made from a LOGFONTW, replaced
// whole when its style, size or face changes, and never left as a deleted handle.
#pragma once
#include <windows.h>

// What start-up asks for: the face "ＭＳ ゴシック" at the current cell size (cellHeight high,
// cellWidth wide), default weight, upright, plain, any character set, TrueType only.
LOGFONTW StartupLogFont();

// The description of trueTypeFont; the start-up one while there is no font (its creation
// failed), so that a change of style or size makes one again.
LOGFONTW CurrentLogFont();

// trueTypeFont := a font made from `font`, the old one deleted.  When the window system cannot
// make it, trueTypeFont is null and text uses the image's default font.  True when made.
bool ReplaceTrueTypeFont(const LOGFONTW& font);

// Start-up and exit: the start-up font made, and whichever font there is deleted.
bool CreateStartupTrueTypeFont();
void DeleteTrueTypeFont();
