// What an image file's own bytes say about it, checked before any decoder sees the file.  The
// platform decoders trust the headers: a BMP claiming a width of 0x7FFFFFFF crashes inside them,
// a TIFF whose directory points to itself or a JPEG frame claiming far more pixels than its data
// can hold decodes into garbage, and absurd sizes cost seconds before they fail.  So the five
// formats the library saves are read here first, free of the window system.  What no sound file
// can be, what the decoder would crash or hang on, and what the image cannot hold are refused;
// where a file is merely odd (a palette longer than its depth needs, a header of an older
// version, data that ends with the file) and the decoder reads it, the decoder decides.
#pragma once
#include <cstddef>
#include <cstdint>

enum class FileKind { Bmp, Jpeg, Gif, Png, Tiff, Other };

// The most pixels a loaded picture may have: its decoded 32-bit copy stays within the 2^31
// bytes that the platform's bitmaps and strides count in 32-bit integers.
constexpr std::uint64_t kMaxFilePixels = (std::uint64_t{1} << 29) - 1;

struct FileHeader {
    FileKind kind = FileKind::Other;
    bool sound = false;  // for Other: false; the caller decides what to do with other formats
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

// Recognises the five formats by the leading bytes their platform decoders go by, and nothing
// stricter, so that no file reaches one of those decoders unchecked as a file of another kind;
// then checks each whole header as the decoder reads it: dimensions above 0 and within
// kMaxFilePixels, and no more pixels than the data can hold; the bit depth and compression the
// format allows; palettes that fit the file; and every structure that a decoder would follow
// (segments, chunks, blocks, directories, strips) inside the file, without loops.  A file of
// another kind comes back as Other, unchecked.
FileHeader CheckImageFile(const unsigned char* bytes, std::size_t size);

// Whether a decoded size is one the library can draw: both sides at least 1 and at most
// kMaxFilePixels pixels in all.
bool DecodedSizeFits(std::uint64_t width, std::uint64_t height);
