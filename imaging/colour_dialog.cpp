// "Color..." / "Change" of the image windows: the colour dialog sets the drawing colour and
// both text colours.
#include "imaging/colour_dialog.h"

#include <commdlg.h>

#include "core/colour_ref.h"
#include "imaging/drawing_state.h"
#include "imaging/text_state.h"

static_assert(sizeof(COLORREF) == sizeof CustomColours[0], "the custom colours are COLORREFs");

void ChangeDrawingColour(HWND owner)
{
    CHOOSECOLORW choice = {};
    // The structure's own size: a fixed 36 is its 32-bit size, which 64-bit dialogs refuse.
    choice.lStructSize = sizeof choice;
    choice.hwndOwner = owner;
    choice.rgbResult = ToColorRef(DrawingColour);
    choice.lpCustColors = CustomColours;  // kept between dialogs
    choice.Flags = CC_RGBINIT | CC_FULLOPEN;
    // Cancelled: nothing changes.  (Some dialogs leave the colour last shown in rgbResult even
    // then, so the result is taken only from a dialog that ended with OK.)
    if (!ChooseColorW(&choice))
        return;
    const int colour = FromColorRef(choice.rgbResult);
    DrawingColour = colour;
    krt_tttc = colour;
    krt_tc = colour;
}
