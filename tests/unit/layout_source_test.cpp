#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "code_pages.h"
#include "text/layout_source.h"

namespace {

TEST(LayoutSource, NamesBecomeSoundCStringsAndTwoByteCharactersStayWhole)
{
    // "ソ" in code page 932 is 0x83 0x5C: its second byte is no backslash.  A lead byte before a
    // quote is no character and leaves the quote to be escaped.
    EXPECT_EQ(CStringBody("say \"hi\" \\ \x83\x5c\nx\r\x01" "7\t\x81\"", CodePage932()),
              "say \\\"hi\\\" \\\\ \x83\x5c\\nx\\015\\0017\\011\x81\\\"");
}

TEST(LayoutSource, ReportColoursAndTheImageCallOfEachDepthAndMode)
{
    LayoutInfo layout{{{0, "000", 10, 20, 320, 240, 100, 32, 1}, {1, "a", 0, 0, 8, 8, 200, 32, 0},
                       {2, "b", 5, 6, 8, 8, 100, 8, 1}, {3, "c", 5, 6, 8, 8, 50, 8, 0}},
                      {{0, 0, 300, 400, 300}}, false, {}, false, {}};
    const std::string source = LayoutSource(layout, CodePage932());
    EXPECT_NE(source.find("\tKRT_CreateImage(0,\"000\",10,20,320,240,100);\n\tKRT_CreateImageFL(1,\"a\",0,0,8,8,200);\n"
                          "\tKRT_CreateImage8(2,\"b\",5,6,8,8,100);\n\tKRT_CreateImage8FL(3,\"c\",5,6,8,8,50);\n"),
              std::string::npos);

    layout.images.resize(1);
    std::string words, colours;
    for (const ReportPiece& piece : LayoutReport(layout)) {
        words += piece.words;
        char pair[32] = "- ";
        if (piece.coloured)
            std::snprintf(pair, sizeof pair, "%06X/%06X ", piece.background, piece.text);
        colours += pair;
    }
    EXPECT_EQ(words, "******* Window information *******\n[Image Window]\n"
                     " 0 32 1  '000' X:10 Y:20 W:320 H:240 ZM:100%\n[Text Window]\n"
                     " 0 X:0 Y:300 W:400 H:300\n**********************************\n");
    // Title and closing line yellow, headings green, depth azure and mode magenta, on black.
    EXPECT_EQ(colours, "000000/FFFF00 000000/00FF00 - 000000/0080FF 000000/FF00FF - 000000/00FF00 - "
                       "000000/FFFF00 ");
}

}  // namespace
