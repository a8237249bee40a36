#include "mutate.h"

#include <cstring>

namespace {

struct Random {
    std::uint64_t state;
    std::uint64_t Next()
    {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    }
    std::uint64_t Below(std::uint64_t n) { return n ? Next() % n : 0; }
};

// Sizes a lying header claims: none, one, the 16-bit and 31-bit edges, negative, and huge.
constexpr std::uint32_t kLies[] = {0,          1,          255,        65535,      65536,      100000,
                                   32768,      1u << 29,   0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0xFFFFFFF0};

void Put(FileBytes& f, std::size_t at, std::uint32_t v, int bytes, bool bigEndian)
{
    for (int i = 0; i < bytes && at + i < f.size(); ++i)
        f[at + i] = static_cast<unsigned char>(v >> (8 * (bigEndian ? bytes - 1 - i : i)));
}

std::size_t Find(const FileBytes& f, const char* pattern, std::size_t length, std::size_t from = 0)
{
    for (std::size_t i = from; i + length <= f.size(); ++i)
        if (std::memcmp(&f[i], pattern, length) == 0)
            return i;
    return f.size();
}

unsigned Get16(const FileBytes& f, std::size_t at, bool big)
{
    return at + 1 < f.size() ? (big ? f[at] << 8 | f[at + 1] : f[at] | f[at + 1] << 8) : 0;
}

std::uint32_t Get32(const FileBytes& f, std::size_t at, bool big)
{
    return big ? static_cast<std::uint32_t>(Get16(f, at, true)) << 16 | Get16(f, at + 2, true)
               : Get16(f, at, false) | static_cast<std::uint32_t>(Get16(f, at + 2, false)) << 16;
}

// A TIFF field of the first directory: the place of its value inside the entry.
std::size_t TiffField(const FileBytes& f, unsigned tag, bool& big)
{
    big = !f.empty() && f[0] == 'M';
    const std::size_t directory = Get32(f, 4, big);
    const unsigned entries = Get16(f, directory, big);
    for (unsigned i = 0; i < entries; ++i) {
        const std::size_t entry = directory + 2 + 12 * i;
        if (entry + 12 > f.size())
            break;
        if (Get16(f, entry, big) == tag)
            return entry + 8;
    }
    return f.size();
}

void LieAboutSize(FileBytes& f, Random& r, std::string& how)
{
    const std::uint32_t w = kLies[r.Below(sizeof kLies / sizeof kLies[0])];
    const std::uint32_t h = kLies[r.Below(sizeof kLies / sizeof kLies[0])];
    const bool which = r.Below(3) != 0;  // sometimes only the width
    how = "size " + std::to_string(w) + (which ? " x " + std::to_string(h) : " wide");
    if (f.size() < 8)
        return;
    if (f[0] == 'B' && f[1] == 'M') {
        Put(f, 18, w, 4, false);
        if (which)
            Put(f, 22, h, 4, false);
    } else if (f[0] == 0x89) {
        Put(f, 16, w, 4, true);
        if (which)
            Put(f, 20, h, 4, true);
    } else if (f[0] == 'G') {
        const bool frame = r.Below(2);  // the screen, or the first picture
        const std::size_t at = frame ? Find(f, "\x2C", 1, 13) + 5 : 6;
        Put(f, at, w, 2, false);
        if (which)
            Put(f, at + 2, h, 2, false);
    } else if (f[0] == 0xFF) {
        std::size_t frame = f.size();
        for (const char* sof : {"\xFF\xC0", "\xFF\xC2"})
            if (Find(f, sof, 2) < frame)
                frame = Find(f, sof, 2);
        Put(f, frame + 7, w, 2, true);
        if (which)
            Put(f, frame + 5, h, 2, true);
    } else {
        bool big;
        const std::size_t width = TiffField(f, 256, big), height = TiffField(f, 257, big);
        const int bytes = width + 2 <= f.size() && Get16(f, width - 6, big) == 3 ? 2 : 4;
        Put(f, width, w, bytes, big);
        if (which)
            Put(f, height, h, bytes, big);
    }
}

void LieAboutPalette(FileBytes& f, Random& r, std::string& how)
{
    const std::uint32_t count = kLies[r.Below(sizeof kLies / sizeof kLies[0])] + static_cast<std::uint32_t>(r.Below(3));
    how = "palette " + std::to_string(count);
    if (f.size() < 8)
        return;
    if (f[0] == 'B' && f[1] == 'M') {
        Put(f, 46, count, 4, false);
    } else if (f[0] == 0x89) {
        Put(f, Find(f, "PLTE", 4) - 4, count, 4, true);
    } else if (f[0] == 'G') {
        f[10] = static_cast<unsigned char>((f[10] & 0xF8) | (count & 7));
    } else if (f[0] != 0xFF) {
        bool big;
        const std::size_t map = TiffField(f, 320, big);
        Put(f, map - 4, count, 4, big);
        if (map == f.size())  // no colour map: lie about the samples instead
            Put(f, TiffField(f, 277, big), count & 0xFFFF, 2, big);
    } else {
        Put(f, Find(f, "\xFF\xC4", 2) + 2, count, 2, true);  // a table's length
    }
}

}  // namespace

Mutant Mutate(const FileBytes& seed, std::uint64_t n)
{
    Random r = {0x9E3779B97F4A7C15ull ^ (n * 0xBF58476D1CE4E5B9ull) ^ seed.size()};
    for (int i = 0; i < 4; ++i)
        r.Next();
    Mutant m = {seed, {}};
    FileBytes& f = m.bytes;
    switch (n % 7) {
    case 0: {
        const std::size_t length = static_cast<std::size_t>(r.Below(f.size()));
        f.resize(length);
        m.how = "cut to " + std::to_string(length);
        break;
    }
    case 1: {
        const int flips = 1 + static_cast<int>(r.Below(8));
        for (int i = 0; i < flips && !f.empty(); ++i) {
            // Mostly in the headers, where the decisions are made.
            const std::size_t span = r.Below(4) ? std::min<std::size_t>(f.size(), 128) : f.size();
            f[r.Below(span)] ^= static_cast<unsigned char>(1u << r.Below(8));
        }
        m.how = std::to_string(flips) + " bit flips";
        break;
    }
    case 2:
    case 3:
        LieAboutSize(f, r, m.how);
        if (r.Below(2) && !f.empty())
            f.resize(f.size() - r.Below(f.size() / 2 + 1));
        break;
    case 4:
        LieAboutPalette(f, r, m.how);
        break;
    case 5: {
        const std::size_t from = r.Below(std::min<std::size_t>(f.size(), 96)), count = 1 + r.Below(16);
        for (std::size_t i = 0; i < count && from + i < f.size(); ++i)
            f[from + i] = static_cast<unsigned char>(r.Next());
        m.how = "scribbled header at " + std::to_string(from);
        break;
    }
    default: {
        // A block of the file copied over another place: repeated markers, chunks, directories.
        if (f.size() > 4) {
            const std::size_t from = r.Below(f.size()), to = r.Below(f.size());
            const std::size_t count = 1 + r.Below(std::min<std::size_t>(64, f.size() - std::max(from, to)));
            std::memmove(&f[to], &f[from], count);
            m.how = "spliced " + std::to_string(count) + " bytes";
        }
        break;
    }
    }
    return m;
}
