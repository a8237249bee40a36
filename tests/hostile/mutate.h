// Mutations of sound image files into hostile ones, reproducible from a number: cut files, bit
// flips, lying dimensions, wrong palette counts, scribbled headers and spliced data.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

using FileBytes = std::vector<unsigned char>;

struct Mutant {
    FileBytes bytes;
    std::string how;  // a short description for the report
};

// The mutant number `n` of `seed`; the same (seed, n) gives the same bytes.
Mutant Mutate(const FileBytes& seed, std::uint64_t n);
