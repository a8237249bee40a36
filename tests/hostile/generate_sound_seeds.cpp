// Writes the sound seeds of sound_seeds.h into a folder: generate_sound_seeds tests/hostile/seeds
#include <cstdio>
#include <string>

#include "sound_seeds.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: generate_sound_seeds FOLDER\n");
        return 2;
    }
    for (const SoundSeed& seed : SoundSeeds()) {
        const std::string path = std::string(argv[1]) + "/" + seed.name;
        std::FILE* out = std::fopen(path.c_str(), "wb");
        const bool written = out && std::fwrite(seed.bytes.data(), 1, seed.bytes.size(), out) == seed.bytes.size();
        if ((out && std::fclose(out) != 0) || !written) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
