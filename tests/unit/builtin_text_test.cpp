// The built-in font and its text: the glyph table's layout, characters drawn at the text cursor
// with wrapping and newlines, formatted text cut at whole characters, and a picture of every
// glyph written into the build tree (build/host/glyph_sheet.ppm) for a person to read.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

#include "code_pages.h"
#include "imaging/builtin_font.h"
#include "imaging/drawing_state.h"
#include "imaging/text_state.h"
#include "krtlib.h"
#include "test_image.h"

namespace {

using Rows = std::vector<int>;  // a glyph's rows from the top, bit 7 leftmost

Rows RowsOf(int code) { return Rows(GlyphOf(code).begin(), GlyphOf(code).end()); }

// The glyph rule written out: bit (0x80 >> j) of row i is the pixel (x + j, top + i).
void PaintRows(RefImage& image, const Rows& rows, int x, int top, int colour)
{
    for (int i = 0; i < static_cast<int>(rows.size()); ++i)
        for (int j = 0; j < 8; ++j)
            if (rows[i] & (0x80 >> j))
                image.PutPixel(x + j, top + i, colour);
}

bool Among(int code, const char* set) { return std::string(set).find(static_cast<char>(code)) != std::string::npos; }

class BuiltinText : public ::testing::Test {
protected:
    void SetUp() override { ResetDrawingState(); }
};

// The two glyphs given byte for byte, and the layout of all 96: capitals, digits and ascenders
// from row 2, x-height letters from row 4, only the dots of i and j in row 1, letters and digits
// down to row 10, only g j p q y (to 13) and Q (to 12) below it; 0x20 and 0x7F blank, no two alike.
TEST_F(BuiltinText, EveryGlyphKeepsTheRowLayout)
{
    EXPECT_EQ(RowsOf('A'), (Rows{0x00, 0x00, 0x18, 0x3C, 0x66, 0x66, 0x66, 0x7E, 0x66, 0x66, 0x66, 0x00, 0x00, 0x00}));
    EXPECT_EQ(RowsOf('g'), (Rows{0x00, 0x00, 0x00, 0x00, 0x3E, 0x66, 0x66, 0x66, 0x66, 0x66, 0x3E, 0x06, 0x06, 0x7C}));
    EXPECT_EQ(sizeof BuiltinFont, 1344u);
    for (int code = 0x20; code <= 0x7F; ++code) {
        SCOPED_TRACE(::testing::Message() << "glyph '" << static_cast<char>(code) << "' 0x" << std::hex << code);
        const Rows rows = RowsOf(code);
        int first = -1, last = -1;
        for (int i = 0; i < kGlyphHeight; ++i)
            if (rows[i])
                last = i, first = first < 0 ? i : first;
        if (code == 0x20 || code == 0x7F) {
            EXPECT_EQ(last, -1);
            continue;
        }
        EXPECT_GE(first, 1);
        EXPECT_EQ(first == 1, Among(code, "ij"));
        const int lowest = Among(code, "gjpqy") ? 13 : code == 'Q' ? 12 : 10;
        EXPECT_TRUE(isalnum(code) ? last == lowest : last <= 10) << "last row " << last;
        if (isupper(code) || isdigit(code) || Among(code, "bdfhklt")) {
            EXPECT_EQ(first, 2);
        }
        if (Among(code, "acegmnopqrsuvwxyz")) {
            EXPECT_EQ(first, 4);
        }
        if (Among(code, "ij")) {
            EXPECT_TRUE(rows[3] == 0 && rows[4] != 0) << "the dot apart, the stem from the x-height";
        }
        for (int other = 0x21; other < code; ++other)
            EXPECT_NE(rows, RowsOf(other)) << "same as 0x" << other;
    }
}

// "A" at baseline 20 from x = 0 sets exactly rows 8 to 16, columns 1 to 6, in krt_tc (its low
// byte in an 8-bit image), and moves the cursor 8 to the right.
TEST_F(BuiltinText, AStandsOnTheRowsAboveTheBaseline)
{
    for (int depth : {32, 8}) {
        TableImage image(24, 24, depth);
        krt_tc = 0x1234C8;
        KRT_SetTextCursor(0, 20, 0);
        KRT_DrawChar('A');
        RefImage expected(24, 24, depth);
        PaintRows(expected, {0x18, 0x3C, 0x66, 0x66, 0x66, 0x7E, 0x66, 0x66, 0x66}, 0, 8, 0x1234C8);
        EXPECT_TRUE(SamePixels(image.bytes(), expected)) << depth;
        EXPECT_EQ(TextCursor.x, 8);
        EXPECT_EQ(TextCursor.baseline, 20);
    }
}

// 100 wide: after the 12th character x = 96 > 92 wraps to the margin 16 rows lower; the
// background between the strokes stays.  A newline returns to the margin; a tab, other
// controls and bytes above 0x7F draw nothing and do not advance.  KRT_DrawTextF draws the same.
TEST_F(BuiltinText, LinesWrapAndNewlinesReturnToTheMargin)
{
    TableImage image(100, 60, 32);
    RefImage expected(100, 60, 32);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 100; ++x)
            KRT_SetPixel(x, y, 0x80), expected.PutPixel(x, y, 0x80);
    krt_tc = 0xFFFF00;
    KRT_SetTextCursor(0, 16, 0);
    const std::string text = "ABCDEFGHIJKLMN";
    for (int k = 0; k < static_cast<int>(text.size()); ++k) {
        KRT_DrawChar(text[k]);
        if (k == 11) {
            EXPECT_TRUE(TextCursor.x == 0 && TextCursor.baseline == 32);
        }
        PaintRows(expected, RowsOf(text[k]), 8 * (k % 12), 2 + 16 * (k / 12), 0xFFFF00);
    }
    KRT_SetTextCursor(10, 52, 4);
    KRT_DrawString("A\tB\x01\x82\nC");
    EXPECT_TRUE(TextCursor.x == 12 && TextCursor.baseline == 68);
    PaintRows(expected, RowsOf('A'), 10, 38, 0xFFFF00);
    PaintRows(expected, RowsOf('B'), 18, 38, 0xFFFF00);
    PaintRows(expected, RowsOf('C'), 4, 54, 0xFFFF00);
    EXPECT_TRUE(SamePixels(image.bytes(), expected));

