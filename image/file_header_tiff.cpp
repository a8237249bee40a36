// TIFF: the chain of directories, every field's values inside the file, and the first page's
// size, samples, colour map and strips or tiles.
#include "image/file_header_bytes.h"

#include <vector>

namespace {

constexpr unsigned kMaxTiffPages = 4096;
constexpr unsigned kMaxDirectoryEntries = 4096;

struct Tiff {
    FileView f;
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

}  // namespace

FileHeader CheckTiffFile(const FileView& f)
{
    const FileKind kind = FileKind::Tiff;
    if (!f.Has(0, 8))
        return RefusedFile(kind);
    const Tiff t = {f, f.data[0] == 'M'};
    U64 directory = t.U32(4);
    // Every directory in the chain inside the file, each visited once: a chain that loops back
    // is not a file's pages.
    std::vector<U64> visited;
    U64 first = 0;
    while (directory != 0) {
        if (directory < 8 || directory % 2 != 0 || !f.Has(directory, 2) || visited.size() >= kMaxTiffPages)
            return RefusedFile(kind);
        for (U64 seen : visited)
            if (seen == directory)
                return RefusedFile(kind);
        visited.push_back(directory);
        const U64 entries = t.U16(directory);
        if (entries == 0 || entries > kMaxDirectoryEntries || !f.Has(directory + 2, entries * 12 + 4))
            return RefusedFile(kind);
        // Every field's values inside the file, whether or not the decoding needs them: the
        // platform decoder reads some that this check does not (a white point pointing past
        // the end of the file crashed it).
        // A type this format does not have (the 8-byte types of the large variant among them)
        // has values of unknown size.
        for (U64 i = 0; i < entries; ++i) {
            const U64 entry = directory + 2 + 12 * i;
            const U64 bytes = TypeBytes(t.U16(entry + 2)) * t.U32(entry + 4);
            if (TypeBytes(t.U16(entry + 2)) == 0 || (bytes > 4 && !f.Has(t.U32(entry + 8), bytes)))
                return RefusedFile(kind);
        }
        if (visited.size() == 1)
            first = directory;
        directory = t.U32(directory + 2 + entries * 12);
    }
    if (visited.empty())
        return RefusedFile(kind);

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
            return RefusedFile(kind);
    }
    auto single = [&](const TiffField& field) { return field.present && IsShortOrLong(field) && field.count == 1; };
    if (!single(width) || !single(height))
        return RefusedFile(kind);
    const U64 w = FieldValue(t, width, 0), h = FieldValue(t, height, 0);
    if (w == 0 || h == 0 || w * h > kMaxFilePixels)
        return RefusedFile(kind);
    const U64 sampleCount = samples.present ? (single(samples) ? FieldValue(t, samples, 0) : 0) : 1;
    if (sampleCount < 1 || sampleCount > 8)
        return RefusedFile(kind);
    U64 bits = 1;
    if (bitsPerSample.present) {
        if (bitsPerSample.type != 3 || bitsPerSample.count < 1 || bitsPerSample.count > sampleCount)
            return RefusedFile(kind);
        bits = FieldValue(t, bitsPerSample, 0);
        for (U64 i = 1; i < bitsPerSample.count; ++i)
            if (FieldValue(t, bitsPerSample, i) != bits)
                return RefusedFile(kind);
        if (bits != 1 && bits != 2 && bits != 4 && bits != 8 && bits != 16)
            return RefusedFile(kind);
    }
    if (colourMap.present && (colourMap.type != 3 || bits > 16 || colourMap.count != 3 * (U64{1} << bits)))
        return RefusedFile(kind);
    const bool tiled = tileWidth.present || tileLength.present;
    if (tiled) {
        if (!single(tileWidth) || !single(tileLength))
            return RefusedFile(kind);
        const U64 tw = FieldValue(t, tileWidth, 0), tl = FieldValue(t, tileLength, 0);
        if (tw == 0 || tl == 0 || tw % 16 != 0 || tl % 16 != 0)
            return RefusedFile(kind);
    }
    // The strips (or tiles): offsets and counts pair up, and each lies inside the file.
    if (!offsets.present || !counts.present || !IsShortOrLong(offsets) || !IsShortOrLong(counts) ||
        offsets.count == 0 || offsets.count != counts.count)
        return RefusedFile(kind);
    U64 stored = 0;
    for (U64 i = 0; i < offsets.count; ++i) {
        const U64 at = FieldValue(t, offsets, i), bytes = FieldValue(t, counts, i);
        if (!f.Has(at, bytes))
            return RefusedFile(kind);
        stored += bytes;
    }
    const U64 scheme = compression.present && single(compression) ? FieldValue(t, compression, 0) : 1;
    if (scheme == 1 && !tiled) {
        // Uncompressed strips hold every row, whole.
        const U64 rowBytes = (w * sampleCount * bits + 7) / 8;
        if (stored < rowBytes * h)
            return RefusedFile(kind);
    }
    if (stored == 0)
        return RefusedFile(kind);
    return AcceptedFile(kind, w, h);
}
