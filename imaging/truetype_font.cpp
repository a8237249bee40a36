#include "imaging/truetype_font.h"

#include <cwchar>

#include "imaging/text_state.h"

namespace {

const wchar_t kStartupFace[] = L"\xFF2D\xFF33 \x30B4\x30B7\x30C3\x30AF";  // ＭＳ ゴシック
static_assert(sizeof kStartupFace / sizeof kStartupFace[0] <= LF_FACESIZE, "the face fits LOGFONTW");

}  // namespace

LOGFONTW StartupLogFont()
{
    LOGFONTW font = {};
    font.lfHeight = cellHeight;  // positive: the height of the whole cell
    font.lfWidth = cellWidth;
    font.lfWeight = FW_DONTCARE;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    std::wmemcpy(font.lfFaceName, kStartupFace, sizeof kStartupFace / sizeof kStartupFace[0]);
    return font;
}

LOGFONTW CurrentLogFont()
{
    LOGFONTW font;
    if (trueTypeFont && GetObjectW(trueTypeFont, sizeof font, &font) == static_cast<int>(sizeof font))
        return font;
    return StartupLogFont();
}

bool ReplaceTrueTypeFont(const LOGFONTW& font)
{
    HFONT made = CreateFontIndirectW(&font);
    // Text drawing selects the font only while it draws, so the old one is in no DC now.
    if (trueTypeFont)
        DeleteObject(trueTypeFont);
    trueTypeFont = made;
    return made != nullptr;
}

bool CreateStartupTrueTypeFont() { return ReplaceTrueTypeFont(StartupLogFont()); }

void DeleteTrueTypeFont()
{
    if (trueTypeFont)
        DeleteObject(trueTypeFont);
    trueTypeFont = nullptr;
}
