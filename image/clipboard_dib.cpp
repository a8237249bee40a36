#include "image/clipboard_dib.h"

#include <cstring>

namespace {

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitFields = 3;
// The masks of BI_BITFIELDS: the three words right after a 40-byte header, and the fields at the
// same place in the larger headers (which the system reads there too).
constexpr std::size_t kMasksOffset = 40;
constexpr std::size_t kSizeImageOffset = 20;
// Colour-space kinds of the larger headers that point at a colour profile elsewhere in the
// block (or in a file); such a block is refused rather than followed.
constexpr std::uint32_t kProfileLinked = 0x4C494E4B;    // 'LINK'
constexpr std::uint32_t kProfileEmbedded = 0x4D424544;  // 'MBED'
constexpr std::size_t kColourSpaceOffset = 56;          // in a 108- or 124-byte header

void Put16(unsigned char* at, unsigned value)
{
    at[0] = static_cast<unsigned char>(value);
    at[1] = static_cast<unsigned char>(value >> 8);
}

void Put32(unsigned char* at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<unsigned char>(value >> (8 * i));
}

std::uint32_t Get32(const unsigned char* at)
{
    return static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
           static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

unsigned Get16(const unsigned char* at) { return at[0] | static_cast<unsigned>(at[1]) << 8; }

// Rows of 24-bit colour: bytes blue, green, red of each word.
void WriteColourRow(const std::uint32_t* in, int width, unsigned char* out)
{
    int x = 0;
    // Four bytes at a time while the fourth lands on the next pixel's place (or the padding).
    for (; x + 1 < width; ++x, out += 3)
        std::memcpy(out, &in[x], 4);
    for (; x < width; ++x, out += 3) {
        out[0] = static_cast<unsigned char>(in[x]);
        out[1] = static_cast<unsigned char>(in[x] >> 8);
        out[2] = static_cast<unsigned char>(in[x] >> 16);
    }
}

// A colour mask of BI_BITFIELDS: one run of set bits, within the pixel's bits.
bool IsMaskRun(std::uint32_t mask, int bitCount)
{
    if (mask == 0 || (bitCount == 16 && mask > 0xFFFFu))
        return false;
    while (!(mask & 1u))
        mask >>= 1;
    return (mask & (mask + 1)) == 0;  // only ones below the top set bit
}

}  // namespace

std::size_t ClipboardDibStride(int width, int depth)
{
    if (width <= 0)
        return 0;
    const std::size_t bytes = static_cast<std::size_t>(width) * (depth == 8 ? 1 : 3);
    return (bytes + 3) & ~static_cast<std::size_t>(3);
}

std::size_t ClipboardDibSize(const PixelView& view)
{
    if (view.empty() || view.width <= 0 || view.height <= 0)
        return 0;
    return kDibHeaderBytes + (view.depth == 8 ? kDibPaletteBytes : 0) +
           ClipboardDibStride(view.width, view.depth) * static_cast<std::size_t>(view.height);
}

void WriteClipboardDib(const PixelView& view, const std::uint32_t* palette, unsigned char* block)
{
    const std::size_t size = ClipboardDibSize(view);
    if (size == 0 || !block)
        return;
    std::memset(block, 0, kDibHeaderBytes);
    Put32(block, static_cast<std::uint32_t>(kDibHeaderBytes));
    Put32(block + 4, static_cast<std::uint32_t>(view.width));
    Put32(block + 8, static_cast<std::uint32_t>(view.height));  // positive: bottom-up rows
    Put16(block + 12, 1);
    Put16(block + 14, view.depth == 8 ? 8 : 24);
    Put32(block + 16, kBiRgb);
    unsigned char* rows = block + kDibHeaderBytes;
    if (view.depth == 8) {
        for (int i = 0; i < 256; ++i)
            Put32(rows + 4 * i, palette ? palette[i] & 0xFFFFFFu : 0);
        rows += kDibPaletteBytes;
    }
    const std::size_t stride = ClipboardDibStride(view.width, view.depth);
    for (int y = 0; y < view.height; ++y) {
        unsigned char* out = rows + stride * static_cast<std::size_t>(view.height - 1 - y);
        const unsigned char* in = view.row(y);
        if (view.depth == 8) {
            std::memcpy(out, in, static_cast<std::size_t>(view.width));
        } else {
            WriteColourRow(reinterpret_cast<const std::uint32_t*>(in), view.width, out);
        }
        const std::size_t used = static_cast<std::size_t>(view.width) * (view.depth == 8 ? 1 : 3);
        std::memset(out + used, 0, stride - used);
    }
}

DibLayout CheckClipboardDib(const unsigned char* bytes, std::size_t size)
{
    DibLayout layout;
    if (!bytes || size < kDibHeaderBytes)
        return layout;
    const std::uint32_t headerBytes = Get32(bytes);
    if (headerBytes != 40 && headerBytes != 52 && headerBytes != 56 && headerBytes != 108 && headerBytes != 124)
        return layout;
    if (headerBytes > size)
        return layout;
    const std::int32_t width = static_cast<std::int32_t>(Get32(bytes + 4));
    const std::int32_t height = static_cast<std::int32_t>(Get32(bytes + 8));
    const unsigned planes = Get16(bytes + 12);
    const int bitCount = static_cast<int>(Get16(bytes + 14));
    const std::uint32_t compression = Get32(bytes + 16);
    const std::uint32_t coloursUsed = Get32(bytes + 32);
    if (width <= 0 || height == 0 || height == INT32_MIN || planes != 1)
        return layout;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
        return layout;
    const bool bitFields = compression == kBiBitFields;
    const bool runLength = (compression == kBiRle8 && bitCount == 8) || (compression == kBiRle4 && bitCount == 4);
    if (compression != kBiRgb && !(bitFields && (bitCount == 16 || bitCount == 32)) && !runLength)
        return layout;
    if (runLength && height < 0)
        return layout;  // runs are stored from the bottom up only
    if (headerBytes >= 108) {
        const std::uint32_t colourSpace = Get32(bytes + kColourSpaceOffset);
        if (colourSpace == kProfileLinked || colourSpace == kProfileEmbedded)
            return layout;
    }
    // The colour table: the entries the header counts, or a full table for 8 bits and fewer;
    // never more than 256, nor more than the pixel's bits can name.
    const std::uint64_t nameable = bitCount >= 16 ? 256 : (std::uint64_t{1} << bitCount);
    const std::uint64_t limit = nameable < 256 ? nameable : 256;
    if (coloursUsed > limit)
        return layout;
    const std::uint64_t colours = coloursUsed != 0 ? coloursUsed : (bitCount <= 8 ? nameable : 0);
    const std::uint64_t coloursOffset = headerBytes + (bitFields && headerBytes == kDibHeaderBytes ? 12 : 0);
    const std::uint64_t bitsOffset = coloursOffset + 4 * colours;
    if (bitsOffset > size)
        return layout;
    if (bitFields) {
        const std::uint32_t red = Get32(bytes + kMasksOffset), green = Get32(bytes + kMasksOffset + 4),
                            blue = Get32(bytes + kMasksOffset + 8);
        if (!IsMaskRun(red, bitCount) || !IsMaskRun(green, bitCount) || !IsMaskRun(blue, bitCount) ||
            (red & green) || (red & blue) || (green & blue))
            return layout;
    }
    const std::uint64_t rows = height < 0 ? -static_cast<std::int64_t>(height) : static_cast<std::int64_t>(height);
    const std::uint64_t room = size - bitsOffset;
    std::uint64_t stride = 0, runBytes = 0;
    if (runLength) {
        // Runs expand into 8-bit rows.  The header's image size, when it names fewer bytes than
        // the block holds after the table, ends them: what follows is not part of the picture.
        const std::uint64_t sizeImage = Get32(bytes + kSizeImageOffset);
        runBytes = sizeImage != 0 && sizeImage < room ? sizeImage : room;
        if (runBytes < 2 || static_cast<std::uint64_t>(width) * rows > kMaxRunLengthPixels)
            return layout;
        stride = (static_cast<std::uint64_t>(width) + 3) / 4 * 4;
    } else {
        // Rows of whole 32-bit units; computed in 64 bits and compared by division, so that no
        // product can wrap.
        const std::uint64_t bitsPerRow = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(bitCount);
        stride = (bitsPerRow + 31) / 32 * 4;
        if (stride == 0 || rows > room / stride)
            return layout;
    }
    layout.valid = true;
    layout.width = width;
    layout.rows = static_cast<int>(rows);
    layout.topDown = height < 0;
    layout.bitCount = bitCount;
    layout.bitFields = bitFields;
    layout.runLength = runLength ? bitCount : 0;
    layout.coloursOffset = static_cast<std::size_t>(coloursOffset);
    layout.colourCount = static_cast<int>(colours);
    layout.bitsOffset = static_cast<std::size_t>(bitsOffset);
    layout.stride = static_cast<std::size_t>(stride);
    layout.imageBytes = static_cast<std::size_t>(stride * rows);
    layout.runBytes = static_cast<std::size_t>(runBytes);
    return layout;
}
