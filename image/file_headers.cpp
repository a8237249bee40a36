#include "image/file_headers.h"

#include <cstring>
#include <vector>

namespace {

using U64 = std::uint64_t;

// Bounds-checked reads: every read names the offset it needs and fails outside the file.
struct Bytes {
    const unsigned char* data;
    std::size_t size;

    bool Has(U64 offset, U64 count) const { return offset <= size && count <= size - offset; }
    unsigned U8(U64 at) const { return data[at]; }
    unsigned Le16(U64 at) const { return data[at] | static_cast<unsigned>(data[at + 1]) << 8; }
    unsigned Be16(U64 at) const { return static_cast<unsigned>(data[at]) << 8 | data[at + 1]; }
    std::uint32_t Le32(U64 at) const { return Le16(at) | static_cast<std::uint32_t>(Le16(at + 2)) << 16; }
    std::uint32_t Be32(U64 at) const { return static_cast<std::uint32_t>(Be16(at)) << 16 | Be16(at + 2); }
};

FileHeader Refused(FileKind kind) { return {kind, false, 0, 0}; }

FileHeader Accepted(FileKind kind, U64 width, U64 height)
{
    if (!DecodedSizeFits(width, height))
        return Refused(kind);
    return {kind, true, static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height)};
}

// ---- BMP ---------------------------------------------------------------------------------------

constexpr std::uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitFields = 3;

FileHeader CheckBmp(const Bytes& f)
{
    const FileKind kind = FileKind::Bmp;
    if (!f.Has(0, 18))
        return Refused(kind);
    const U64 bitsOffset = f.Le32(10);
    const U64 headerSize = f.Le32(14);
    if (!f.Has(14, headerSize) || bitsOffset > f.size)
        return Refused(kind);
    U64 width, height;
    unsigned planes, bits;
    std::uint32_t compression = kBiRgb, coloursUsed = 0;
    U64 entryBytes = 4;
    bool topDown = false;
    if (headerSize == 12) {  // the old core header: 16-bit sizes, 3-byte colour entries
        width = f.Le16(18);
        height = f.Le16(20);
        planes = f.Le16(22);
        bits = f.Le16(24);
        entryBytes = 3;
        if (bits != 1 && bits != 4 && bits != 8 && bits != 24)
            return Refused(kind);
    } else if (headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 108 || headerSize == 124) {
        const std::int32_t w = static_cast<std::int32_t>(f.Le32(18));
        const std::int32_t h = static_cast<std::int32_t>(f.Le32(22));
        if (w <= 0 || h == 0 || h == INT32_MIN)
            return Refused(kind);
        width = static_cast<U64>(w);
        topDown = h < 0;
        height = static_cast<U64>(topDown ? -static_cast<std::int64_t>(h) : h);
        planes = f.Le16(26);
        bits = f.Le16(28);
        compression = f.Le32(30);
        coloursUsed = f.Le32(46);
    } else {
        return Refused(kind);
    }
    if (planes != 1 || width == 0 || height == 0)
        return Refused(kind);
    switch (compression) {
    case kBiRgb:
        if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
            return Refused(kind);
        break;
    case kBiRle8:
    case kBiRle4:
        // Run-length rows are stored from the bottom up only.
        if (bits != (compression == kBiRle8 ? 8u : 4u) || topDown)
            return Refused(kind);
        break;
    case kBiBitFields:
        if (bits != 16 && bits != 32)
            return Refused(kind);
        break;
    default:
        return Refused(kind);  // embedded JPEG or PNG data, or nothing this format defines
    }
    // The colour table: all 2^bits entries unless fewer are named, never more than that (or 256
    // for the optional table of a deeper picture), and wholly before the pixels.
    const U64 most = bits <= 8 ? U64{1} << bits : 256;
    U64 colours = coloursUsed != 0 ? coloursUsed : (bits <= 8 ? most : 0);
    if (colours > most)
        return Refused(kind);
    U64 tableStart = 14 + headerSize;
    if (compression == kBiBitFields && headerSize == 40)
        tableStart += 12;  // the three masks follow the short header
    const U64 tableEnd = tableStart + colours * entryBytes;
    if (tableEnd > bitsOffset || !f.Has(tableStart, tableEnd - tableStart))
        return Refused(kind);
    if (width * height > kMaxFilePixels)
        return Refused(kind);
    const U64 dataBytes = f.size - bitsOffset;
    if (compression == kBiRle8 || compression == kBiRle4) {
        if (dataBytes < 2)
            return Refused(kind);
    } else {
        // Every row whole; the last row's padding may be missing.
        const U64 rowBytes = (width * bits + 7) / 8;
        const U64 stride = (width * bits + 31) / 32 * 4;
        if (stride * (height - 1) + rowBytes > dataBytes)
            return Refused(kind);
    }
    return Accepted(kind, width, height);
}

