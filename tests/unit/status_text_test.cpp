#include <gtest/gtest.h>

#include <string>

#include "core/status_text.h"

namespace {

std::string Layout(const std::string& text)
{
    char line[kStatusLineSize];
    FormatStatusLine(text.c_str(), line);
    return line;
}

TEST(StatusLine, ShortTextIsCentredOnColumn18)
{
    // "32-bit color" has 12 characters: it starts at column 18 - 6 = 12.
    EXPECT_EQ(Layout("32-bit color"), std::string(12, ' ') + "32-bit color");
    EXPECT_EQ(Layout("Input text"), std::string(13, ' ') + "Input text");
    EXPECT_EQ(Layout(""), std::string(18, ' '));
    EXPECT_EQ(Layout("a"), std::string(18, ' ') + "a");
}

TEST(StatusLine, LongTextStartsAtColumnZeroAndIsCutAt63)
{
    const std::string exact(36, 'x');  // 18 - 18 = column 0
    EXPECT_EQ(Layout(exact), exact);
    const std::string fits(63, 'y');
    EXPECT_EQ(Layout(fits), fits);
    const std::string longer = std::string(63, 'z') + "tail";
    EXPECT_EQ(Layout(longer), std::string(63, 'z'));
}

TEST(StatusLine, MidLengthTextIsCutToTheRoomAfterItsColumn)
{
    // 30 characters start at column 3; 60 characters of room remain, so nothing is cut.
    EXPECT_EQ(Layout(std::string(30, 'q')), std::string(3, ' ') + std::string(30, 'q'));
}

}  // namespace
