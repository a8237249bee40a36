// Narrow text in three code pages: 932 (two-byte characters whose second byte may look like
// ASCII), 1252 (every byte a character) and UTF-8 (one to four bytes, and bytes that are none).
#include <gtest/gtest.h>

#include <cstdarg>
#include <string>
#include <vector>

#include "code_pages.h"
#include "text/layout_source.h"

namespace {

struct WalkCase {
    const char* name;
    NarrowCodePage page;
    std::string text;
    std::vector<int> sizes;  // bytes of each character, in order
    std::vector<int> codes;  // what DrawTrueTypeChar gets for each
};

std::vector<WalkCase> Cases()
{
    return {
        {"932", CodePage932(), "\x93\xfa\x83\x5c" "a\xb1", {2, 2, 1, 1}, {0x93FA, 0x835C, 'a', 0xB1}},  // 日ソaｱ
        {"1252", CodePage1252(), "caf\xe9 \x83\\", {1, 1, 1, 1, 1, 1, 1}, {'c', 'a', 'f', 0xE9, ' ', 0x83, '\\'}},
        {"UTF-8", CodePageUtf8(), "\xc3\xa9\xe6\x97\xa5\xf0\x9f\x98\x80" "A", {2, 3, 4, 1}, {0xE9, 0x65E5, 0x1F600, 'A'}},
    };
}

// Walked, every character comes whole with its code, and the code gives back its bytes; cut at
// any length, the text keeps exactly the characters that end within it.
TEST(NarrowText, EachCodePageWalksAndCutsAtWholeCharacters)
{
    for (const WalkCase& c : Cases()) {
        std::vector<int> sizes, codes;
        ForEachCharacter(c.page, c.text.c_str(), [&](const char* bytes, int count) {
            sizes.push_back(count);
            codes.push_back(CharacterCode(c.page, bytes, count));
            char back[4];
            EXPECT_EQ(std::string(back, CodeBytes(c.page, codes.back(), back)), std::string(bytes, count)) << c.name;
        });
        EXPECT_EQ(sizes, c.sizes) << c.name;
        EXPECT_EQ(codes, c.codes) << c.name;
        for (int length = 0; length <= static_cast<int>(c.text.size()); ++length) {
            int whole = 0;
            for (size_t i = 0, end = 0; i < c.sizes.size() && (end += c.sizes[i]) <= static_cast<size_t>(length); ++i)
                whole = static_cast<int>(end);
            EXPECT_EQ(WholeCharacterLength(c.page, c.text.c_str(), length), whole) << c.name << " cut at " << length;
        }
    }
}

int Format(const NarrowCodePage& page, char* out, int size, const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    const int n = FormatWhole(page, out, size, format, arguments);
    va_end(arguments);
    return n;
}

// Bytes that begin no UTF-8 character stand alone and draw as U+FFFD; a sequence the end cuts
// short is dropped, from a walk and from a formatted text; integers that are no character have
// no bytes.
TEST(NarrowText, Utf8BytesThatAreNoCharacter)
{
    const NarrowCodePage utf8 = CodePageUtf8();
    std::vector<int> codes;
    ForEachCharacter(utf8, "\xe6" "A\xc0\xaf\xed\xa0\x80\xe6\x97",
                     [&](const char* bytes, int count) { codes.push_back(CharacterCode(utf8, bytes, count)); });
    EXPECT_EQ(codes, (std::vector<int>{0xFFFD, 'A', 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD}));

    char out[8];
    EXPECT_EQ(Format(utf8, out, 8, "ab%s", "\xe6\x97\xa5\xe6\x97\xa5"), 5);  // 7 bytes fit, the second 日 does not
    EXPECT_EQ(std::string(out), "ab\xe6\x97\xa5");
    char bytes[4];
    EXPECT_EQ(CodeBytes(utf8, 0xD800, bytes), 0);
    EXPECT_EQ(CodeBytes(utf8, 0x110000, bytes), 0);
}

// In 1252 the byte 0x5C is always a backslash, even after a byte that 932 would take for a lead
// byte; in UTF-8 no byte of a character is ASCII, so the escapes are the same as for ASCII.
TEST(NarrowText, LayoutSourceEscapesByTheCodePage)
{
    EXPECT_EQ(CStringBody("\x83\\\"", CodePage1252()), "\x83\\\\\\\"");
    EXPECT_EQ(CStringBody("\x83\\\"", CodePage932()), "\x83\\\\\"");
    EXPECT_EQ(CStringBody("\xe3\x82\xbd\"\\\xe6\x97\xa5\n", CodePageUtf8()), "\xe3\x82\xbd\\\"\\\\\xe6\x97\xa5\\n");
}

}  // namespace
