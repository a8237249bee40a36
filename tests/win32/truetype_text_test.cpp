// TrueType text in the real framework: style controls, the cell size and the baseline, code
// page 932 characters, the characters of whatever code page the process has (CodePageTrueType,
// which also runs under 1252 and UTF-8), text without a font, and "TrueType..." / "Font Change"
// through the real font dialog.  Pixels are compared with TextOutW of the same characters into a DIB of the
// test's own, each cell's top put cellHeight - 1 rows above the baseline.
#include <gtest/gtest.h>
#include <windows.h>
#include <dlgs.h>

#include <algorithm>
#include <string>
#include <vector>

#include "code_page_support.h"
#include "framework_fixture.h"
#include "image_test_support.h"
#include "imaging/text_state.h"
#include "krtlib.h"

namespace {

LOGFONTW FontOf(HFONT font)
{
    LOGFONTW description = {};
    GetObjectW(font, sizeof description, &description);
    return description;
}

// A memory DC of the test's with a font made from `description` selected, on a black top-down
// 32-bit DIB w x h.
struct FontDc {
    FontDc(const LOGFONTW& description, int w, int h) : width(w), font(CreateFontIndirectW(&description))
    {
        BITMAPINFO info = {{sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
        bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
        dc = CreateCompatibleDC(nullptr);
        oldBitmap = SelectObject(dc, bitmap);
        oldFont = SelectObject(dc, this->font);
    }
    ~FontDc()
    {
        SelectObject(dc, oldFont);
        SelectObject(dc, oldBitmap);
        DeleteDC(dc);
        DeleteObject(bitmap);
        DeleteObject(font);
    }
    std::wstring face() const
    {
        wchar_t name[LF_FACESIZE] = L"";
        GetTextFaceW(dc, LF_FACESIZE, name);
        return name;
    }
    // `text` in white as the rules say: each cell's top at baseline - (cellH - 1), x moved on by
    // the character's ABC widths.  Returns the final x.
    int Draw(const std::wstring& text, int x, int baseline, int cellH)
    {
        SetTextColor(dc, RGB(255, 255, 255));
        SetBkMode(dc, TRANSPARENT);
        for (wchar_t unit : text) {
            TextOutW(dc, x, baseline - (cellH - 1), &unit, 1);
            ABC abc;
            EXPECT_TRUE(GetCharABCWidthsW(dc, unit, unit, &abc));
            x += abc.abcA + static_cast<int>(abc.abcB) + abc.abcC;
        }
        GdiFlush();
        return x;
    }
    int width;
    HFONT font;
    HBITMAP bitmap;
    HDC dc;
    HGDIOBJ oldBitmap, oldFont;
    unsigned* bits = nullptr;
};

// Every pixel of image slot 0 against the reference; the first difference is reported.
::testing::AssertionResult SameAsReference(const FontDc& reference, int height)
{
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < reference.width; ++x) {
            const unsigned expected = reference.bits[y * reference.width + x] & 0xFFFFFF;
            if (PixelOf(0, x, y) != expected)
                return ::testing::AssertionFailure() << "first difference at (" << x << ", " << y << "): " << std::hex
                                                     << PixelOf(0, x, y) << " instead of " << expected;
        }
    return ::testing::AssertionSuccess();
}

int LitPixels(int x0, int x1, int height)
{
    int count = 0;
    for (int y = 0; y < height; ++y)
        for (int x = x0; x < x1; ++x)
            count += PixelOf(0, x, y) != 0;
    return count;
}

class TrueTypeText : public FrameworkTest {};

// Code 3 makes the text bold and code 4 normal again: the same letters get clearly more pixels
// in bold, in the same face.  1 and 2 set and clear italic, 5 and 6 underline.  The image's DC
// gets its own font back after each character.
TEST_F(TrueTypeText, BoldThenNormalInTheSameFace)
{
    RunOnUserThread([] { ASSERT_EQ(KRT_CreateImage(0, "tt", 600, 300, 240, 40, 100), 0); });
    std::vector<LOGFONTW> fonts;  // before, bold, normal
    std::vector<std::wstring> faces;
    std::vector<int> styles;  // italic after 1 and 2, underline after 5 and 6
    int split = 0, end = 0;
    bool dcFontBack = false;
    RunOnUserThread([&] {
        auto note = [&] {
            fonts.push_back(FontOf(trueTypeFont));
            faces.push_back(FontDc(FontOf(trueTypeFont), 1, 1).face());
        };
        HGDIOBJ imageFont = GetCurrentObject(ImageTable[0].memoryDC, OBJ_FONT);
        note();
        KRT_SetTextCursor(4, 30, 4);
        DrawTrueTypeString("\x03" "HMWEHMWE");
        note();
        split = TextCursor.x;
        DrawTrueTypeString("\x04" "HMWEHMWE");
        note();
        end = TextCursor.x;
        dcFontBack = GetCurrentObject(ImageTable[0].memoryDC, OBJ_FONT) == imageFont;
        for (int code : {1, 2, 5, 6}) {
            DrawTrueTypeChar(code);
            styles.push_back(code < 5 ? FontOf(trueTypeFont).lfItalic : FontOf(trueTypeFont).lfUnderline);
        }
    });
    ASSERT_EQ(fonts.size(), 3u);
    EXPECT_EQ(fonts[1].lfWeight, FW_BOLD);
    EXPECT_EQ(fonts[2].lfWeight, FW_NORMAL);
    EXPECT_EQ(std::wstring(fonts[1].lfFaceName), fonts[0].lfFaceName);
    EXPECT_EQ(std::wstring(fonts[2].lfFaceName), fonts[0].lfFaceName);
    EXPECT_EQ(faces, std::vector<std::wstring>(3, faces[0]));  // the face really used, too
    EXPECT_TRUE(dcFontBack);
    EXPECT_EQ(styles, (std::vector<int>{1, 0, 1, 0}));

    ASSERT_TRUE(split > 4 && end > split);
    const int boldPixels = LitPixels(4, split, 40), normalPixels = LitPixels(split, end, 40);
    EXPECT_GT(normalPixels, 40);
    EXPECT_GT(boldPixels, normalPixels * 6 / 5) << "bold " << boldPixels << ", normal " << normalPixels;
    DestroyAllImages();
}

// A 21 x 30 cell gives a font 10 wide and 30 high whose cells end on the baseline, and code
// page 932 text is drawn character by character: the pixels are those of TextOutW of the same
// UTF-16 characters with each cell's top at bottom - 29.  A lead byte left alone at the end
// draws nothing and does not move the cursor.
TEST_F(TrueTypeText, CellSizeBaselineAndTwoByteCharacters)
{
    RunOnUserThread([] { ASSERT_EQ(KRT_CreateImage(0, "tt", 600, 300, 120, 72, 100), 0); });
    int result = -1, endX = 0;
    LOGFONTW font = {};
    RunOnUserThread([&] {
        result = SetTrueTypeCellSize(21, 30);
        font = FontOf(trueTypeFont);
        KRT_SetTextCursor(6, 60, 6);
        DrawTrueTypeString("\x8A\xBF" "g\x82\xA0|\x82");  // 漢 g あ |, then half a character
        endX = TextCursor.x;
    });
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(font.lfWidth == 10 && font.lfHeight == 30 && cellWidth == 10 && cellHeight == 30);

    FontDc reference(font, 120, 72);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(reference.dc, &metrics);
    EXPECT_EQ(metrics.tmHeight, 30);
    EXPECT_EQ(endX, reference.Draw(L"\x6F22g\x3042|", 6, 31 + 29, 30));
    EXPECT_TRUE(SameAsReference(reference, 72));
    int top = 72, bottom = -1;  // inside the cell rows 31 to 60, reaching its lower part
    for (int y = 0; y < 72; ++y)
        for (int x = 0; x < 120; ++x)
            if (PixelOf(0, x, y))
                top = std::min(top, y), bottom = std::max(bottom, y);
    EXPECT_TRUE(top >= 31 && bottom <= 60 && bottom > 52) << top << " to " << bottom;
    DestroyAllImages();
}

// A font that could not be made leaves text to the image's own font: it still draws and
// advances, and the next style change makes the TrueType font again.
TEST_F(TrueTypeText, WithoutAFontTextUsesTheImagesFont)
{
    RunOnUserThread([] { ASSERT_EQ(KRT_CreateImage(0, "tt", 600, 300, 64, 32, 100), 0); });
    int endX = 0;
    LOGFONTW remade = {};
    RunOnUserThread([&] {
        DeleteObject(trueTypeFont);
        trueTypeFont = nullptr;
        KRT_SetTextCursor(2, 24, 2);
        DrawTrueTypeString("AB");
        endX = TextCursor.x;
        DrawTrueTypeChar(3);
        remade = FontOf(trueTypeFont);
    });
    EXPECT_GT(endX, 2 + 4);
    EXPECT_GT(CountOther(0, 0), 10);
    EXPECT_EQ(std::wstring(remade.lfFaceName), L"\xFF2D\xFF33 \x30B4\x30B7\x30C3\x30AF");  // ＭＳ ゴシック
    EXPECT_TRUE(remade.lfWeight == FW_BOLD && remade.lfHeight == 16 && remade.lfWidth == 8);
    DestroyAllImages();
}

// ---- "TrueType..." / "Font Change" ---------------------------------------------------------

HWND OpenFontDialog(HWND image) { return OpenOwnedDialog(image, 1049); }

// Picks another face than the one shown in the dialog's face list, as a click in it does.
std::wstring PickOtherFace(HWND dialog)
{
    HWND combo = GetDlgItem(dialog, cmb1);
    const std::wstring shown = WindowText(combo);
    const int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t face[LF_FACESIZE * 2] = L"";
        SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(face));
        if (face[0] && face[0] != L'@' && shown != face) {  // '@': the vertical forms
            SendMessageW(combo, CB_SETCURSEL, i, 0);
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
            return face;
        }
    }
    return L"";
}

