#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/print_walk.h"

namespace {

// Replays a walk on a tiny console model: cursor, lines of drawn text.
struct Console {
    int width = 48, cellWidth = 6, cellHeight = 12, height = 300;
    int x = 0, y = 0;
    std::vector<std::pair<int, std::u16string>> runs;  // (line top, text) per drawn run
    std::vector<int> runX;
    int newlines = 0;
    std::u16string text;

    void Print(const std::u16string& t)
    {
        text = t;
        const int end = WalkPrintedText(reinterpret_cast<const unsigned short*>(text.data()),
                                        static_cast<int>(text.size()), x, width, cellWidth,
                                        {this, DrawRun, Newline});
        if (end >= 0)
            x = end;
    }
    static void DrawRun(void* c, int start, int length)
    {
        Console& self = *static_cast<Console*>(c);
        self.runs.push_back({self.y, self.text.substr(start, length)});
        self.runX.push_back(self.x);
    }
    static void Newline(void* c)
    {
        Console& self = *static_cast<Console*>(c);
        ++self.newlines;
        self.x = 0;
        self.y += self.cellHeight;
    }
};

TEST(PrintWalk, ConsecutivePrintsContinueTheLine)
{
    Console c;
    c.Print(u"ab");
    c.Print(u"cd");
    ASSERT_EQ(c.runs.size(), 2u);
    EXPECT_EQ(c.runX[0], 0);
    EXPECT_EQ(c.runX[1], 12);  // "cd" starts after "ab"
    EXPECT_EQ(c.runs[1].first, 0);
    EXPECT_EQ(c.x, 24);
    c.Print(u"ef\n");
    EXPECT_EQ(c.x, 0);
    EXPECT_EQ(c.y, 12);
    EXPECT_EQ(c.newlines, 1);
}

TEST(PrintWalk, ExactFitStaysAndTheNextCharacterWraps)
{
    Console c;  // 48 pixels: eight cells of 6
    c.Print(u"12345678");
    EXPECT_EQ(c.newlines, 0);
    EXPECT_EQ(c.x, 48);
    c.Print(u"9");
    EXPECT_EQ(c.newlines, 1);
    ASSERT_EQ(c.runs.size(), 2u);
    EXPECT_EQ(c.runs[1].first, 12);
    EXPECT_EQ(c.runs[1].second, u"9");
    EXPECT_EQ(c.x, 6);
}

TEST(PrintWalk, OneRunPerLineSegment)
{
    Console c;
    c.Print(u"abcdefghijk\nxy");
    ASSERT_EQ(c.runs.size(), 3u);
    EXPECT_EQ(c.runs[0].second, u"abcdefgh");
    EXPECT_EQ(c.runs[1].second, u"ijk");
    EXPECT_EQ(c.runs[2].second, u"xy");
    EXPECT_EQ(c.runs[2].first, 24);
}

TEST(PrintWalk, DoubleWidthUnitsWrapWhole)
{
    Console c;
    c.Print(u"1234567\u65E5");  // seven narrow cells, then two that do not fit
    ASSERT_EQ(c.runs.size(), 2u);
    EXPECT_EQ(c.runs[0].second, u"1234567");
    EXPECT_EQ(c.runs[1].second, u"\u65E5");
    EXPECT_EQ(c.x, 12);
    // Any unit from U+0080 takes two cells.
    Console d;
    d.Print(u"\u00E9\u00E9\u00E9\u00E9");
    EXPECT_EQ(d.newlines, 0);
    EXPECT_EQ(d.x, 48);
}

// A character beyond the basic plane (two units) takes two cells like any other from U+0080,
// and a line break never falls between its halves.
TEST(PrintWalk, SurrogatePairIsOneCharacterOfTwoCells)
{
    Console c;
    c.Print(u"123456\U0001F600\U0001F600");  // six cells, two, then two that do not fit
    ASSERT_EQ(c.runs.size(), 2u);
    EXPECT_EQ(c.runs[0].second, u"123456\U0001F600");
    EXPECT_EQ(c.runs[1].second, u"\U0001F600");
    EXPECT_EQ(c.x, 12);
}

TEST(PrintWalk, ControlCharactersOtherThanLineFeedAreOneCellGlyphs)
{
    Console c;
    c.Print(u"a\rb\tc");
    ASSERT_EQ(c.runs.size(), 1u);
    EXPECT_EQ(c.x, 30);
}

TEST(PrintWalk, ClientNarrowerThanACellPutsOneCharacterPerLineAndEnds)
{
    Console c;
    c.width = 4;
    c.Print(u"abc");
    ASSERT_EQ(c.runs.size(), 3u);
    for (const auto& run : c.runs)
        EXPECT_EQ(run.second.size(), 1u);
    EXPECT_EQ(c.newlines, 3);  // the first character already does not fit at x = 0
    Console d;
    d.width = 4;
    d.Print(u"\u65E5\u672C\u8A9E\u65E5\u672C");  // only double-width units, all too wide
    EXPECT_EQ(d.runs.size(), 5u);
}

TEST(PrintWalk, EmptyTextDrawsNothingAndKeepsTheCursor)
{
    Console c;
    c.x = 18;
    c.Print(u"");
    EXPECT_TRUE(c.runs.empty());
    EXPECT_EQ(c.x, 18);
}

TEST(ScrollStep, LinesUpTo276FitIn300AndTheNextNewlineScrolls)
{
    int y = 0, copy = -1;
    std::vector<int> tops = {0};
    for (int line = 0; line < 40; ++line) {
        y += 12;
        if (ScrollStep(y, 12, 300, copy))
            break;
        tops.push_back(y);
    }
    EXPECT_EQ(tops.back(), 276);
    EXPECT_EQ(tops.size(), 24u);
    EXPECT_EQ(y, 276);      // scrolled back onto the last line
    EXPECT_EQ(copy, 276);   // rows 12..287 move up to 0..275
    int y2 = 276 + 12;
    EXPECT_TRUE(ScrollStep(y2, 12, 300, copy));
    EXPECT_EQ(y2, 276);
}

}  // namespace
