// Image file headers: every sound seed of the hostile-file corpus is accepted with its size, the
// lies a decoder would believe are refused, and each format is known by the signature its
// platform decoder goes by.
#include "image/file_headers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/hostile/sound_seeds.h"

namespace {

using File = std::vector<unsigned char>;

File ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return File(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

File Seed(const std::string& name) { return ReadFile(std::string(KRT_SOURCE_DIR) + "/tests/hostile/seeds/" + name); }

FileHeader Check(const File& f) { return CheckImageFile(f.data(), f.size()); }

void Put32(File& f, std::size_t at, std::uint32_t v, bool bigEndian = false)
{
    for (int i = 0; i < 4; ++i)
        f[at + i] = static_cast<unsigned char>(v >> (bigEndian ? 24 - 8 * i : 8 * i));
}

void Put16Be(File& f, std::size_t at, unsigned v)
{
    f[at] = static_cast<unsigned char>(v >> 8);
    f[at + 1] = static_cast<unsigned char>(v);
}

std::size_t Find(const File& f, std::initializer_list<unsigned char> pattern, std::size_t from = 0)
{
    const std::vector<unsigned char> p(pattern);
    for (std::size_t i = from; i + p.size() <= f.size(); ++i)
        if (std::memcmp(&f[i], p.data(), p.size()) == 0)
            return i;
    return std::string::npos;
}

// Where the first sub-block of a GIF's first picture ends: the least of it that the decoder
// can read.
std::size_t FirstGifDataBlockEnd(const File& f)
{
    std::size_t at = 13 + ((f[10] & 0x80) ? 3 * (2u << (f[10] & 7)) : 0);
    while (f[at] == 0x21) {  // extensions: a label, then sub-blocks to a terminator
        for (at += 2; f[at] != 0; at += 1 + f[at]) {
        }
        ++at;
    }
    at += 10 + ((f[at + 9] & 0x80) ? 3 * (2u << (f[at + 9] & 7)) : 0);
    return at + 2 + f[at + 1];  // the code size, the block's length and its bytes
}

TEST(FileHeaders, EverySeedIsSoundWithItsSize)
{
    const struct {
        const char* name;
        FileKind kind;
    } seeds[] = {
        {"rgb24.bmp", FileKind::Bmp},  {"pal8.bmp", FileKind::Bmp},         {"pal4.bmp", FileKind::Bmp},
        {"mono1.bmp", FileKind::Bmp},  {"rle8.bmp", FileKind::Bmp},         {"rle4.bmp", FileKind::Bmp},
        {"rgb.jpg", FileKind::Jpeg},   {"cmyk.jpg", FileKind::Jpeg},        {"progressive.jpg", FileKind::Jpeg},
        {"still.gif", FileKind::Gif},  {"animated.gif", FileKind::Gif},     {"rgb16.png", FileKind::Png},
        {"grey16.png", FileKind::Png}, {"palette.png", FileKind::Png},      {"rgba.png", FileKind::Png},
        {"lzw.tif", FileKind::Tiff},   {"multipage.tif", FileKind::Tiff},
        // Sound files that the platform decoder reads and a stricter check once turned away.
        {"os2v2-16.bmp", FileKind::Bmp}, {"os2v2-64.bmp", FileKind::Bmp}, {"pal8-300-colours.bmp", FileKind::Bmp},
        {"rgb24-300-colours.bmp", FileKind::Bmp}, {"pal2.bmp", FileKind::Bmp}, {"local-tables.gif", FileKind::Gif},
        {"short-data.gif", FileKind::Gif}, {"two-components.jpg", FileKind::Jpeg}, {"stray-byte.jpg", FileKind::Jpeg},
    };
    for (const auto& seed : seeds) {
        const File f = Seed(seed.name);
        ASSERT_FALSE(f.empty()) << seed.name;
        const FileHeader h = Check(f);
        EXPECT_TRUE(h.sound) << seed.name;
        EXPECT_EQ(h.kind, seed.kind) << seed.name;
        EXPECT_EQ(h.width, 24u) << seed.name;
        EXPECT_EQ(h.height, 16u) << seed.name;
        // A file cut before the end of what it needs is never sound: every row of an
        // uncompressed BMP (the last one's padding aside), the chunks of a PNG to its end, the
        // strips and first directory of a TIFF, a JPEG's headers (its scan has no length of its
        // own) and the first whole sub-block of a GIF's first picture (the decoder reads data
        // that ends with the file at a sub-block's end).  Run-length data is the decoder's to
        // walk.
        std::size_t needed = f.size();
        if (seed.kind == FileKind::Bmp) {
            const std::size_t offset = f[10] | f[11] << 8, bits = f[28], width = f[18];
            const bool runLength = f[14] >= 20 && f[30] != 0;
            needed = runLength ? offset + 2 : f.size() - ((width * bits + 31) / 32 * 4 - (width * bits + 7) / 8);
        } else if (seed.kind == FileKind::Jpeg) {
            needed = Find(f, {0xFF, 0xDA}) + 1;
        } else if (seed.kind == FileKind::Gif) {
            needed = FirstGifDataBlockEnd(f);
            EXPECT_TRUE(CheckImageFile(f.data(), needed).sound) << seed.name;
        } else if (seed.kind == FileKind::Tiff) {
            const std::size_t first = f[4] | f[5] << 8 | f[6] << 16;
            needed = first + 2 + 12 * (f[first] | f[first + 1] << 8) + 4;  // strips come before it here
        }
        for (std::size_t cut = 0; cut < needed; ++cut)
            ASSERT_FALSE(CheckImageFile(f.data(), cut).sound) << seed.name << " cut at " << cut;
    }
}

TEST(FileHeaders, BmpLiesAreRefused)
{
    File f = Seed("mono1.bmp");
    Put32(f, 18, 0x7FFFFFFF);  // the width that crashed the platform decoder
    EXPECT_FALSE(Check(f).sound);
    f = Seed("pal4.bmp");
    Put32(f, 22, 1u << 29);
    EXPECT_FALSE(Check(f).sound);
    f = Seed("pal8.bmp");
    Put32(f, 46, 0xFFFFFFFF);  // colours used
    EXPECT_FALSE(Check(f).sound);
    Put32(f, 46, 257);  // a table that runs into the pixels
    EXPECT_FALSE(Check(f).sound);
    f = Seed("rgb24.bmp");
    Put32(f, 22, static_cast<std::uint32_t>(-16));  // top-down rows are sound...
    EXPECT_TRUE(Check(f).sound);
    Put32(f, 22, 0x80000000u);  // ...the most negative height is not
    EXPECT_FALSE(Check(f).sound);
    Put32(f, 22, 0);
    EXPECT_FALSE(Check(f).sound);
    f = Seed("rle8.bmp");
    Put32(f, 22, static_cast<std::uint32_t>(-16));  // run-length rows cannot be top-down
    EXPECT_FALSE(Check(f).sound);
    f = Seed("rgb24.bmp");
    f[28] = 7;  // bits per pixel
    EXPECT_FALSE(Check(f).sound);
    f = Seed("rgb24.bmp");
    Put32(f, 18, 25);  // one more column than the rows hold
    EXPECT_FALSE(Check(f).sound);
}

// The header sizes the format has: the core header (12 bytes), the OS/2 2.x header (16 to 64
// bytes, which takes in the 40, 52 and 56 of the Windows versions), 108 and 124.  A colour
// table may hold more entries than the depth needs (the decoder takes what it needs), but all
// it claims lies before the pixels.
TEST(FileHeaders, BmpHeadersAndPalettesAsTheDecoderReadsThem)
{
    for (unsigned size = 13; size <= 130; ++size) {
        const bool sound = (size >= 16 && size <= 64) || size == 108 || size == 124;
        const FileHeader h = Check(PaletteBmpBytes(size, 8, 256, 0));
        EXPECT_EQ(h.sound, sound) << size << "-byte header";
        EXPECT_EQ(h.width, sound ? 24u : 0u) << size << "-byte header";
        EXPECT_EQ(h.height, sound ? 16u : 0u) << size << "-byte header";
    }
    const struct {
        unsigned bits, entries, used;
        bool sound;
    } tables[] = {
        {8, 300, 300, true}, {8, 300, 301, false}, {8, 256, 300, false}, {8, 255, 0, false},
        {4, 20, 20, true},   {4, 16, 17, false},   {2, 4, 0, true},      {2, 3, 0, false},
        {2, 5, 5, true},     {1, 3, 3, true},      {24, 300, 300, true}, {24, 299, 300, false},
        {24, 0, 0, true},
    };
    for (const auto& t : tables)
        EXPECT_EQ(Check(PaletteBmpBytes(40, t.bits, t.entries, t.used)).sound, t.sound)
            << t.bits << " bits, " << t.entries << " entries, " << t.used << " used";
}

// A JPEG of one component: the bytes between its start and its frame, a frame of width x
// height, a scan header, and scanBytes of data.
File Jpeg(const File& afterStart, unsigned width, unsigned height, std::size_t scanBytes, unsigned components = 1)
{
    File f = {0xFF, 0xD8};
    f.insert(f.end(), afterStart.begin(), afterStart.end());
    const unsigned length = 8 + 3 * components;
    f.insert(f.end(), {0xFF, 0xC0, static_cast<unsigned char>(length >> 8), static_cast<unsigned char>(length), 8,
                       static_cast<unsigned char>(height >> 8), static_cast<unsigned char>(height),
                       static_cast<unsigned char>(width >> 8), static_cast<unsigned char>(width),
                       static_cast<unsigned char>(components)});
    for (unsigned c = 0; c < components; ++c)
        f.insert(f.end(), {static_cast<unsigned char>(c + 1), 0x11, 0});
    f.insert(f.end(), {0xFF, 0xDA, 0, 8, 1, 1, 0x00, 0, 63, 0});
    f.insert(f.end(), scanBytes, 0x55);
    return f;
}

// The decoder takes a file for a JPEG by its first two bytes and finds each marker past bytes
// that are none (stray bytes, fill bytes, FF 00 pairs): the check finds the same frame, so a
// frame that claims more 8 x 8 blocks than its data has bits is refused however it is hidden.
TEST(FileHeaders, JpegFramesAreFoundWhereTheDecoderFindsThem)
{
    const FileHeader bypass = Check(Jpeg({0x00}, 65500, 8196, 1));
    EXPECT_EQ(bypass.kind, FileKind::Jpeg);
    EXPECT_FALSE(bypass.sound);
    for (const File& before : {File{}, File{0x00}, File{0x12, 0x34}, File{0xFF, 0x00}, File{0xFF, 0xFF, 0xFF}}) {
        // Two bytes of data hold 16 blocks: 128 x 8 pixels fit, 136 x 8 do not.
        for (unsigned width : {128u, 136u}) {
            const FileHeader h = Check(Jpeg(before, width, 8, 2));
            EXPECT_EQ(h.kind, FileKind::Jpeg);
            EXPECT_EQ(h.sound, width == 128) << before.size() << " bytes before the frame, " << width << " wide";
            EXPECT_EQ(h.width, width == 128 ? 128u : 0u);
        }
    }
    EXPECT_TRUE(Check(Jpeg({}, 24, 16, 8, 2)).sound);  // two components
    EXPECT_TRUE(Check(Jpeg({}, 24, 16, 8, 5)).sound);
    EXPECT_FALSE(Check(Jpeg({}, 24, 16, 8, 0)).sound);
    EXPECT_FALSE(Check(Jpeg({0xFF, 0xD8}, 24, 16, 8)).sound);  // a second start
    EXPECT_FALSE(Check(Jpeg({0xFF, 0xD9}, 24, 16, 8)).sound);  // an end before the picture
    EXPECT_FALSE(Check(Jpeg({0xFF, 0xDA, 0, 8, 1, 1, 0, 0, 63, 0, 0x55}, 24, 16, 8)).sound);  // a scan before its frame
}

// A GIF of one 24 x 16 picture, with a colour table for the screen, for the picture, or none.
File Gif(unsigned screenWidth, unsigned screenHeight, bool globalTable, bool localTable)
{
    File f = {'G', 'I', 'F', '8', '9', 'a', static_cast<unsigned char>(screenWidth), static_cast<unsigned char>(screenWidth >> 8),
              static_cast<unsigned char>(screenHeight), static_cast<unsigned char>(screenHeight >> 8),
              static_cast<unsigned char>(globalTable ? 0x80 : 0), 0, 0};
    f.insert(f.end(), globalTable ? 6 : 0, 0x40);
    f.insert(f.end(), {0x2C, 0, 0, 0, 0, 24, 0, 16, 0, static_cast<unsigned char>(localTable ? 0x80 : 0)});
    f.insert(f.end(), localTable ? 6 : 0, 0x80);
    f.insert(f.end(), {2, 2, 0x4C, 0x01, 0, 0x3B});
    return f;
}

// Pictures the decoder draws: with only their own colour tables, on a screen of any size (the
// decoder makes the picture as large as the screen and every frame).  A picture with no colour
// table at all crashes the platform decoder.
TEST(FileHeaders, GifScreensAndColourTablesAsTheDecoderReadsThem)
{
    const struct {
        unsigned screenWidth, screenHeight;
        bool globalTable, localTable, sound;
        unsigned width, height;
    } cases[] = {
        {24, 16, true, false, true, 24, 16}, {24, 16, false, true, true, 24, 16}, {24, 16, true, true, true, 24, 16},
        {24, 16, false, false, false, 0, 0}, {0, 0, true, false, true, 24, 16},  {10, 40, true, false, true, 24, 40},
        {0, 0, false, false, false, 0, 0},
    };
    for (const auto& c : cases) {
        const FileHeader h = Check(Gif(c.screenWidth, c.screenHeight, c.globalTable, c.localTable));
        EXPECT_EQ(h.sound, c.sound) << c.screenWidth << " x " << c.screenHeight << ", tables " << c.globalTable << c.localTable;
        EXPECT_EQ(h.width, c.width) << c.screenWidth << " x " << c.screenHeight;
        EXPECT_EQ(h.height, c.height) << c.screenWidth << " x " << c.screenHeight;
    }
}

TEST(FileHeaders, JpegPngGifTiffLiesAreRefused)
{
    File f = Seed("rgb.jpg");
    const std::size_t frame = Find(f, {0xFF, 0xC0});
    Put16Be(f, frame + 7, 32768);  // a frame far wider than its data
    EXPECT_FALSE(Check(f).sound);
    Put16Be(f, frame + 7, 0);
    EXPECT_FALSE(Check(f).sound);

    f = Seed("rgb16.png");
    Put32(f, 16, 100000, true);
    Put32(f, 20, 100000, true);
    EXPECT_FALSE(Check(f).sound);
    f = Seed("rgb16.png");
    Put32(f, 16, 0x80000000u, true);
    EXPECT_FALSE(Check(f).sound);
    f = Seed("rgb16.png");
    f[24] = 4;  // a depth colour type 2 does not have
    EXPECT_FALSE(Check(f).sound);
    f = Seed("rgb16.png");
    Put32(f, 16, 24 * 1000, true);  // more rows than the data can inflate to
    EXPECT_FALSE(Check(f).sound);

    // A palette of up to 256 entries at any depth: the decoder takes what the depth needs.
    f = Seed("palette.png");  // 8 bits, 16 entries
    const std::size_t plte = Find(f, {'P', 'L', 'T', 'E'}) - 4;
    for (unsigned char depth : {1, 2, 4}) {
        f[24] = depth;
        EXPECT_TRUE(Check(f).sound) << int{depth} << " bits";
    }
    for (unsigned entries : {256u, 257u}) {
        File g(f.begin(), f.begin() + static_cast<std::ptrdiff_t>(plte));
        const File rest(f.begin() + static_cast<std::ptrdiff_t>(plte + 12 + 16 * 3), f.end());
        g.resize(g.size() + 12 + 3 * entries, 0x40);
        Put32(g, plte, 3 * entries, true);
        std::memcpy(&g[plte + 4], "PLTE", 4);
        g.insert(g.end(), rest.begin(), rest.end());
        EXPECT_EQ(Check(g).sound, entries == 256) << entries << " entries";
    }

    f = Seed("still.gif");
    const std::size_t descriptor = Find(f, {0x2C, 0, 0, 0, 0});
    ASSERT_NE(descriptor, std::string::npos);
    f[descriptor + 5] = f[descriptor + 6] = 0;  // a picture of width 0
    EXPECT_FALSE(Check(f).sound);
    f = Seed("still.gif");
    f[descriptor + 10 + ((f[descriptor + 9] & 0x80) ? 3 * (2 << (f[descriptor + 9] & 7)) : 0)] = 12;  // code size
    EXPECT_FALSE(Check(f).sound);

    f = Seed("multipage.tif");
    const std::uint32_t first = f[4] | f[5] << 8 | f[6] << 16 | static_cast<std::uint32_t>(f[7]) << 24;
    const std::size_t entries = f[first] | f[first + 1] << 8;
    Put32(f, first + 2 + 12 * entries, first);  // the directory points to itself
    EXPECT_FALSE(Check(f).sound);
    f = Seed("lzw.tif");
    const std::size_t directory = f[4] | f[5] << 8;
    for (std::size_t entry = directory + 2; f[entry] | f[entry + 1] << 8; entry += 12)
        if ((f[entry] | f[entry + 1] << 8) == 318)  // the white point, which the decoder reads
            f[entry + 11] ^= 8;                      // its two fractions 128 MiB past the end
    EXPECT_FALSE(Check(f).sound);
    f = Seed("lzw.tif");
    f[directory + 2 + 12 * 13 + 2] = 16;  // an 8-byte type of the large variant, 2 MiB of values
    f[directory + 2 + 12 * 13 + 6] = 4;
    EXPECT_FALSE(Check(f).sound);
}

// Each format by the leading bytes its platform decoder goes by, and by those alone: whatever
// follows them, the file is checked as that format and never passes as another kind.
TEST(FileHeaders, EachFormatIsKnownByItsDecodersSignatureAlone)
{
    const struct {
        File signature;
        FileKind kind;
    } signatures[] = {
        {{'B', 'M'}, FileKind::Bmp},
        {{0xFF, 0xD8}, FileKind::Jpeg},
        {{'G', 'I', 'F', '8', '7', 'a'}, FileKind::Gif},
        {{'G', 'I', 'F', '8', '9', 'a'}, FileKind::Gif},
        {{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}, FileKind::Png},
        {{'I', 'I', 42, 0}, FileKind::Tiff},
        {{'M', 'M', 0, 42}, FileKind::Tiff},
        {{0, 0, 1, 0}, FileKind::Other},     // icons
        {{1, 0, 0, 0}, FileKind::Other},     // enhanced metafiles
        {{0xD7, 0xCD}, FileKind::Other},     // placeable metafiles
    };
    for (const auto& s : signatures)
        for (unsigned char fill : {0x00, 0x5A, 0xFF}) {
            File f = s.signature;
            f.resize(64, fill);
            // Every length from the signature on, each in a block of its own size, so that a
            // read past the end is seen.
            for (std::size_t length = s.signature.size(); length <= f.size(); ++length) {
                const File exact(f.begin(), f.begin() + static_cast<std::ptrdiff_t>(length));
                const FileHeader h = Check(exact);
                EXPECT_EQ(h.kind, s.kind) << int{s.signature[0]} << " then " << int{fill} << ", " << length << " bytes";
                EXPECT_FALSE(h.sound);
            }
        }
}

// Every file that once crashed or hung the platform decoder stays refused, checked as the format
// the decoder takes it for.
TEST(FileHeaders, EveryCrasherIsRefused)
{
    int count = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(KRT_SOURCE_DIR) + "/tests/hostile/crashers")) {
        const File f = ReadFile(entry.path().string());
        ASSERT_FALSE(f.empty()) << entry.path();
        const FileHeader h = Check(f);
        EXPECT_NE(h.kind, FileKind::Other) << entry.path();
        EXPECT_FALSE(h.sound) << entry.path();
        ++count;
    }
    EXPECT_GE(count, 5);
}

TEST(FileHeaders, OtherKindsAreLeftToTheDecoderAndDecodedSizesAreBounded)
{
    const unsigned char icon[] = {0, 0, 1, 0, 1, 0, 16, 16, 0, 0, 1, 0, 32, 0};
    const FileHeader h = CheckImageFile(icon, sizeof icon);
    EXPECT_EQ(h.kind, FileKind::Other);
    EXPECT_FALSE(h.sound);
    EXPECT_TRUE(DecodedSizeFits(1, 1));
    EXPECT_TRUE(DecodedSizeFits(kMaxFilePixels, 1));
    EXPECT_FALSE(DecodedSizeFits(0, 5));
    EXPECT_FALSE(DecodedSizeFits(2147483647u, 1024));
    EXPECT_FALSE(DecodedSizeFits(100000, 100000));
}

}  // namespace
