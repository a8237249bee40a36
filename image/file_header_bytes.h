// What the checks of the five image file formats share: bounds-checked reads of the file's
// bytes, the two verdicts, and the check of each format, which CheckImageFile calls once the
// format's signature matched.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "image/file_headers.h"

using U64 = std::uint64_t;

// Every read names the offset it needs and is made only after Has said it lies in the file.
struct FileView {
    const unsigned char* data;
    std::size_t size;

    bool Has(U64 offset, U64 count) const { return offset <= size && count <= size - offset; }
    unsigned U8(U64 at) const { return data[at]; }
    unsigned Le16(U64 at) const { return data[at] | static_cast<unsigned>(data[at + 1]) << 8; }
    unsigned Be16(U64 at) const { return static_cast<unsigned>(data[at]) << 8 | data[at + 1]; }
    std::uint32_t Le32(U64 at) const { return Le16(at) | static_cast<std::uint32_t>(Le16(at + 2)) << 16; }
    std::uint32_t Be32(U64 at) const { return static_cast<std::uint32_t>(Be16(at)) << 16 | Be16(at + 2); }
    bool Matches(U64 at, const void* bytes, std::size_t count) const
    {
        return Has(at, count) && std::memcmp(data + at, bytes, count) == 0;
    }
};

inline FileHeader RefusedFile(FileKind kind) { return {kind, false, 0, 0}; }

// Sound, unless the decoded picture would be larger than the library can draw.
inline FileHeader AcceptedFile(FileKind kind, U64 width, U64 height)
{
    if (!DecodedSizeFits(width, height))
        return RefusedFile(kind);
    return {kind, true, static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height)};
}

FileHeader CheckBmpFile(const FileView& f);
FileHeader CheckJpegFile(const FileView& f);
FileHeader CheckGifFile(const FileView& f);
FileHeader CheckPngFile(const FileView& f);
FileHeader CheckTiffFile(const FileView& f);
