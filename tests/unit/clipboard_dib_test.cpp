// The clipboard's picture blocks: the bytes the library writes for a 32-bit and an 8-bit image,
// laid out here by hand, and the check every block read from the clipboard passes, on honest
// blocks and on a table of lying ones.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "image/clipboard_dib.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& b, size_t at, unsigned v)
{
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

void Put32(Bytes& b, size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

Bytes Written(PixelView view, const std::uint32_t* palette)
{
    Bytes block(ClipboardDibSize(view), 0xEE);
    WriteClipboardDib(view, palette, block.data());
    return block;
}

// An honest block: header, masks, colour table and rows sized by the format's rules.
struct Honest {
    std::uint32_t headerBytes = 40;
    int width = 4, height = 2, bits = 24;
    std::uint32_t compression = 0, coloursUsed = 0;
    int colours() const { return coloursUsed ? int(coloursUsed) : bits <= 8 ? 1 << bits : 0; }
    size_t stride() const { return (size_t(width) * bits + 31) / 32 * 4; }
    size_t bitsOffset() const { return headerBytes + (compression == 3 ? 12 : 0) + 4 * size_t(colours()); }
    Bytes Build() const
    {
        Bytes b(bitsOffset() + stride() * size_t(height < 0 ? -height : height), 0);
        Put32(b, 0, headerBytes);
        Put32(b, 4, std::uint32_t(width));
        Put32(b, 8, std::uint32_t(height));
        Put16(b, 12, 1);
        Put16(b, 14, unsigned(bits));
        Put32(b, 16, compression);
        Put32(b, 32, coloursUsed);
        if (compression == 3) {  // 5-6-5 or 8-8-8 masks after the header
            const bool wide = bits == 32;
            Put32(b, headerBytes, wide ? 0xFF0000 : 0xF800);
            Put32(b, headerBytes + 4, wide ? 0x00FF00 : 0x07E0);
            Put32(b, headerBytes + 8, wide ? 0x0000FF : 0x001F);
        }
        return b;
    }
};

}  // namespace

TEST(ClipboardDib, ThirtyTwoBitImagesGoOutAsBottomUpTwentyFourBitRows)
{
    // 3 x 2: rows of 9 bytes padded to 12, 40 + 24 = 64 bytes.
    std::uint32_t pixels[6] = {0xFF112233, 0x00445566, 0x00778899, 0x00AABBCC, 0x00DDEEFF, 0x00010203};
    const PixelView view{reinterpret_cast<unsigned char*>(pixels), 3, 2, 32, 12};
    const Bytes block = Written(view, nullptr);
    Bytes expected(64, 0);
    Put32(expected, 0, 40);
    Put32(expected, 4, 3);
    Put32(expected, 8, 2);
    Put16(expected, 12, 1);
    Put16(expected, 14, 24);
    const std::uint8_t bottom[] = {0xCC, 0xBB, 0xAA, 0xFF, 0xEE, 0xDD, 0x03, 0x02, 0x01};
    const std::uint8_t top[] = {0x33, 0x22, 0x11, 0x66, 0x55, 0x44, 0x99, 0x88, 0x77};
    std::copy(bottom, bottom + 9, expected.begin() + 40);
    std::copy(top, top + 9, expected.begin() + 52);
    EXPECT_EQ(block, expected);

    const DibLayout layout = CheckClipboardDib(block.data(), block.size());
    ASSERT_TRUE(layout.valid);
    EXPECT_EQ(layout.width, 3);
    EXPECT_EQ(layout.rows, 2);
    EXPECT_FALSE(layout.topDown);
    EXPECT_EQ(layout.bitCount, 24);
    EXPECT_EQ(layout.colourCount, 0);
    EXPECT_EQ(layout.bitsOffset, 40u);
    EXPECT_EQ(layout.stride, 12u);
    EXPECT_FALSE(CheckClipboardDib(block.data(), block.size() - 1).valid);
}

TEST(ClipboardDib, EightBitImagesCarryTheirWholePalette)
{
    // 5 x 1: 40 + 1024 + 8 = 1072 bytes; the image row is padded to 8 bytes as well.
    std::uint8_t row[8] = {0, 1, 2, 254, 255, 0x77, 0x77, 0x77};
    std::uint32_t palette[256];
    for (int i = 0; i < 256; ++i)
        palette[i] = std::uint32_t(i) << 16 | std::uint32_t(255 - i) << 8 | std::uint32_t(i / 2);
    const Bytes block = Written(PixelView{row, 5, 1, 8, 8}, palette);
    ASSERT_EQ(block.size(), 1072u);
    Bytes expected(1072, 0);
    Put32(expected, 0, 40);
    Put32(expected, 4, 5);
    Put32(expected, 8, 1);
    Put16(expected, 12, 1);
    Put16(expected, 14, 8);
    for (int i = 0; i < 256; ++i) {
        expected[40 + 4 * i] = std::uint8_t(i / 2);      // blue
        expected[40 + 4 * i + 1] = std::uint8_t(255 - i);  // green
        expected[40 + 4 * i + 2] = std::uint8_t(i);      // red
    }
    std::copy(row, row + 5, expected.begin() + 1064);
    EXPECT_EQ(block, expected);

    const DibLayout layout = CheckClipboardDib(block.data(), block.size());
    ASSERT_TRUE(layout.valid);
    EXPECT_EQ(layout.colourCount, 256);
    EXPECT_EQ(layout.coloursOffset, 40u);
    EXPECT_EQ(layout.bitsOffset, 1064u);
}

TEST(ClipboardDib, AOneBitPictureTakesItsTwoEntryTable)
{
    Honest oneBit;
    oneBit.width = 10;
    oneBit.height = 3;
    oneBit.bits = 1;
    const Bytes block = oneBit.Build();
    ASSERT_EQ(block.size(), 40u + 8 + 12);
    const DibLayout layout = CheckClipboardDib(block.data(), block.size());
    ASSERT_TRUE(layout.valid);
    EXPECT_EQ(layout.colourCount, 2);
    EXPECT_EQ(layout.coloursOffset, 40u);
    EXPECT_EQ(layout.bitsOffset, 48u);
    EXPECT_EQ(layout.stride, 4u);
    EXPECT_FALSE(CheckClipboardDib(block.data(), block.size() - 1).valid);
}

TEST(ClipboardDib, LyingHeadersAreNoPicture)
{
    struct Case {
        const char* what;
        bool valid;
        std::function<void(Honest&)> honest;               // a block sized for these fields ...
        std::function<void(Bytes&)> lie = [](Bytes&) {};  // ... then changed or cut
    };
    auto set32 = [](size_t at, std::uint32_t v) { return [=](Bytes& b) { Put32(b, at, v); }; };
    auto set16 = [](size_t at, unsigned v) { return [=](Bytes& b) { Put16(b, at, v); }; };
    const Case cases[] = {
        {"honest 24-bit", true, [](Honest&) {}},
        {"top-down rows", true, [](Honest& h) { h.height = -2; }},
        {"4 bits", true, [](Honest& h) { h.bits = 4; }},
        {"16-bit 5-6-5 masks", true, [](Honest& h) { h.bits = 16, h.compression = 3; }},
        {"32-bit masks after a 124-byte header", true,
         [](Honest& h) { h.bits = 32, h.compression = 3, h.headerBytes = 124; }},
        {"a 24-bit picture with a 256-entry table", true, [](Honest& h) { h.coloursUsed = 256; }},
        {"header size 12", false, [](Honest&) {}, set32(0, 12)},
        {"header size 64", false, [](Honest&) {}, set32(0, 64)},
        {"header size past the block", false, [](Honest&) {}, set32(0, 0xFFFFFFF0u)},
        {"width 0", false, [](Honest&) {}, set32(4, 0)},
        {"negative width", false, [](Honest&) {}, set32(4, 0xFFFFFFFFu)},
        {"height 0", false, [](Honest&) {}, set32(8, 0)},
        {"the most negative height", false, [](Honest&) {}, set32(8, 0x80000000u)},
        {"two planes", false, [](Honest&) {}, set16(12, 2)},
        {"bit count 0", false, [](Honest&) {}, set16(14, 0)},
        {"bit count 2", false, [](Honest& h) { h.bits = 2; }},
        {"bit count 64", false, [](Honest&) {}, set16(14, 64)},
        {"run-length 8", false, [](Honest& h) { h.bits = 8, h.compression = 1; }},
        {"JPEG rows", false, [](Honest& h) { h.compression = 4; }},
        {"masks on 24 bits", false, [](Honest& h) { h.compression = 3; }},
        {"masks on 8 bits", false, [](Honest& h) { h.bits = 8, h.compression = 3; }},
        {"three colours for one bit", false, [](Honest& h) { h.bits = 1, h.coloursUsed = 3; }},
        {"257 colours for eight bits", false, [](Honest& h) { h.bits = 8, h.coloursUsed = 257; }},
        {"300 colours for 24 bits", false, [](Honest& h) { h.coloursUsed = 300; }},
        {"a colour count that wraps", false, [](Honest& h) { h.bits = 8; }, set32(32, 0x40000001u)},
        {"a zero mask", false, [](Honest& h) { h.bits = 16, h.compression = 3; }, set32(44, 0)},
        {"overlapping masks", false, [](Honest& h) { h.bits = 16, h.compression = 3; }, set32(44, 0x0FE0)},
        {"a broken mask", false, [](Honest& h) { h.bits = 32, h.compression = 3; }, set32(48, 0x0000F0F)},
        {"a mask past 16 bits", false, [](Honest& h) { h.bits = 16, h.compression = 3; }, set32(40, 0x1F800)},
        {"masks cut off by the block's end", false, [](Honest& h) { h.bits = 16, h.compression = 3; },
         [](Bytes& b) { b.resize(46); }},
        {"an embedded colour profile", false, [](Honest& h) { h.headerBytes = 124; }, set32(56, 0x4D424544)},
        {"rows wider than the block", false, [](Honest&) {}, set32(4, 0x7FFFFFFF)},
        {"more rows than the block", false, [](Honest&) {}, set32(8, 3)},
        {"more top-down rows than the block", false, [](Honest&) {}, set32(8, std::uint32_t(-3))},
        {"rows whose size wraps 64 bits", false, [](Honest&) {},
         [](Bytes& b) { Put32(b, 4, 0x7FFFFFFF), Put16(b, 14, 32), Put32(b, 8, 0x7FFFFFFF); }},
    };
    for (const Case& c : cases) {
        Honest fields;
        c.honest(fields);
        Bytes block = fields.Build();
        c.lie(block);
        EXPECT_EQ(CheckClipboardDib(block.data(), block.size()).valid, c.valid) << c.what;
    }
    const std::uint8_t few[39] = {40};
    EXPECT_FALSE(CheckClipboardDib(few, sizeof few).valid) << "shorter than a header";
    EXPECT_FALSE(CheckClipboardDib(nullptr, 1000).valid);
}
