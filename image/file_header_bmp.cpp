// BMP: the file header, one of the format's info headers, the colour table and the rows.
#include "image/file_header_bytes.h"

namespace {

constexpr std::uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitFields = 3;

// The info headers of the Windows versions.  Every other size from 16 to 64 bytes is an OS/2
// 2.x header, whose fields past the first 16 bytes are optional (a 64-byte one is common).
bool IsWindowsHeader(U64 size) { return size == 40 || size == 52 || size == 56 || size == 108 || size == 124; }

}  // namespace

FileHeader CheckBmpFile(const FileView& f)
{
    const FileKind kind = FileKind::Bmp;
    if (!f.Has(0, 18))
        return RefusedFile(kind);
    const U64 bitsOffset = f.Le32(10);
    const U64 headerSize = f.Le32(14);
    if (!f.Has(14, headerSize) || bitsOffset > f.size)
        return RefusedFile(kind);
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
            return RefusedFile(kind);
    } else if ((headerSize >= 16 && headerSize <= 64) || headerSize == 108 || headerSize == 124) {
        const std::int32_t w = static_cast<std::int32_t>(f.Le32(18));
        const std::int32_t h = static_cast<std::int32_t>(f.Le32(22));
        if (w <= 0 || h == 0 || h == INT32_MIN)
            return RefusedFile(kind);
        width = static_cast<U64>(w);
        topDown = h < 0;
        height = static_cast<U64>(topDown ? -static_cast<std::int64_t>(h) : h);
        planes = f.Le16(26);
        bits = f.Le16(28);
        // A field the header is too short to hold is 0.
        auto field = [&](U64 at) { return at + 4 <= headerSize ? f.Le32(14 + at) : 0; };
        compression = field(16);
        coloursUsed = field(32);
        // OS/2 gives code 3 to a Huffman scheme that no decoder here reads; colour masks exist
        // only in the Windows headers.
        if (compression == kBiBitFields && !IsWindowsHeader(headerSize))
            return RefusedFile(kind);
    } else {
        return RefusedFile(kind);
    }
    if (planes != 1 || width == 0 || height == 0)
        return RefusedFile(kind);
    switch (compression) {
    case kBiRgb:
        if (bits != 1 && bits != 2 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
            return RefusedFile(kind);
        break;
    case kBiRle8:
    case kBiRle4:
        // Run-length rows are stored from the bottom up only.
        if (bits != (compression == kBiRle8 ? 8u : 4u) || topDown)
            return RefusedFile(kind);
        break;
    case kBiBitFields:
        if (bits != 16 && bits != 32)
            return RefusedFile(kind);
        break;
    default:
        return RefusedFile(kind);  // embedded JPEG or PNG data, or nothing this format defines
    }
    // The colour table: the entries the header names, or all 2^bits when it names none.  It may
    // hold more than the depth needs (the decoder takes what it needs and ignores the rest), but
    // all that it claims lies before the pixels.
    const U64 colours = coloursUsed != 0 ? coloursUsed : (bits <= 8 ? U64{1} << bits : 0);
    U64 tableStart = 14 + headerSize;
    if (compression == kBiBitFields && headerSize == 40)
        tableStart += 12;  // the three masks follow the short header
    if (tableStart + colours * entryBytes > bitsOffset)
        return RefusedFile(kind);
    if (width * height > kMaxFilePixels)
        return RefusedFile(kind);
    const U64 dataBytes = f.size - bitsOffset;
    if (compression == kBiRle8 || compression == kBiRle4) {
        if (dataBytes < 2)
            return RefusedFile(kind);
    } else {
        // Every row whole; the last row's padding may be missing.
        const U64 rowBytes = (width * bits + 7) / 8;
        const U64 stride = (width * bits + 31) / 32 * 4;
        if (stride * (height - 1) + rowBytes > dataBytes)
            return RefusedFile(kind);
    }
    return AcceptedFile(kind, width, height);
}
