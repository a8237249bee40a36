// Sound image files of the kinds that a strict reading of the formats turns away although the
// platform decoder reads them: BMPs with the OS/2 2.x header (16 and 64 bytes), with a palette
// larger than the depth needs, and of 2 bits a pixel; a GIF whose pictures carry only local
// colour tables, and one whose data ends with the file (no block terminator, no trailer); a
// JPEG of two components, and one with a stray byte before its first marker.  Each is written
// here byte by byte, with the picture it holds, so that a test can compare a load with what the
// file means.  tests/hostile/seeds holds them as generate_sound_seeds writes them.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

constexpr int kSoundSeedWidth = 24;
constexpr int kSoundSeedHeight = 16;

struct SoundSeed {
    std::string name;
    std::vector<unsigned char> bytes;
    // The colour of pixel (x, y) as 0x00RRGGBB, or empty where the colours are the decoder's
    // to choose (a JPEG of two components has no colour model of its own).
    std::function<std::uint32_t(int, int)> colour;
};

std::vector<SoundSeed> SoundSeeds();

// A bottom-up uncompressed BMP of the seeds' size and index pattern, with `headerSize` bytes of
// header (fields past its end absent; OS/2 fields 0), a table of `tableEntries` 4-byte colours
// and `coloursUsed` in the header when it has that field.
std::vector<unsigned char> PaletteBmpBytes(unsigned headerSize, unsigned bits, unsigned tableEntries,
                                           unsigned coloursUsed);
