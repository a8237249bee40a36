// The hostile-file harness, a user program: mutants of every seed file are written one at a time
// and loaded into a 32-bit and an 8-bit image through KRT_LoadImageFile, for a given time.
// Every load must return 0 or 1 and leave the file as it was, with nothing else written beside
// it; a crash or a hang is seen by the script that runs this, from the last "case" line.
//
// Environment: KRT_HOSTILE_SEEDS (the seed folder), KRT_HOSTILE_WORK (an empty folder for the
// mutants), KRT_HOSTILE_SECONDS (how long), KRT_HOSTILE_FIRST (the first mutant number) and
// KRT_HOSTILE_CASES (at most this many mutants; 0: no limit); KRT_HOSTILE_AS_IS=1 loads each
// seed once as it is instead, and KRT_HOSTILE_REFUSED=1 counts every load but a refusal (1) as
// a fault.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "krtlib.h"
#include "mutate.h"

namespace {

struct Seed {
    std::string name;
    FileBytes bytes;
};

std::string Environment(const char* name, const char* fallback)
{
    const char* value = std::getenv(name);
    return value && *value ? value : fallback;
}

FileBytes ReadAll(const std::string& path)
{
    FileBytes bytes;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        unsigned char buffer[65536];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
            bytes.insert(bytes.end(), buffer, buffer + n);
        std::fclose(f);
    }
    return bytes;
}

bool WriteAll(const std::string& path, const FileBytes& bytes)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

std::vector<Seed> ReadSeeds(const std::string& folder)
{
    std::vector<Seed> seeds;
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return seeds;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            seeds.push_back({found.cFileName, ReadAll(folder + "\\" + found.cFileName)});
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(seeds.begin(), seeds.end(), [](const Seed& a, const Seed& b) { return a.name < b.name; });
    return seeds;
}

// The names in the work folder: only the mutant may be there.
int FilesIn(const std::string& folder)
{
    int count = 0;
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    do {
        count += !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return count;
}

double Seconds()
{
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

void UserProgramInit(void)
{
    const std::string seedFolder = Environment("KRT_HOSTILE_SEEDS", "seeds");
    const std::string work = Environment("KRT_HOSTILE_WORK", ".");
    const double seconds = std::atof(Environment("KRT_HOSTILE_SECONDS", "30").c_str());
    const unsigned long long first = std::strtoull(Environment("KRT_HOSTILE_FIRST", "0").c_str(), nullptr, 10);
    const bool asIs = Environment("KRT_HOSTILE_AS_IS", "0") != "0";
    const bool refused = Environment("KRT_HOSTILE_REFUSED", "0") != "0";
    const unsigned long long most = std::strtoull(Environment("KRT_HOSTILE_CASES", "0").c_str(), nullptr, 10);
    const std::vector<Seed> seeds = ReadSeeds(seedFolder);
    KRT_CreateImage(0, "32-bit", 0, 0, 64, 48, 100);
    KRT_CreateImage8(1, "8-bit", 100, 0, 64, 48, 100);

    int cases = 0, loads = 0, loaded = 0, faults = 0, held = 0;
    double longest = 0;
    std::string longestCase;
    const double start = Seconds();
    for (unsigned long long n = first; !seeds.empty() && Seconds() - start < seconds && (!most || n - first < most);
         ++n) {
        const Seed& seed = seeds[n % seeds.size()];
        if (asIs && n - first >= seeds.size())
            break;
        const Mutant mutant = asIs ? Mutant{seed.bytes, "as it is"} : Mutate(seed.bytes, n);
        const std::size_t dot = seed.name.rfind('.');
        const std::string path =
            work + "\\case" + std::to_string(n) + (dot == std::string::npos ? "" : seed.name.substr(dot));
        if (!WriteAll(path, mutant.bytes)) {
            std::printf("fault: cannot write %s\n", path.c_str());
            ++faults;
            break;
        }
        std::printf("case %llu: %s, %s\n", n, seed.name.c_str(), mutant.how.c_str());
        std::fflush(stdout);
        ++cases;
        for (int slot = 0; slot < 2; ++slot) {
            KRT_SelectImage(slot);
            const double t = Seconds();
            const int result = KRT_LoadImageFile(path.c_str(), 0, 0);
            const double took = Seconds() - t;
            ++loads;
            loaded += result == 0;
            if (took > longest) {
                longest = took;
                longestCase = std::to_string(n);
            }
            if (result != 1 && (refused || result != 0)) {
                std::printf("fault: case %llu returned %d\n", n, result);
                ++faults;
            }
        }
        if (ReadAll(path) != mutant.bytes || FilesIn(work) != 1 + held) {
            std::printf("fault: case %llu changed the folder or the file\n", n);
            ++faults;
        }
        // A loader that keeps the file open after it returns keeps the user from replacing or
        // deleting it.
        if (!DeleteFileA(path.c_str())) {
            std::printf("fault: case %llu is still held open\n", n);
            ++faults;
            ++held;
        }
    }
    std::printf("[hostile] %d cases from %zu seeds, %d loads in %.0f s: %d loaded, %d refused, longest %.0f ms "
                "(case %s), %d faults\n",
                cases, seeds.size(), loads, Seconds() - start, loaded, loads - loaded, longest * 1000,
                longestCase.c_str(), faults);
    std::fflush(stdout);
    ExitProcess(faults == 0 && cases > 0 ? 0 : 3);
}

void UserProgramMain(void)
{
}
