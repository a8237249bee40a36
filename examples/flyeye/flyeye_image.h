// A picture like a fly's compound eye: round facets on a hexagonal lattice inside an oval,
// shaded so that each facet has a bright centre.  Integer arithmetic only, so the same
// bytes come out everywhere.
#pragma once
#include <cstdint>
#include <vector>

constexpr int kFlyEyeWidth = 640;
constexpr int kFlyEyeHeight = 480;

// 0x00RRGGBB pixels, row 0 at the top.
std::vector<uint32_t> MakeFlyEyePixels();

// The same picture as a 24-bit uncompressed BMP file.
std::vector<uint8_t> MakeFlyEyeBmp();
