#include "imaging/font_dialog.h"

#include <commdlg.h>

#include "imaging/truetype_font.h"

namespace {

// CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS | CF_SCRIPTSONLY: the screen's fonts,
// starting at the LOGFONTW given, with underline, strike-out and colour shown, scripts only.
constexpr DWORD kFontDialogFlags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS | CF_SCRIPTSONLY;
static_assert(kFontDialogFlags == 0x541, "the font dialog's flags");

}  // namespace

void ChangeTrueTypeFont(HWND owner)
{
    LOGFONTW font = CurrentLogFont();
    CHOOSEFONTW choice = {};
    choice.lStructSize = sizeof choice;
    choice.hwndOwner = owner;
    choice.lpLogFont = &font;
    choice.Flags = kFontDialogFlags;
    choice.nFontType = SCREEN_FONTTYPE;
    // Only a dialog ended with OK has filled in a font; after a cancel the structure may hold
    // whatever was last shown, so the font stays as it was (the same font the LOGFONTW would
    // make again).  The font is replaced only now: while the dialog runs, other windows' commands
    // may still draw with the current one.
    if (ChooseFontW(&choice))
        ReplaceTrueTypeFont(font);
}
