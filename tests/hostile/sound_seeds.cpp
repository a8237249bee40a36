#include "sound_seeds.h"

#include <algorithm>
#include <cstddef>

namespace {

using Bytes = std::vector<unsigned char>;

void Le16(Bytes& b, unsigned v)
{
    b.push_back(static_cast<unsigned char>(v));
    b.push_back(static_cast<unsigned char>(v >> 8));
}
void Le32(Bytes& b, std::uint32_t v)
{
    Le16(b, v & 0xFFFF);
    Le16(b, v >> 16);
}
void Be16(Bytes& b, unsigned v)
{
    b.push_back(static_cast<unsigned char>(v >> 8));
    b.push_back(static_cast<unsigned char>(v));
}

// Distinct colours for the 256 indices (37, 91 and 53 are odd, so every channel is a
// permutation of 0 to 255), and a pattern of indices that no flip or shift maps onto itself.
std::uint32_t PaletteColour(unsigned i)
{
    return ((i * 37 + 11) & 0xFF) << 16 | ((i * 91 + 50) & 0xFF) << 8 | ((i * 53 + 200) & 0xFF);
}
unsigned IndexAt(int x, int y, unsigned count) { return static_cast<unsigned>(x * 5 + y * 3 + x * y / 4) % count; }
std::uint32_t DirectColour(int x, int y)
{
    return static_cast<std::uint32_t>((x * 10 + 7) << 16 | (y * 15 + 3) << 8 | ((x * y) & 0xFF));
}

// ---- BMP -----------------------------------------------------------------------------------

// A bottom-up uncompressed BMP of `headerSize` bytes of header (fields past the header's end
// are simply absent), with a table of `tableEntries` 4-byte colours and `coloursUsed` in the
// header when it has that field.  Pixels are indices for depths up to 8, colours above.
Bytes Bmp(unsigned headerSize, unsigned bits, unsigned tableEntries, unsigned coloursUsed,
          const std::function<std::uint32_t(int, int)>& value)
{
    const int w = kSoundSeedWidth, h = kSoundSeedHeight;
    const std::size_t stride = (static_cast<std::size_t>(w) * bits + 31) / 32 * 4;
    const std::size_t bitsOffset = 14 + headerSize + 4 * static_cast<std::size_t>(tableEntries);
    Bytes b = {'B', 'M'};
    Le32(b, static_cast<std::uint32_t>(bitsOffset + stride * h));
    Le32(b, 0);
    Le32(b, static_cast<std::uint32_t>(bitsOffset));
    Bytes header;
    Le32(header, headerSize);
    Le32(header, w);
    Le32(header, h);
    Le16(header, 1);
    Le16(header, bits);
    Le32(header, 0);  // uncompressed
    Le32(header, static_cast<std::uint32_t>(stride * h));
    Le32(header, 2834);
    Le32(header, 2834);
    Le32(header, coloursUsed);
    Le32(header, 0);
    header.resize(headerSize, 0);  // cut short, or the OS/2 fields left 0
    b.insert(b.end(), header.begin(), header.end());
    for (unsigned i = 0; i < tableEntries; ++i)
        Le32(b, PaletteColour(i));
    for (int y = h - 1; y >= 0; --y) {
        Bytes row(stride, 0);
        for (int x = 0; x < w; ++x) {
            const std::uint32_t v = value(x, y);
            if (bits <= 8) {
                const std::size_t bit = static_cast<std::size_t>(x) * bits;
                row[bit / 8] |= static_cast<unsigned char>(v << (8 - bits - bit % 8));
            } else {
                row[3 * x] = static_cast<unsigned char>(v);
                row[3 * x + 1] = static_cast<unsigned char>(v >> 8);
                row[3 * x + 2] = static_cast<unsigned char>(v >> 16);
            }
        }
        b.insert(b.end(), row.begin(), row.end());
    }
    return b;
}

SoundSeed PaletteBmp(const char* name, unsigned headerSize, unsigned bits, unsigned tableEntries,
                     unsigned coloursUsed)
{
    const unsigned used = 1u << bits;
    return {name, PaletteBmpBytes(headerSize, bits, tableEntries, coloursUsed),
            [=](int x, int y) { return PaletteColour(IndexAt(x, y, used)); }};
}

// ---- GIF -----------------------------------------------------------------------------------

// LZW data that codes every pixel as a literal: a clear code before the table would grow past
// codeSize + 1 bits, so that every code has that width.
Bytes LiteralLzw(const std::vector<unsigned>& pixels, unsigned codeSize)
{
    const unsigned clear = 1u << codeSize, width = codeSize + 1;
    std::vector<unsigned> codes = {clear};
    unsigned run = 0;
    for (unsigned p : pixels) {
        if (run == clear - 2) {
            codes.push_back(clear);
            run = 0;
        }
        codes.push_back(p);
        ++run;
    }
    codes.push_back(clear + 1);  // end of information
    Bytes out;
    std::uint32_t bits = 0;
    unsigned count = 0;
    for (unsigned code : codes) {
        bits |= code << count;
        count += width;
        for (; count >= 8; count -= 8, bits >>= 8)
            out.push_back(static_cast<unsigned char>(bits));
    }
    if (count)
        out.push_back(static_cast<unsigned char>(bits));
    return out;
}

void ColourTable(Bytes& b, unsigned entries, unsigned first)
{
    for (unsigned i = 0; i < entries; ++i) {
        const std::uint32_t c = PaletteColour(first + i);
        b.insert(b.end(), {static_cast<unsigned char>(c >> 16), static_cast<unsigned char>(c >> 8),
                           static_cast<unsigned char>(c)});
    }
}

// A whole-screen picture of 16 colours: its own table when `first` is set, then the code size
// and the data in sub-blocks, with the terminator when `terminated`.
void GifPicture(Bytes& b, bool localTable, unsigned first, unsigned shift, bool terminated)
{
    b.push_back(0x2C);
    Le16(b, 0);
    Le16(b, 0);
    Le16(b, kSoundSeedWidth);
    Le16(b, kSoundSeedHeight);
    b.push_back(localTable ? 0x83 : 0x00);
    if (localTable)
        ColourTable(b, 16, first);
    std::vector<unsigned> pixels;
    for (int y = 0; y < kSoundSeedHeight; ++y)
        for (int x = 0; x < kSoundSeedWidth; ++x)
            pixels.push_back(IndexAt(x + static_cast<int>(shift), y, 16));
    const Bytes data = LiteralLzw(pixels, 4);
    b.push_back(4);
    for (std::size_t at = 0; at < data.size(); at += 255) {
        const std::size_t n = std::min<std::size_t>(255, data.size() - at);
        b.push_back(static_cast<unsigned char>(n));
        b.insert(b.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
                 data.begin() + static_cast<std::ptrdiff_t>(at + n));
    }
    if (terminated)
        b.push_back(0);
}

Bytes GifScreen(bool globalTable)
{
    Bytes b = {'G', 'I', 'F', '8', '9', 'a'};
    Le16(b, kSoundSeedWidth);
    Le16(b, kSoundSeedHeight);
    b.insert(b.end(), {static_cast<unsigned char>(globalTable ? 0xB3 : 0x00), 0, 0});
    if (globalTable)
        ColourTable(b, 16, 0);
    return b;
}

std::uint32_t GifColour(int x, int y) { return PaletteColour(IndexAt(x, y, 16)); }

// Two pictures, each with its own table and no table for the screen: the first is shown.
SoundSeed LocalTablesGif()
{
    Bytes b = GifScreen(false);
    GifPicture(b, true, 0, 0, true);
    GifPicture(b, true, 100, 3, true);
    b.push_back(0x3B);
    return {"local-tables.gif", b, GifColour};
}

// The data of the only picture ends with the file: whole sub-blocks, no terminator, no trailer.
SoundSeed ShortDataGif()
{
    Bytes b = GifScreen(true);
    GifPicture(b, false, 0, 0, false);
    return {"short-data.gif", b, GifColour};
}

// ---- JPEG ----------------------------------------------------------------------------------

struct BitWriter {
    Bytes out;
    unsigned bits = 0, count = 0;
    void Put(unsigned value, unsigned n)
    {
        for (unsigned i = n; i-- > 0;) {
            bits = bits << 1 | ((value >> i) & 1);
            if (++count == 8) {
                out.push_back(static_cast<unsigned char>(bits));
                if (bits == 0xFF)
                    out.push_back(0);  // stuffed: no marker
                bits = count = 0;
            }
        }
    }
    void Flush()
    {
        while (count)
            Put(1, 1);
    }
};

void Segment(Bytes& b, unsigned marker, const Bytes& body)
{
    b.insert(b.end(), {0xFF, static_cast<unsigned char>(marker)});
    Be16(b, static_cast<unsigned>(body.size() + 2));
    b.insert(b.end(), body.begin(), body.end());
}

// The level of each 8 x 8 block of the first component.
unsigned BlockLevel(int blockX, int blockY) { return static_cast<unsigned>(40 + 60 * blockX + 30 * blockY); }

// A baseline JPEG whose blocks are flat: quantiser 1 everywhere, DC differences coded with one
// 4-bit code per category, and every block ended at once.  A flat block of level L has the DC
// coefficient 8 (L - 128), which the inverse transform gives back exactly.  Component 1 has
// BlockLevel, the others `otherLevel`; every component is sampled 1 x 1 in one interleaved scan.
Bytes FlatJpeg(unsigned components, unsigned otherLevel, const Bytes& afterStart)
{
    Bytes b = afterStart;
    b.insert(b.begin(), {0xFF, 0xD8});
    Bytes quant = {0};
    quant.resize(65, 1);
    Segment(b, 0xDB, quant);
    Bytes frame = {8};
    Be16(frame, kSoundSeedHeight);
    Be16(frame, kSoundSeedWidth);
    frame.push_back(static_cast<unsigned char>(components));
    for (unsigned c = 0; c < components; ++c)
        frame.insert(frame.end(), {static_cast<unsigned char>(c + 1), 0x11, 0});
    Segment(b, 0xC0, frame);
    Bytes dc = {0x00, 0, 0, 0, 12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    for (unsigned char category = 0; category < 12; ++category)
        dc.push_back(category);
    Segment(b, 0xC4, dc);
    Segment(b, 0xC4, {0x10, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x00});
    Bytes scan = {static_cast<unsigned char>(components)};
    for (unsigned c = 0; c < components; ++c)
        scan.insert(scan.end(), {static_cast<unsigned char>(c + 1), 0x00});
    scan.insert(scan.end(), {0, 63, 0});
    Segment(b, 0xDA, scan);
    BitWriter coded;
    std::vector<int> previous(components, 0);
    for (int by = 0; by < (kSoundSeedHeight + 7) / 8; ++by)
        for (int bx = 0; bx < (kSoundSeedWidth + 7) / 8; ++bx)
            for (unsigned c = 0; c < components; ++c) {
                const int dcValue = 8 * (static_cast<int>(c == 0 ? BlockLevel(bx, by) : otherLevel) - 128);
                const int difference = dcValue - previous[c];
                previous[c] = dcValue;
                unsigned category = 0;
                for (int magnitude = difference < 0 ? -difference : difference; magnitude; magnitude >>= 1)
                    ++category;
                coded.Put(category, 4);
                coded.Put(static_cast<unsigned>(difference < 0 ? difference + (1 << category) - 1 : difference),
                          category);
                coded.Put(0, 1);  // end of block
            }
    coded.Flush();
    b.insert(b.end(), coded.out.begin(), coded.out.end());
    b.insert(b.end(), {0xFF, 0xD9});
    return b;
}

std::uint32_t GreyBlocks(int x, int y)
{
    const std::uint32_t level = BlockLevel(x / 8, y / 8);
    return level << 16 | level << 8 | level;
}

}  // namespace

std::vector<unsigned char> PaletteBmpBytes(unsigned headerSize, unsigned bits, unsigned tableEntries,
                                           unsigned coloursUsed)
{
    return Bmp(headerSize, bits, tableEntries, coloursUsed, [=](int x, int y) { return IndexAt(x, y, 1u << bits); });
}

std::vector<SoundSeed> SoundSeeds()
{
    return {
        PaletteBmp("os2v2-16.bmp", 16, 4, 16, 0),
        PaletteBmp("os2v2-64.bmp", 64, 8, 256, 0),
        PaletteBmp("pal8-300-colours.bmp", 40, 8, 300, 300),
        {"rgb24-300-colours.bmp", Bmp(40, 24, 300, 300, DirectColour), DirectColour},
        PaletteBmp("pal2.bmp", 40, 2, 4, 0),
        LocalTablesGif(),
        ShortDataGif(),
        {"two-components.jpg", FlatJpeg(2, 100, {}), {}},
        // The decoder finds its markers past bytes that are none.
        {"stray-byte.jpg", FlatJpeg(1, 0, {0x00}), GreyBlocks},
    };
}