class CodePageTrueType : public FrameworkTest {};

// Text of the process's code page is drawn character by character, each character whole (in
// 1252 "café Å!" keeps the space after é), and DrawTrueTypeChar draws a character from the
// integer krtlib.h describes: the same pixels as TextOutW of the UTF-16 characters.
TEST_F(CodePageTrueType, EveryCharacterOfTheCodePageIsDrawnWhole)
{
    const std::wstring text = SampleText();
    RunOnUserThread([] { ASSERT_EQ(KRT_CreateImage(0, "tt", 600, 300, 240, 40, 100), 0); });
    int stringEnd = 0, charEnd = 0;
    LOGFONTW font = {};
    std::vector<unsigned> byString;
    RunOnUserThread([&] {
        font = FontOf(trueTypeFont);
        KRT_SetTextCursor(2, 30, 2);
        DrawTrueTypeString(InCodePage(text).c_str());
        stringEnd = TextCursor.x;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 240; ++x)
                byString.push_back(PixelOf(0, x, y));
        ClearImage(0);
        KRT_SetTextCursor(2, 30, 2);
        for (wchar_t character : text)
            DrawTrueTypeChar(TrueTypeCode(character));
        charEnd = TextCursor.x;
    });
    FontDc reference(font, 240, 40);
    EXPECT_EQ(charEnd, reference.Draw(text, 2, 30, cellHeight));
    EXPECT_TRUE(SameAsReference(reference, 40)) << "by character";
    EXPECT_EQ(stringEnd, charEnd);
    std::vector<unsigned> expected(reference.bits, reference.bits + 240 * 40);
    for (unsigned& pixel : expected)
        pixel &= 0xFFFFFF;
    EXPECT_TRUE(byString == expected) << "by string";
    DestroyAllImages();
}

