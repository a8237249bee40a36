#include "image/file_headers.h"

#include "image/file_header_bytes.h"

namespace {

// The leading bytes by which the platform decoders take a file for each format, and nothing
// stricter: a file that one of them takes for a JPEG (FF D8, whatever follows) must be checked
// as a JPEG, or it would reach that decoder unchecked as a file of another kind.
struct Signature {
    const char* bytes;
    std::size_t length;
    FileHeader (*check)(const FileView&);
};
constexpr Signature kSignatures[] = {
    {"BM", 2, CheckBmpFile},
    {"\xFF\xD8", 2, CheckJpegFile},
    {"GIF87a", 6, CheckGifFile},
    {"GIF89a", 6, CheckGifFile},
    {"\x89PNG\r\n\x1A\n", 8, CheckPngFile},
    {"II*\0", 4, CheckTiffFile},
    {"MM\0*", 4, CheckTiffFile},
};

}  // namespace

bool DecodedSizeFits(std::uint64_t width, std::uint64_t height)
{
    return width >= 1 && height >= 1 && width <= kMaxFilePixels && height <= kMaxFilePixels &&
           width * height <= kMaxFilePixels;
}

FileHeader CheckImageFile(const unsigned char* bytes, std::size_t size)
{
    const FileView f = {bytes, size};
    for (const Signature& s : kSignatures)
        if (f.Matches(0, s.bytes, s.length))
            return s.check(f);
    return {};
}
