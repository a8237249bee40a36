#include <gtest/gtest.h>

#include <vector>

#include "text/line_echo.h"

namespace {

// A console of `columns` cells of 6 x 12 pixels that records every draw.
struct Screen {
    int x = 0, y = 0;
    int width;
    struct Draw { int x, y; unsigned short unit; int cells; };
    std::vector<Draw> draws;
    LineEdit edit;
    EchoSurface surface;

    explicit Screen(int columns) : width(columns * 6)
    {
        surface = {this, &x, &y, width, 6, 12, DrawUnit, Newline};
        BeginLineEdit(edit);
    }
    static void DrawUnit(void* c, const unsigned short* units, int count, int cells)
    {
        Screen& s = *static_cast<Screen*>(c);
        s.draws.push_back({s.x, s.y, units[count - 1], cells});
    }
    static void Newline(void* c)
    {
        Screen& s = *static_cast<Screen*>(c);
        s.x = 0;
        s.y += 12;
    }
    void Type(const std::u16string& text)
    {
        for (char16_t unit : text)
            EchoUnit(edit, surface, unit);
    }
    void Backspace() { EraseLastUnit(edit, surface); }
};

TEST(LineEcho, NarrowCharactersAdvanceOneCellAndBackspaceStepsBack)
{
    Screen s(20);
    s.Type(u"ab");
    EXPECT_EQ(s.x, 12);
    EXPECT_EQ(s.edit.length, 2);
    s.Backspace();
    EXPECT_EQ(s.x, 6);
    EXPECT_EQ(s.edit.length, 1);
    EXPECT_EQ(s.draws.back().unit, ' ');  // the caret cell is blanked
    s.Type(u"c");
    EXPECT_EQ(s.edit.line[0], 'a');
    EXPECT_EQ(s.edit.line[1], 'c');
}

TEST(LineEcho, WrapsLeavingRoomForOneMoreCharacterAndBackspacesOntoTheLineAbove)
{
    Screen s(5);  // 30 pixels: "e" in the last cell leaves no room for another, so the line breaks
    s.Type(u"abcd");
    EXPECT_EQ(s.x, 24);
    EXPECT_EQ(s.y, 0);
    s.Type(u"e");
    EXPECT_EQ(s.x, 0);
    EXPECT_EQ(s.y, 12);
    ASSERT_EQ(s.edit.wrapCount, 1);
    EXPECT_EQ(s.edit.wraps[0], 24);
    s.Type(u"f");
    EXPECT_EQ(s.draws.back().x, 0);
    EXPECT_EQ(s.draws.back().y, 12);
    s.Backspace();  // removes "f"
    EXPECT_EQ(s.x, 0);
    EXPECT_EQ(s.y, 12);
    s.Backspace();  // at the start of the continuation: back onto the "e" above
    EXPECT_EQ(s.x, 24);
    EXPECT_EQ(s.y, 0);
    EXPECT_EQ(s.edit.wrapCount, 0);
    EXPECT_EQ(s.edit.length, 4);
}

TEST(LineEcho, DoubleWidthCharacterThatDoesNotFitMovesWholeAndBackspaceReturns)
{
    Screen s(5);
    s.Type(u"abcd");  // "d" at 18 ends at 24, which still leaves one cell: x = 24
    EXPECT_EQ(s.x, 24);
    s.Type(u"\u65E5");  // 24 > 18: moved to the next line whole
    EXPECT_EQ(s.edit.wrapCount, 1);
    EXPECT_EQ(s.edit.wraps[0], 36);  // the position it would have ended at, past the width
    EXPECT_EQ(s.y, 12);
    EXPECT_EQ(s.x, 12);
    s.Backspace();
    EXPECT_EQ(s.draws.back().unit, kIdeographicSpace);
    EXPECT_EQ(s.draws.back().x, 0);
    EXPECT_EQ(s.draws.back().cells, 2);
    EXPECT_EQ(s.x, 24);  // where it would have been on the line above
    EXPECT_EQ(s.y, 0);
    EXPECT_EQ(s.edit.wrapCount, 0);
}

TEST(LineEcho, DoubleWidthCharacterEndingTheLineWrapsAfterIt)
{
    Screen s(6);  // 36 pixels
    s.Type(u"ab\u65E5");  // at x = 12 it fits (12 <= 24); 12 + 12 = 24 > 30? no -> x = 24
    EXPECT_EQ(s.x, 24);
    s.Type(u"\u672C");  // x = 24 > 24? no, it fits; 24 + 12 > 30: break after it
    EXPECT_EQ(s.x, 0);
    EXPECT_EQ(s.y, 12);
    s.Backspace();
    EXPECT_EQ(s.x, 24);
    EXPECT_EQ(s.y, 0);
    EXPECT_EQ(s.draws.back().unit, kIdeographicSpace);
}

// A character beyond the basic plane (a surrogate pair, from a UTF-8 program's typist) is drawn
// once, whole, over two cells; Backspace takes it whole; its first half is refused where the
// line has no room for the second.
TEST(LineEcho, SurrogatePairIsOneCharacter)
{
    Screen s(20);
    s.Type(u"a\U0001F600");
    ASSERT_EQ(s.draws.size(), 2u);
    EXPECT_EQ(s.draws[1].x, 6);
    EXPECT_EQ(s.draws[1].unit, 0xDE00);  // drawn when the second half came
    EXPECT_EQ(s.draws[1].cells, 2);
    EXPECT_EQ(s.x, 18);
    s.Type(u"b");
    s.Backspace();
    s.Backspace();
    EXPECT_EQ(s.x, 6);
    EXPECT_EQ(s.edit.length, 1);
    EXPECT_EQ(s.draws.back().unit, kIdeographicSpace);

    s.edit.length = kMaxLineLength - 1;
    EXPECT_FALSE(LineTakes(s.edit, 0xD83D));
    EXPECT_TRUE(LineTakes(s.edit, 'x'));
}

TEST(LineEcho, EmptyLineIgnoresBackspace)
{
    Screen s(10);
    s.Backspace();
    EXPECT_TRUE(s.draws.empty());
    EXPECT_EQ(s.x, 0);
}

}  // namespace
