// Whole runs of pixels converted at once, for work that converts rows or images rather than
// single colours.  Element i of every output is exactly what the single-colour conversions of
// colour_maths.h give for src[i] (0x00RRGGBB words, the top byte ignored); the vector code
// that does it several pixels at a time is proved equal to them over every colour.
#pragma once
#include <cstddef>
#include <cstdint>

// Hue 0 to 359, saturation (max - min) and value (max) 0 to 255.
void RowToHsv(const std::uint32_t* src, std::size_t count, std::uint16_t* hue, std::uint8_t* saturation,
              std::uint8_t* value);

// Cr and Cb span -127 to 128, exactly 256 values: each is stored as the byte Cr + 127 (and
// Cb + 127), so the planes are bytes like the luminance's and lose nothing.
constexpr int kChromaByteBias = 127;
void RowToYCrCb(const std::uint32_t* src, std::size_t count, std::uint8_t* luminance, std::uint8_t* cr,
                std::uint8_t* cb);
