// Any bytes as an image file of exactly that size: the header checks must never read outside
// them, and what they accept must have a size the library can draw.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "image/file_headers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const FileHeader header = CheckImageFile(data, size);
    if (header.sound && (header.kind == FileKind::Other || !DecodedSizeFits(header.width, header.height)))
        std::abort();
    return 0;
}
