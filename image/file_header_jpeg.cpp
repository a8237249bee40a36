// JPEG: the markers to the first scan, found as the platform decoder finds them, the frame, and
// its blocks against the data that must code them.
#include "image/file_header_bytes.h"

namespace {

// Start-of-frame markers (C4 defines Huffman tables, C8 is reserved, CC defines arithmetic
// conditioning).
bool IsFrameMarker(unsigned m) { return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC; }
bool IsLossless(unsigned m) { return m == 0xC3 || m == 0xC7 || m == 0xCB || m == 0xCF; }
bool IsHuffmanCoded(unsigned m) { return m <= 0xC7; }

// The code of the next marker from `at`, which is left just past it; 0 when the file ends
// first.  The decoder passes over bytes that are no marker: anything but 0xFF, fill bytes of
// 0xFF, and the pair FF 00.
unsigned NextMarker(const FileView& f, U64& at)
{
    for (;;) {
        while (f.Has(at, 1) && f.U8(at) != 0xFF)
            ++at;
        while (f.Has(at, 1) && f.U8(at) == 0xFF)
            ++at;
        if (!f.Has(at, 1))
            return 0;
        const unsigned code = f.U8(at++);
        if (code != 0)
            return code;
    }
}

// A frame the decoder can be given: a sample precision of the process, a size, and each
// component's sampling factors and table within the format's ranges.
bool FrameIsSound(const FileView& f, unsigned marker, U64 at, U64 length)
{
    const unsigned precision = f.U8(at + 2);
    const unsigned components = f.U8(at + 7);
    const bool precisionAllowed =
        IsLossless(marker) ? precision >= 2 && precision <= 16 : precision == 8 || precision == 12;
    if (!precisionAllowed || f.Be16(at + 3) == 0 || f.Be16(at + 5) == 0 || components == 0 ||
        length != 8 + 3 * U64{components})
        return false;
    for (unsigned c = 0; c < components; ++c) {
        const unsigned sampling = f.U8(at + 8 + 3 * c + 1);
        if ((sampling >> 4) < 1 || (sampling >> 4) > 4 || (sampling & 15) < 1 || (sampling & 15) > 4 ||
            f.U8(at + 8 + 3 * c + 2) > 3)
            return false;
    }
    return true;
}

}  // namespace

FileHeader CheckJpegFile(const FileView& f)
{
    const FileKind kind = FileKind::Jpeg;
    U64 at = 2;
    U64 width = 0, height = 0;
    unsigned frame = 0;
    for (;;) {
        const unsigned marker = NextMarker(f, at);
        if (marker == 0)
            return RefusedFile(kind);
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            continue;  // no length
        if (marker == 0xD8 || marker == 0xD9)
            return RefusedFile(kind);  // a second start, or an end before the picture
        if (!f.Has(at, 2))
            return RefusedFile(kind);
        const U64 length = f.Be16(at);
        if (length < 2 || !f.Has(at, length))
            return RefusedFile(kind);
        if (IsFrameMarker(marker)) {
            if (frame || length < 8 || !FrameIsSound(f, marker, at, length))
                return RefusedFile(kind);
            height = f.Be16(at + 3);
            width = f.Be16(at + 5);
            frame = marker;
        } else if (marker == 0xDA) {
            if (!frame)
                return RefusedFile(kind);
            const U64 scanBytes = f.size - (at + length);
            if (scanBytes == 0)
                return RefusedFile(kind);
            // Huffman-coded blocks take at least a bit each in the scans that hold them (a 1-bit
            // DC code; sequential scans add at least a 1-bit end of block): a frame claiming more
            // 8 x 8 blocks than its data has bits is not a picture, and decoding it would make
            // millions of pixels out of nothing.  Arithmetic coding has no such floor; the
            // platform decoders refuse it.
            const U64 blocks = ((width + 7) / 8) * ((height + 7) / 8);
            if (IsHuffmanCoded(frame) && blocks > 8 * scanBytes)
                return RefusedFile(kind);
            return AcceptedFile(kind, width, height);
        }
        at += length;
    }
}