// ---- PNG ---------------------------------------------------------------------------------------

constexpr unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
// Deflate turns no more than 1032 output bytes out of one input byte.
constexpr U64 kDeflateMaxRatio = 1032;

bool ChunkIs(const Bytes& f, U64 at, const char* type) { return std::memcmp(f.data + at, type, 4) == 0; }

FileHeader CheckPng(const Bytes& f)
{
    const FileKind kind = FileKind::Png;
    if (!f.Has(8, 8 + 13 + 4) || f.Be32(8) != 13 || !ChunkIs(f, 12, "IHDR"))
        return Refused(kind);
    const U64 width = f.Be32(16), height = f.Be32(20);
    const unsigned depth = f.U8(24), colourType = f.U8(25);
    if (width == 0 || height == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF)
        return Refused(kind);
    if (f.U8(26) != 0 || f.U8(27) != 0 || f.U8(28) > 1)
        return Refused(kind);
    unsigned channels;
    bool depthAllowed;
    switch (colourType) {
    case 0: channels = 1; depthAllowed = depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16; break;
    case 2: channels = 3; depthAllowed = depth == 8 || depth == 16; break;
    case 3: channels = 1; depthAllowed = depth == 1 || depth == 2 || depth == 4 || depth == 8; break;
    case 4: channels = 2; depthAllowed = depth == 8 || depth == 16; break;
    case 6: channels = 4; depthAllowed = depth == 8 || depth == 16; break;
    default: return Refused(kind);
    }
    if (!depthAllowed || width * height > kMaxFilePixels)
        return Refused(kind);
    // Walk every chunk to IEND, each wholly inside the file.
    U64 at = 8, compressed = 0;
    bool palette = false, data = false;
    for (;;) {
        if (!f.Has(at, 12))
            return Refused(kind);
        const U64 length = f.Be32(at);
        if (length > 0x7FFFFFFF || !f.Has(at + 8, length + 4))
            return Refused(kind);
        if (ChunkIs(f, at + 4, "PLTE")) {
            const U64 most = colourType == 3 ? U64{1} << depth : 256;
            if (palette || data || length == 0 || length % 3 != 0 || length / 3 > most)
                return Refused(kind);
            palette = true;
        } else if (ChunkIs(f, at + 4, "IDAT")) {
            data = true;
            compressed += length;
        } else if (ChunkIs(f, at + 4, "IEND")) {
            break;
        }
        at += 12 + length;
    }
    if (!data || (colourType == 3 && !palette))
        return Refused(kind);
    // The filtered rows the compressed data must inflate to (interlaced passes only add bytes).
    const U64 rows = height * (1 + (width * channels * depth + 7) / 8);
    if (rows > compressed * kDeflateMaxRatio)
        return Refused(kind);
    return Accepted(kind, width, height);
}

// ---- GIF ---------------------------------------------------------------------------------------

// Skips a run of data sub-blocks from `at`; false when it runs past the file.
bool SkipSubBlocks(const Bytes& f, U64& at)
{
    for (;;) {
        if (!f.Has(at, 1))
            return false;
        const unsigned length = f.U8(at);
        ++at;
        if (length == 0)
            return true;
        if (!f.Has(at, length))
            return false;
        at += length;
    }
}

