// Writes the sample picture: generate_flyeye OUTPUT.bmp
#include <cstdio>

#include "examples/flyeye/flyeye_image.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: generate_flyeye OUTPUT.bmp\n");
        return 2;
    }
    const std::vector<uint8_t> bmp = MakeFlyEyeBmp();
    std::FILE* out = std::fopen(argv[1], "wb");
    if (!out || std::fwrite(bmp.data(), 1, bmp.size(), out) != bmp.size()) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return std::fclose(out) == 0 ? 0 : 1;
}
