// PNG: the header chunk, then every chunk to the end, with the palette and the compressed data
// measured against the rows they must make.
#include "image/file_header_bytes.h"

namespace {

// Deflate turns no more than 1032 output bytes out of one input byte.
constexpr U64 kDeflateMaxRatio = 1032;

bool ChunkIs(const FileView& f, U64 at, const char* type) { return std::memcmp(f.data + at, type, 4) == 0; }

}  // namespace

FileHeader CheckPngFile(const FileView& f)
{
    const FileKind kind = FileKind::Png;
    if (!f.Has(8, 8 + 13 + 4) || f.Be32(8) != 13 || !ChunkIs(f, 12, "IHDR"))
        return RefusedFile(kind);
    const U64 width = f.Be32(16), height = f.Be32(20);
    const unsigned depth = f.U8(24), colourType = f.U8(25);
    if (width == 0 || height == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF)
        return RefusedFile(kind);
    if (f.U8(26) != 0 || f.U8(27) != 0 || f.U8(28) > 1)
        return RefusedFile(kind);
    unsigned channels;
    bool depthAllowed;
    switch (colourType) {
    case 0: channels = 1; depthAllowed = depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16; break;
    case 2: channels = 3; depthAllowed = depth == 8 || depth == 16; break;
    case 3: channels = 1; depthAllowed = depth == 1 || depth == 2 || depth == 4 || depth == 8; break;
    case 4: channels = 2; depthAllowed = depth == 8 || depth == 16; break;
    case 6: channels = 4; depthAllowed = depth == 8 || depth == 16; break;
    default: return RefusedFile(kind);
    }
    if (!depthAllowed || width * height > kMaxFilePixels)
        return RefusedFile(kind);
    // Walk every chunk to IEND, each wholly inside the file.
    U64 at = 8, compressed = 0;
    bool palette = false, data = false;
    for (;;) {
        if (!f.Has(at, 12))
            return RefusedFile(kind);
        const U64 length = f.Be32(at);
        if (length > 0x7FFFFFFF || !f.Has(at + 8, length + 4))
            return RefusedFile(kind);
        if (ChunkIs(f, at + 4, "PLTE")) {
            // Up to 256 entries at any depth: the decoder takes what the depth needs and
            // ignores the rest.
            if (palette || data || length == 0 || length % 3 != 0 || length / 3 > 256)
                return RefusedFile(kind);
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
        return RefusedFile(kind);
    // The filtered rows the compressed data must inflate to (interlaced passes only add bytes).
    const U64 rows = height * (1 + (width * channels * depth + 7) / 8);
    if (rows > compressed * kDeflateMaxRatio)
        return RefusedFile(kind);
    return AcceptedFile(kind, width, height);
}