FileHeader CheckGif(const Bytes& f)
{
    const FileKind kind = FileKind::Gif;
    if (!f.Has(0, 13))
        return Refused(kind);
    const U64 width = f.Le16(6), height = f.Le16(8);
    const unsigned flags = f.U8(10);
    U64 at = 13;
    if (flags & 0x80)
        at += 3 * (U64{2} << (flags & 7));
    if (width == 0 || height == 0 || !f.Has(0, at))
        return Refused(kind);
    // Every block up to the first picture's data, which must be whole; the frames after it
    // (an animation) are the decoder's, which shows the first.
    for (;;) {
        if (!f.Has(at, 1))
            return Refused(kind);
        const unsigned introducer = f.U8(at);
        if (introducer == 0x21) {  // an extension: its label, then sub-blocks
            at += 2;
            if (!SkipSubBlocks(f, at))
                return Refused(kind);
        } else if (introducer == 0x2C) {
            if (!f.Has(at, 11))
                return Refused(kind);
            const U64 left = f.Le16(at + 1), top = f.Le16(at + 3);
            const U64 frameWidth = f.Le16(at + 5), frameHeight = f.Le16(at + 7);
            const unsigned frameFlags = f.U8(at + 9);
            if (frameWidth == 0 || frameHeight == 0 || left + frameWidth > 0xFFFF || top + frameHeight > 0xFFFF)
                return Refused(kind);
            at += 10;
            if (frameFlags & 0x80)
                at += 3 * (U64{2} << (frameFlags & 7));
            else if (!(flags & 0x80))
                return Refused(kind);  // no colour table at all
            if (!f.Has(at, 1))
                return Refused(kind);
            const unsigned codeSize = f.U8(at);
            ++at;
            if (codeSize < 2 || codeSize > 8 || !SkipSubBlocks(f, at))
                return Refused(kind);
            return Accepted(kind, width, height);
        } else {
            return Refused(kind);  // the trailer (or anything else) before any picture
        }
    }
}

// ---- JPEG --------------------------------------------------------------------------------------

bool IsFrameMarker(unsigned m)
{
    return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC;
}

FileHeader CheckJpeg(const Bytes& f)
{
    const FileKind kind = FileKind::Jpeg;
    U64 at = 2;
    U64 width = 0, height = 0;
    unsigned frame = 0;
    for (;;) {
        // A marker: fill bytes of 0xFF, then its code.
        if (!f.Has(at, 2) || f.U8(at) != 0xFF)
            return Refused(kind);
        while (f.Has(at, 2) && f.U8(at + 1) == 0xFF)
            ++at;
        if (!f.Has(at, 2))
            return Refused(kind);
        const unsigned marker = f.U8(at + 1);
        at += 2;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            continue;  // no length
        if (marker == 0xD8 || marker == 0xD9 || marker == 0x00)
            return Refused(kind);  // a second start, an end before the picture, or no marker
        if (!f.Has(at, 2))
            return Refused(kind);
        const U64 length = f.Be16(at);
        if (length < 2 || !f.Has(at, length))
            return Refused(kind);
        if (IsFrameMarker(marker)) {
            if (frame || length < 8)
                return Refused(kind);
            const unsigned precision = f.U8(at + 2);
            height = f.Be16(at + 3);
            width = f.Be16(at + 5);
            const unsigned components = f.U8(at + 7);
            if ((precision != 8 && precision != 12) || width == 0 || height == 0 ||
                (components != 1 && components != 3 && components != 4) || length != 8 + 3 * U64{components})
                return Refused(kind);
            for (unsigned c = 0; c < components; ++c) {
                const unsigned sampling = f.U8(at + 8 + 3 * c + 1);
                if ((sampling >> 4) < 1 || (sampling >> 4) > 4 || (sampling & 15) < 1 || (sampling & 15) > 4 ||
                    f.U8(at + 8 + 3 * c + 2) > 3)
                    return Refused(kind);
            }
            frame = marker;
        } else if (marker == 0xDA) {
            if (!frame)
                return Refused(kind);
            const U64 scanBytes = f.size - (at + length);
            if (scanBytes == 0)
                return Refused(kind);
            // Huffman-coded blocks take at least a bit each in the first scan that holds them
            // (a 1-bit DC code; sequential scans add at least a 1-bit end of block): a frame
            // claiming more 8 x 8 blocks than its data has bits is not a picture.
            const bool huffman = frame == 0xC0 || frame == 0xC1 || frame == 0xC2;
            const U64 blocks = ((width + 7) / 8) * ((height + 7) / 8);
            if (huffman && blocks > 8 * scanBytes)
                return Refused(kind);
            return Accepted(kind, width, height);
        }
        at += length;
    }
}

