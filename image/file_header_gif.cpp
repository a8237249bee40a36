// GIF: the screen, the blocks before the first picture, and that picture's colour table and data,
// read as the platform decoder reads them.
#include "image/file_header_bytes.h"

#include <algorithm>

namespace {

// Bytes of a colour table whose flags are `flags`, or 0 when the flags name none.
U64 ColourTableBytes(unsigned flags) { return (flags & 0x80) ? 3 * (U64{2} << (flags & 7)) : 0; }

// Skips a run of data sub-blocks from `at` to its terminator; false when it runs past the file.
bool SkipSubBlocks(const FileView& f, U64& at)
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

// The picture's data: at least one sub-block, each whole, to a terminator or to the end of the
// file, where the decoder takes what it has.
bool PictureDataIsWhole(const FileView& f, U64 at)
{
    if (!f.Has(at, 1) || f.U8(at) == 0)
        return false;
    while (f.Has(at, 1) && f.U8(at) != 0) {
        if (!f.Has(at + 1, f.U8(at)))
            return false;
        at += 1 + f.U8(at);
    }
    return true;
}

}  // namespace

FileHeader CheckGifFile(const FileView& f)
{
    const FileKind kind = FileKind::Gif;
    if (!f.Has(0, 13))
        return RefusedFile(kind);
    const U64 screenWidth = f.Le16(6), screenHeight = f.Le16(8);
    const unsigned flags = f.U8(10);
    U64 at = 13 + ColourTableBytes(flags);
    if (!f.Has(0, at))
        return RefusedFile(kind);
    // Every block up to the first picture, whose data must be there; the frames after it (an
    // animation) are the decoder's, which shows the first.
    for (;;) {
        if (!f.Has(at, 1))
            return RefusedFile(kind);
        const unsigned introducer = f.U8(at);
        if (introducer == 0x21) {  // an extension: its label, then sub-blocks
            at += 2;
            if (!SkipSubBlocks(f, at))
                return RefusedFile(kind);
        } else if (introducer == 0x2C) {
            if (!f.Has(at, 11))
                return RefusedFile(kind);
            const U64 left = f.Le16(at + 1), top = f.Le16(at + 3);
            const U64 width = f.Le16(at + 5), height = f.Le16(at + 7);
            const unsigned pictureFlags = f.U8(at + 9);
            if (width == 0 || height == 0 || left + width > 0xFFFF || top + height > 0xFFFF)
                return RefusedFile(kind);
            // A picture with no colour table of its own nor of the screen crashes the platform
            // decoder.
            if (!(pictureFlags & 0x80) && !(flags & 0x80))
                return RefusedFile(kind);
            at += 10 + ColourTableBytes(pictureFlags);
            if (!f.Has(at, 1))
                return RefusedFile(kind);
            const unsigned codeSize = f.U8(at);
            if (codeSize < 2 || codeSize > 8 || !PictureDataIsWhole(f, at + 1))
                return RefusedFile(kind);
            // The decoded picture is no larger than the screen and the frame together (the
            // decoder gives a screen of 0 x 0 the frame's size).
            return AcceptedFile(kind, std::max(screenWidth, left + width), std::max(screenHeight, top + height));
        } else {
            return RefusedFile(kind);  // the trailer (or anything else) before any picture
        }
    }
}
