// An image placed in the image table as a created window would leave it (a live record and a
// pixel pointer) and made current, so that the raster layer draws into it.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "image/image_table.h"
#include "raster_reference.h"

class TableImage {
public:
    TableImage(int width, int height, int depth, int slot = 7) : slot_(slot)
    {
        bytes_.assign(static_cast<size_t>(ImageStride(width, depth)) * height, 0);
        ImageRecord& record = ImageTable[slot];
        record = ImageRecord{};
        record.inUse = 1;
        record.bitDepth = depth;
        record.width = width;
        record.height = height;
        PixelTable[slot] = bytes_.data();
        CurrentImage = slot;
    }
    ~TableImage()
    {
        ImageTable[slot_].inUse = 0;
        PixelTable[slot_] = nullptr;
    }
    TableImage(const TableImage&) = delete;
    TableImage& operator=(const TableImage&) = delete;

    std::vector<std::uint8_t>& bytes() { return bytes_; }
    int slot() const { return slot_; }

private:
    int slot_;
    std::vector<std::uint8_t> bytes_;
};

// Every byte equal, rows' padding included; the first difference is reported as a pixel.
inline ::testing::AssertionResult SamePixels(const std::vector<std::uint8_t>& actual, const RefImage& expected)
{
    if (actual.size() != expected.bytes.size())
        return ::testing::AssertionFailure() << "sizes differ";
    for (size_t i = 0; i < actual.size(); ++i) {
        if (actual[i] != expected.bytes[i]) {
            const size_t element = expected.depth == 8 ? 1 : 4;
            const size_t y = i / expected.stride, x = (i % expected.stride) / element;
            return ::testing::AssertionFailure() << "first difference at pixel (" << x << ", " << y
                                                 << "), byte " << i << ": " << int(actual[i]) << " instead of "
                                                 << int(expected.bytes[i]);
        }
    }
    return ::testing::AssertionSuccess();
}

inline void FillRandom(std::vector<std::uint8_t>& bytes, std::mt19937& random)
{
    for (std::uint8_t& b : bytes)
        b = static_cast<std::uint8_t>(random());
}