// ---- TIFF --------------------------------------------------------------------------------------

constexpr unsigned kMaxTiffPages = 4096;
constexpr unsigned kMaxDirectoryEntries = 4096;

struct Tiff {
    Bytes f;
    bool big;  // byte order: Motorola

    unsigned U16(U64 at) const { return big ? f.Be16(at) : f.Le16(at); }
    std::uint32_t U32(U64 at) const { return big ? f.Be32(at) : f.Le32(at); }
};

// Bytes of one value of a field type, or 0 for a type the format does not define.
U64 TypeBytes(unsigned type)
{
    switch (type) {
    case 1: case 2: case 6: case 7: return 1;
    case 3: case 8: return 2;
    case 4: case 9: case 11: case 13: return 4;
    case 5: case 10: case 12: return 8;
    default: return 0;
    }
}

struct TiffField {
    unsigned type = 0;
    U64 count = 0;
    U64 valuesAt = 0;  // where the values lie: inside the entry, or at its offset
    bool present = false;
};

// The i-th value of a SHORT or LONG field.
U64 FieldValue(const Tiff& t, const TiffField& field, U64 i)
{
    return field.type == 3 ? t.U16(field.valuesAt + 2 * i) : t.U32(field.valuesAt + 4 * i);
}

bool IsShortOrLong(const TiffField& field) { return field.type == 3 || field.type == 4; }

