// The colour dialog of the image windows' "Color..." / "Change" command.
#pragma once
#include <windows.h>

// Opens the colour dialog owned by `owner`, starting at the drawing colour with the full
// dialog and the custom colours of the last time; the colour chosen becomes the drawing colour
// and both text colours (krt_tc, krt_tttc).  Cancelling changes nothing.
void ChangeDrawingColour(HWND owner);
