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
    // The masks follow a 40-byte header; in the larger ones they are its fields at offset 40.
    size_t bitsOffset() const
    {
        return headerBytes + (compression == 3 && headerBytes == 40 ? 12 : 0) + 4 * size_t(colours());
    }
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
        if (compression == 3) {  // 5-6-5 or 8-8-8 masks
            const bool wide = bits == 32;
            Put32(b, 40, wide ? 0xFF0000 : 0xF800);
            Put32(b, 44, wide ? 0x00FF00 : 0x07E0);
            Put32(b, 48, wide ? 0x0000FF : 0x001F);
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
        {"32-bit masks inside a 124-byte header", true,
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
        {"run-length 8 stored top-down", false, [](Honest& h) { h.bits = 8, h.compression = 1, h.height = -2; }},
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

TEST(ClipboardDib, BitfieldMasksFollowTheShortHeaderAndAreFieldsOfTheLargerOnes)
{
    // 3 x 2 pictures with two colour-table entries: after a 40-byte header come the masks, the
    // table and the rows; a larger header holds the masks itself, and the table follows it.
    struct Case {
        std::uint32_t headerBytes;
        int bits;
        size_t coloursOffset, bitsOffset;
    };
    const Case cases[] = {
        {40, 32, 52, 60}, {52, 32, 52, 60}, {56, 16, 56, 64}, {108, 16, 108, 116}, {124, 32, 124, 132},
    };
    for (const Case& c : cases) {
        Honest h;
        h.headerBytes = c.headerBytes, h.bits = c.bits, h.compression = 3, h.width = 3, h.coloursUsed = 2;
        Bytes block = h.Build();
        const std::string what = std::to_string(c.headerBytes) + "-byte header, " + std::to_string(c.bits) + " bits";
        ASSERT_EQ(block.size(), c.bitsOffset + (c.bits == 32 ? 12u : 8u) * 2) << what;
        const DibLayout layout = CheckClipboardDib(block.data(), block.size());
        ASSERT_TRUE(layout.valid) << what << ", sized exactly";
        EXPECT_TRUE(layout.bitFields) << what;
        EXPECT_EQ(layout.coloursOffset, c.coloursOffset) << what;
        EXPECT_EQ(layout.colourCount, 2) << what;
        EXPECT_EQ(layout.bitsOffset, c.bitsOffset) << what;
        EXPECT_FALSE(CheckClipboardDib(block.data(), block.size() - 1).valid) << what << ", one byte short";
        block.resize(block.size() + 12);  // spare bytes at the end move nothing
        EXPECT_EQ(CheckClipboardDib(block.data(), block.size()).bitsOffset, c.bitsOffset) << what << ", 12 spare";
    }
    // A 124-byte header with empty mask fields and masks written after it: not a picture.
    Honest v5;
    v5.headerBytes = 124, v5.bits = 32, v5.compression = 3;
    Bytes block = v5.Build();
    Bytes after(block.begin(), block.begin() + 124);
    after.insert(after.end(), block.begin() + 40, block.begin() + 52);
    std::fill(after.begin() + 40, after.begin() + 52, 0);
    after.insert(after.end(), block.begin() + 124, block.end());
    EXPECT_FALSE(CheckClipboardDib(after.data(), after.size()).valid);
}

namespace {

// A run-length block: a 40-byte header of `bits` (8: BI_RLE8, 4: BI_RLE4), `colours` table
// entries, then the runs; `sizeImage` is the header's image size.
Bytes RunLengthBlock(int bits, int width, int height, const Bytes& runs, std::uint32_t sizeImage = 0, int colours = 0)
{
    Bytes b(40 + 4 * size_t(colours ? colours : 1 << bits), 0);
    Put32(b, 0, 40);
    Put32(b, 4, std::uint32_t(width));
    Put32(b, 8, std::uint32_t(height));
    Put16(b, 12, 1);
    Put16(b, 14, unsigned(bits));
    Put32(b, 16, bits == 8 ? 1 : 2);
    Put32(b, 20, sizeImage);
    Put32(b, 32, std::uint32_t(colours));
    b.insert(b.end(), runs.begin(), runs.end());
    return b;
}

// Rows of indices, top row first, written as two hex digits a pixel: "04 04 00".
std::vector<std::string> Expanded(const Bytes& block)
{
    const DibLayout layout = CheckClipboardDib(block.data(), block.size());
    if (!layout.valid)
        return {"not a picture"};
    Bytes rows(layout.imageBytes, 0xEE);
    ExpandRunLengthDib(block.data(), layout, rows.data());
    std::vector<std::string> text;
    for (int y = layout.rows - 1; y >= 0; --y) {
        std::string line;
        for (size_t x = 0; x < layout.stride; ++x) {
            const std::uint8_t index = rows[size_t(y) * layout.stride + x];
            if (x >= size_t(layout.width)) {  // padding
                if (index != 0)
                    line += " padding " + std::to_string(index);
                continue;
            }
            static const char hex[] = "0123456789abcdef";
            line += (x ? " " : "") + std::string{hex[index >> 4], hex[index & 15]};
        }
        text.push_back(line);
    }
    return text;
}

}  // namespace

TEST(ClipboardDib, RunLengthPicturesGiveTheirIndicesClippedToThePicture)
{
    struct Case {
        const char* what;
        Bytes block;
        std::vector<std::string> rows;  // top row first
    };
    const Case cases[] = {
        // The examples of the format's documentation: runs, an absolute run with its padding,
        // a delta of 5 right and 1 up, an end of line and the end; skipped pixels are index 0.
        {"8-bit example",
         RunLengthBlock(8, 20, 3,
                        {3, 4, 5, 6, 0, 3, 0x45, 0x56, 0x67, 0, 2, 0x78, 0, 2, 5, 1, 2, 0x78, 0, 0, 9, 0x1E, 0, 1}),
         {"1e 1e 1e 1e 1e 1e 1e 1e 1e 00 00 00 00 00 00 00 00 00 00 00",
          "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 78 78",
          "04 04 04 06 06 06 06 06 45 56 67 78 78 00 00 00 00 00 00 00"}},
        {"4-bit example",
         RunLengthBlock(4, 27, 3,
                        {3, 4, 5, 6, 0, 6, 0x45, 0x56, 0x67, 0, 4, 0x78, 0, 2, 5, 1, 4, 0x78, 0, 0, 9, 0x1E, 0, 1}),
         {"01 0e 01 0e 01 0e 01 0e 01 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00",
          "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 07 08 07 08",
          "00 04 00 00 06 00 06 00 04 05 05 06 06 07 07 08 07 08 00 00 00 00 00 00 00 00 00"}},
        {"4-bit absolute run of an odd count, padded to a word",
         RunLengthBlock(4, 8, 1, {0, 5, 0x12, 0x34, 0x50, 0, 2, 0x67, 0, 1}), {"01 02 03 04 05 06 07 00"}},
        // Runs past a row's end are cut there and never wrap; the absolute run's bytes are still
        // passed over whole; a delta above the top row ends the picture.
        {"clipped at the right and the top",
         RunLengthBlock(8, 4, 2, {6, 9, 0, 4, 1, 2, 3, 4, 0, 0, 2, 7, 0, 3, 8, 9, 10, 0, 0, 2, 0, 5, 1, 13}),
         {"07 07 08 09", "09 09 09 09"}},
        {"a delta past the right edge, then a new line",
         RunLengthBlock(8, 4, 2, {0, 2, 200, 0, 1, 3, 0, 0, 1, 4, 0, 1}), {"04 00 00 00", "00 00 00 00"}},
        {"a run of 255 in a row of 3", RunLengthBlock(8, 3, 1, {255, 0xAB}), {"ab ab ab"}},
        // A stream cut short gives what it holds: no end mark, an absolute run cut in its middle
        // (its half byte of a 4-bit run too), a code cut after its first byte.
        {"cut inside an absolute run", RunLengthBlock(8, 5, 1, {0, 5, 1, 2, 3}), {"01 02 03 00 00"}},
        {"cut inside a 4-bit absolute run", RunLengthBlock(4, 6, 1, {0, 5, 0x9A, 0xBC}), {"09 0a 0b 0c 00 00"}},
        {"a last code cut", RunLengthBlock(8, 3, 2, {2, 5, 0, 0, 1}), {"00 00 00", "05 05 00"}},
        {"a delta cut", RunLengthBlock(8, 3, 1, {1, 5, 0, 2, 1}), {"05 00 00"}},
        // The header's image size ends the runs when the block holds more.
        {"runs past the image size", RunLengthBlock(8, 4, 1, {2, 5, 2, 6}, 2), {"05 05 00 00"}},
        {"an image size past the block", RunLengthBlock(8, 4, 1, {2, 5, 2, 6}, 100), {"05 05 06 06"}},
        {"three colours named", RunLengthBlock(8, 2, 1, {2, 2}, 0, 3), {"02 02"}},
        {"runs on a top-down picture", RunLengthBlock(8, 2, -1, {2, 1}), {"not a picture"}},
        {"RLE8 on 4 bits", [] { Bytes b = RunLengthBlock(4, 2, 1, {2, 1}); Put32(b, 16, 1); return b; }(),
         {"not a picture"}},
        {"RLE4 on 8 bits", [] { Bytes b = RunLengthBlock(8, 2, 1, {2, 1}); Put32(b, 16, 2); return b; }(),
         {"not a picture"}},
        {"one byte of runs", RunLengthBlock(8, 2, 1, {2}), {"not a picture"}},
        {"more pixels than a picture may have", RunLengthBlock(8, 0x8000, 0x4000, {0, 1}), {"not a picture"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Expanded(c.block), c.rows) << c.what;

    // The layout of a run-length picture: its table, its runs and the 8-bit rows they give.
    const Bytes block = RunLengthBlock(4, 27, 3, {3, 4, 0, 1, 9, 9});
    const DibLayout layout = CheckClipboardDib(block.data(), block.size());
    ASSERT_TRUE(layout.valid);
    EXPECT_EQ(layout.runLength, 4);
    EXPECT_EQ(layout.bitCount, 4);
    EXPECT_EQ(layout.colourCount, 16);
    EXPECT_EQ(layout.coloursOffset, 40u);
    EXPECT_EQ(layout.bitsOffset, 104u);
    EXPECT_EQ(layout.runBytes, 6u);
    EXPECT_EQ(layout.stride, 28u);
    EXPECT_EQ(layout.imageBytes, 84u);
    const Bytes largest = RunLengthBlock(8, 0x8000, 0x3FFF, {0, 1});
    EXPECT_TRUE(CheckClipboardDib(largest.data(), largest.size()).valid) << "2^29 - 2^15 pixels";
}