class FontChange : public FrameworkTest {};

// OK: the face chosen becomes the TrueType font's, the cell size stays.  The dialog opens at
// the current font, with the effects shown.  Cancel after picking a face: nothing changes.
TEST_F(FontChange, TheChosenFaceBecomesTheFontAndCancelKeepsIt)
{
    RunOnUserThread([] {
        ASSERT_EQ(KRT_CreateImage(0, "fc", 600, 300, 64, 48, 100), 0);
        SetTrueTypeCellSize(21, 30);
    });
    HWND image = ImageTable[0].window;
    HFONT first = trueTypeFont;
    const std::wstring startFace = OnUserThread([] { return std::wstring(FontOf(trueTypeFont).lfFaceName); });

    HWND dialog = OpenFontDialog(image);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(WindowText(GetDlgItem(dialog, cmb1)), startFace);
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, chx1)) && IsWindowVisible(GetDlgItem(dialog, chx2)));
    const std::wstring chosen = PickOtherFace(dialog);
    ASSERT_FALSE(chosen.empty()) << "no other face in the dialog";
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(dialog) && trueTypeFont != first; }));
    EXPECT_EQ(OnUserThread([] { return std::wstring(FontOf(trueTypeFont).lfFaceName); }), chosen);
    EXPECT_TRUE(cellWidth == 10 && cellHeight == 30);

    HFONT second = trueTypeFont;
    dialog = OpenFontDialog(image);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(WindowText(GetDlgItem(dialog, cmb1)), chosen);
    EXPECT_FALSE(PickOtherFace(dialog).empty());
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(dialog); }));
    PumpFor(100);
    EXPECT_EQ(trueTypeFont, second);
    EXPECT_EQ(OnUserThread([] { return std::wstring(FontOf(trueTypeFont).lfFaceName); }), chosen);
    DestroyAllImages();
}

}  // namespace