    TableImage formatted(100, 60, 32, 8);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 100; ++x)
            KRT_SetPixel(x, y, 0x80);
    KRT_SetTextCursor(0, 16, 0);
    KRT_DrawTextF("%s%c%s", "ABCDEFGHIJKL", 'M', "N");
    KRT_SetTextCursor(10, 52, 4);
    KRT_DrawTextF("%c\t%s\n%X", 'A', "B\x01\x82", 12);
    EXPECT_TRUE(SamePixels(formatted.bytes(), expected));
}

int Format(char* out, int size, const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    const int n = FormatWhole(CodePage932(), out, size, format, arguments);
    va_end(arguments);
    return n;
}

// Formatted text is at most 4095 bytes; a two-byte character the end would split is left out
// whole, and a trail byte that is also a lead byte is not taken for one.  The walk of code
// page 932 text gives two-byte characters as lead * 256 + trail and drops a lone lead byte.
TEST_F(BuiltinText, TextIsCutAndSplitAtWholeCharacters)
{
    char out[4096];
    const std::string a = "\x82\xA0";  // あ
    EXPECT_EQ(Format(out, 4096, "%s%s", std::string(4094, 'a').c_str(), a.c_str()), 4094);
    EXPECT_EQ(std::string(out), std::string(4094, 'a'));
    EXPECT_EQ(Format(out, 4096, "%s%s", std::string(4093, 'a').c_str(), a.c_str()), 4095);
    EXPECT_EQ(std::string(out), std::string(4093, 'a') + a);
    EXPECT_EQ(Format(out, 4096, "%s\x81\x81%s", std::string(4092, 'a').c_str(), a.c_str()), 4094);  // ＝ あ
    EXPECT_EQ(Format(out, 4096, "%s\x81\x81%s", std::string(4091, 'a').c_str(), a.c_str()), 4095);

    TableImage image(100, 16, 32);  // 4095 of 5000 characters drawn: 341 lines of 12, and 3
    KRT_SetTextCursor(0, 16, 0);
    KRT_DrawTextF("%s", std::string(5000, 'x').c_str());
    EXPECT_TRUE(TextCursor.x == 3 * 8 && TextCursor.baseline == 16 + 341 * 16);

    std::vector<int> codes;
    ForEachCharacter(CodePage932(), "\x82\xA0" "A\x83\x5C\xE0\x40\xA0\x80 \x82",
                     [&](const char* bytes, int count) { codes.push_back(CharacterCode(CodePage932(), bytes, count)); });
    EXPECT_EQ(codes, (std::vector<int>{0x82A0, 'A', 0x835C, 0xE040, 0xA0, 0x80, ' '}));
}

// All 96 glyphs in a grid of 16 x 6 cells against the table's bits, then written four times
// enlarged for a person to read.
TEST_F(BuiltinText, TheGlyphSheetDrawsEveryGlyph)
{
    constexpr int kWidth = 16 * 10 + 2, kHeight = 6 * 16 + 2, kScale = 4;
    TableImage image(kWidth, kHeight, 32);
    RefImage expected(kWidth, kHeight, 32);
    for (int code = 0x20; code <= 0x7F; ++code) {
        const int x = 2 + (code - 0x20) % 16 * 10, top = 1 + (code - 0x20) / 16 * 16;
        KRT_SetTextCursor(x, top + 14, x);
        KRT_DrawChar(code);
        PaintRows(expected, RowsOf(code), x, top, 0xFFFFFF);
    }
    EXPECT_TRUE(SamePixels(image.bytes(), expected));

    std::FILE* file = std::fopen(KRT_BINARY_DIR "/glyph_sheet.ppm", "wb");
    ASSERT_TRUE(file);
    std::fprintf(file, "P6\n%d %d\n255\n", kWidth * kScale, kHeight * kScale);
    for (int y = 0; y < kHeight * kScale; ++y)
        for (int x = 0; x < kWidth * kScale; ++x) {
            const int px = x / kScale, py = y / kScale;
            const bool inBox = px >= 2 && py >= 1 && (px - 2) % 10 < 8 && (py - 1) % 16 < 14;  // a glyph's 8 x 14
            const unsigned char v = KRT_GetPixel(px, py) ? 255 : inBox ? 40 : 90;
            const unsigned char rgb[3] = {v, v, v};
            std::fwrite(rgb, 1, 3, file);
        }
    std::fclose(file);
}

}  // namespace