FileHeader CheckTiff(const Bytes& f)
{
    const FileKind kind = FileKind::Tiff;
    const Tiff t = {f, f.data[0] == 'M'};
    U64 directory = t.U32(4);
    // Every directory in the chain inside the file, each visited once: a chain that loops back
    // is not a file's pages.
    std::vector<U64> visited;
    U64 first = 0;
    while (directory != 0) {
        if (directory < 8 || directory % 2 != 0 || !f.Has(directory, 2) || visited.size() >= kMaxTiffPages)
            return Refused(kind);
        for (U64 seen : visited)
            if (seen == directory)
                return Refused(kind);
        visited.push_back(directory);
        const U64 entries = t.U16(directory);
        if (entries == 0 || entries > kMaxDirectoryEntries || !f.Has(directory + 2, entries * 12 + 4))
            return Refused(kind);
        // Every field's values inside the file, whether or not the decoding needs them: the
        // platform decoder reads some that this check does not (a white point pointing past
        // the end of the file crashed it).
        // A type this format does not have (the 8-byte types of the large variant among them)
        // has values of unknown size.
        for (U64 i = 0; i < entries; ++i) {
            const U64 entry = directory + 2 + 12 * i;
            const U64 bytes = TypeBytes(t.U16(entry + 2)) * t.U32(entry + 4);
            if (TypeBytes(t.U16(entry + 2)) == 0 || (bytes > 4 && !f.Has(t.U32(entry + 8), bytes)))
                return Refused(kind);
        }
        if (visited.size() == 1)
            first = directory;
        directory = t.U32(directory + 2 + entries * 12);
    }
    if (visited.empty())
        return Refused(kind);

    // The first page is the one decoded: its fields in full.
    TiffField width, height, bitsPerSample, samples, offsets, counts, colourMap, tileWidth, tileLength, compression;
    const U64 entries = t.U16(first);
    for (U64 i = 0; i < entries; ++i) {
        const U64 entry = first + 2 + 12 * i;
        TiffField field;
        field.type = t.U16(entry + 2);
        field.count = t.U32(entry + 4);
        const U64 bytes = TypeBytes(field.type) * field.count;
        field.valuesAt = bytes <= 4 ? entry + 8 : t.U32(entry + 8);
        field.present = true;
        switch (t.U16(entry)) {
        case 256: width = field; break;
        case 257: height = field; break;
        case 258: bitsPerSample = field; break;
        case 259: compression = field; break;
        case 273: offsets = field; break;
        case 277: samples = field; break;
        case 279: counts = field; break;
        case 320: colourMap = field; break;
        case 322: tileWidth = field; break;
        case 323: tileLength = field; break;
        case 324: offsets = field; break;  // tile offsets
        case 325: counts = field; break;   // tile byte counts
        default: continue;
        }
        if (TypeBytes(field.type) == 0 || !f.Has(field.valuesAt, bytes))
            return Refused(kind);
    }
    auto single = [&](const TiffField& field) { return field.present && IsShortOrLong(field) && field.count == 1; };
    if (!single(width) || !single(height))
        return Refused(kind);
    const U64 w = FieldValue(t, width, 0), h = FieldValue(t, height, 0);
    if (w == 0 || h == 0 || w * h > kMaxFilePixels)
        return Refused(kind);
    const U64 sampleCount = samples.present ? (single(samples) ? FieldValue(t, samples, 0) : 0) : 1;
    if (sampleCount < 1 || sampleCount > 8)
        return Refused(kind);
    U64 bits = 1;
    if (bitsPerSample.present) {
        if (bitsPerSample.type != 3 || bitsPerSample.count < 1 || bitsPerSample.count > sampleCount)
            return Refused(kind);
        bits = FieldValue(t, bitsPerSample, 0);
        for (U64 i = 1; i < bitsPerSample.count; ++i)
            if (FieldValue(t, bitsPerSample, i) != bits)
                return Refused(kind);
        if (bits != 1 && bits != 2 && bits != 4 && bits != 8 && bits != 16)
            return Refused(kind);
    }
    if (colourMap.present && (colourMap.type != 3 || bits > 16 || colourMap.count != 3 * (U64{1} << bits)))
        return Refused(kind);
    const bool tiled = tileWidth.present || tileLength.present;
    if (tiled) {
        if (!single(tileWidth) || !single(tileLength))
            return Refused(kind);
        const U64 tw = FieldValue(t, tileWidth, 0), tl = FieldValue(t, tileLength, 0);
        if (tw == 0 || tl == 0 || tw % 16 != 0 || tl % 16 != 0)
            return Refused(kind);
    }
    // The strips (or tiles): offsets and counts pair up, and each lies inside the file.
    if (!offsets.present || !counts.present || !IsShortOrLong(offsets) || !IsShortOrLong(counts) ||
        offsets.count == 0 || offsets.count != counts.count)
        return Refused(kind);
    U64 stored = 0;
    for (U64 i = 0; i < offsets.count; ++i) {
        const U64 at = FieldValue(t, offsets, i), bytes = FieldValue(t, counts, i);
        if (!f.Has(at, bytes))
            return Refused(kind);
        stored += bytes;
    }
    const U64 scheme = compression.present && single(compression) ? FieldValue(t, compression, 0) : 1;
    if (scheme == 1 && !tiled) {
        // Uncompressed strips hold every row, whole.
        const U64 rowBytes = (w * sampleCount * bits + 7) / 8;
        if (stored < rowBytes * h)
            return Refused(kind);
    }
    if (stored == 0)
        return Refused(kind);
    return Accepted(kind, w, h);
}

}  // namespace

bool DecodedSizeFits(std::uint64_t width, std::uint64_t height)
{
    return width >= 1 && height >= 1 && width <= kMaxFilePixels && height <= kMaxFilePixels &&
           width * height <= kMaxFilePixels;
}

FileHeader CheckImageFile(const unsigned char* bytes, std::size_t size)
{
    const Bytes f = {bytes, size};
    if (f.Has(0, 2) && bytes[0] == 'B' && bytes[1] == 'M')
        return CheckBmp(f);
    if (f.Has(0, 3) && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF)
        return CheckJpeg(f);
    if (f.Has(0, 6) && (std::memcmp(bytes, "GIF87a", 6) == 0 || std::memcmp(bytes, "GIF89a", 6) == 0))
        return CheckGif(f);
    if (f.Has(0, 8) && std::memcmp(bytes, kPngSignature, 8) == 0)
        return CheckPng(f);
    if (f.Has(0, 8) && (std::memcmp(bytes, "II*\0", 4) == 0 || std::memcmp(bytes, "MM\0*", 4) == 0))
        return CheckTiff(f);
    return {};
}
