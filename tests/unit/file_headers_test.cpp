// Image file headers: every sound seed of the hostile-file corpus is accepted with its size, and
// the lies a decoder would believe are refused.
#include "image/file_headers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using File = std::vector<unsigned char>;

File Seed(const std::string& name)
{
    std::ifstream in(std::string(KRT_SOURCE_DIR) + "/tests/hostile/seeds/" + name, std::ios::binary);
    return File(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

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
        // strips and first directory of a TIFF, the first picture of a GIF (its trailer aside) and
        // a JPEG's headers (its scan has no length of its own).  Run-length data is the
        // decoder's to walk.
        std::size_t needed = f.size();
        if (seed.kind == FileKind::Bmp) {
            const std::size_t offset = f[10] | f[11] << 8, bits = f[28], width = f[18];
            needed = f[30] != 0 ? offset + 2 : f.size() - ((width * bits + 31) / 32 * 4 - (width * bits + 7) / 8);
        } else if (seed.kind == FileKind::Jpeg) {
            needed = Find(f, {0xFF, 0xDA}) + 1;
        } else if (seed.kind == FileKind::Gif) {
            needed = std::string(seed.name) == "animated.gif" ? Find(f, {0x21, 0xF9}, 40) : f.size() - 1;
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
    Put32(f, 46, 257);
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

    f = Seed("still.gif");
    f[6] = f[7] = 0;  // a screen of width 0
    EXPECT_FALSE(Check(f).sound);
    f = Seed("still.gif");
    const std::size_t descriptor = Find(f, {0x2C, 0, 0, 0, 0});
    ASSERT_NE(descriptor, std::string::npos);
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
