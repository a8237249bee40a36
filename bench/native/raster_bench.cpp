// The raster layer beside reference implementations of the same work, in one run, so that
// every figure is read as a ratio: OpenCV's line, circle, rectangle and flood fill on a
// one-channel 32-bit view of the same kind of buffer, and memcpy for block copies.  One
// thread, a 2048 x 2048 32-bit image.  Figures are printed, never asserted.  colour_bench.cpp
// adds the colour conversions and test patterns to the same table, transform_bench.cpp the
// quarter turns, flips and inversion.
//
// Long lines and circle outlines write about one new cache line per pixel, and 2048-word rows
// put a column's pixels into few cache sets: there both implementations wait on memory alike.
// The "in cache" rows draw the same kinds of shapes into a 256 x 256 image, which shows what
// the drawing itself costs.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "image/image_table.h"
#include "krtlib.h"

#ifdef KRT_BENCH_OPENCV
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#endif

namespace {

constexpr int kSize = 2048;
constexpr int kSlot = 0;
constexpr int kBatch = 256;  // shapes drawn per benchmark iteration

constexpr int kCachedSize = 256;

// A 32-bit image placed in slot 0 and made current, as a created window leaves it.
struct BenchImage {
    int size;
    std::vector<std::uint32_t> pixels;
    explicit BenchImage(int side = kSize) : size(side), pixels(size_t(side) * side, 0)
    {
        ImageRecord& record = ImageTable[kSlot];
        record.inUse = 1;
        record.bitDepth = 32;
        record.width = size;
        record.height = size;
        PixelTable[kSlot] = reinterpret_cast<unsigned char*>(pixels.data());
        CurrentImage = kSlot;
    }
    ~BenchImage() { ImageTable[kSlot].inUse = 0; }
#ifdef KRT_BENCH_OPENCV
    cv::Mat view() { return cv::Mat(size, size, CV_32SC1, pixels.data()); }
#endif
};

struct Segment {
    int x1, y1, x2, y2;
};
struct Round {
    int cx, cy, r;
};

std::vector<Segment> Segments(unsigned seed, int reach, int size = kSize)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> anywhere(0, size - 1), near(-reach, reach);
    std::vector<Segment> out(kBatch);
    for (Segment& s : out) {
        s.x1 = anywhere(random), s.y1 = anywhere(random);
        if (reach >= size)
            s.x2 = anywhere(random), s.y2 = anywhere(random);
        else
            s.x2 = s.x1 + near(random), s.y2 = s.y1 + near(random);
    }
    return out;
}

std::vector<Round> Rounds(unsigned seed, int rmin, int rmax, int size = kSize)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> anywhere(0, size - 1), radius(rmin, rmax);
    std::vector<Round> out(kBatch);
    for (Round& c : out)
        c = {anywhere(random), anywhere(random), radius(random)};
    return out;
}

const std::vector<Segment> kLongLines = Segments(1, kSize), kShortLines = Segments(2, 16);
const std::vector<Round> kLargeCircles = Rounds(3, 200, 1000), kSmallCircles = Rounds(4, 2, 20);
const std::vector<Segment> kLargeBoxes = Segments(5, kSize), kSmallBoxes = Segments(6, 16);
const std::vector<Segment> kCachedLines = Segments(8, kCachedSize, kCachedSize);
const std::vector<Round> kCachedCircles = Rounds(9, 2, 20, kCachedSize);

// A maze of one-pixel corridors on the odd grid (walls 0, corridors 1), carved depth first.
std::vector<std::uint32_t> Maze()
{
    const int cells = (kSize - 1) / 2;
    std::vector<std::uint32_t> image(size_t(kSize) * kSize, 0);
    auto at = [&](int x, int y) -> std::uint32_t& { return image[size_t(y) * kSize + x]; };
    std::mt19937 random(7);
    std::vector<bool> seen(size_t(cells) * cells, false);
    std::vector<std::pair<int, int>> path = {{0, 0}};
    seen[0] = true;
    at(1, 1) = 1;
    const int steps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    while (!path.empty()) {
        const auto [cx, cy] = path.back();
        int open[4], count = 0;
        for (int k = 0; k < 4; ++k) {
            const int nx = cx + steps[k][0], ny = cy + steps[k][1];
            if (nx >= 0 && ny >= 0 && nx < cells && ny < cells && !seen[size_t(ny) * cells + nx])
                open[count++] = k;
        }
        if (count == 0) {
            path.pop_back();
            continue;
        }
        const int k = open[random() % count];
        const int nx = cx + steps[k][0], ny = cy + steps[k][1];
        seen[size_t(ny) * cells + nx] = true;
        at(2 * nx + 1, 2 * ny + 1) = 1;
        at(cx + nx + 1, cy + ny + 1) = 1;
        path.push_back({nx, ny});
    }
    return image;
}

// ---- The library ---------------------------------------------------------------------------

void KrtLines(benchmark::State& state, const std::vector<Segment>& lines, int size = kSize)
{
    BenchImage image(size);
    int colour = 0;
    for (auto _ : state) {
        ++colour;
        for (const Segment& s : lines)
            KRT_DrawLine(s.x1, s.y1, s.x2, s.y2, colour);
        benchmark::ClobberMemory();
    }
}

void KrtCircles(benchmark::State& state, const std::vector<Round>& circles, int size = kSize)
{
    BenchImage image(size);
    int colour = 0;
    for (auto _ : state) {
        ++colour;
        for (const Round& c : circles)
            KRT_DrawCircle(c.cx, c.cy, c.r, colour);
        benchmark::ClobberMemory();
    }
}

void KrtDiscs(benchmark::State& state, const std::vector<Round>& discs)
{
    BenchImage image;
    for (auto _ : state) {
        KRT_SetDrawingColour(KRT_GetDrawingColour() + 1);
        for (const Round& c : discs)
            FillCircle(c.cx, c.cy, c.r);
        benchmark::ClobberMemory();
    }
}

void KrtBoxes(benchmark::State& state, const std::vector<Segment>& boxes)
{
    BenchImage image;
    for (auto _ : state) {
        KRT_SetDrawingColour(KRT_GetDrawingColour() + 1);
        for (const Segment& b : boxes)
            FillBox(b.x1, b.y1, b.x2, b.y2);
        benchmark::ClobberMemory();
    }
}

// Fills the region of (1, 1) with alternating colours, so that every fill does the same work.
void KrtFlood(benchmark::State& state, bool maze)
{
    BenchImage image;
    if (maze)
        image.pixels = Maze(), PixelTable[kSlot] = reinterpret_cast<unsigned char*>(image.pixels.data());
    int fill = 2;
    for (auto _ : state) {
        fill = fill == 2 ? 3 : 2;
        KRT_SetDrawingColour(fill);
        FloodFill(1, 1);
        benchmark::ClobberMemory();
    }
}

void KrtPutBlock(benchmark::State& state)
{
    BenchImage image;
    std::vector<std::uint32_t> block(size_t(kSize) * kSize, 0x123456);
    for (auto _ : state) {
        KRT_PutImageBlock(block.data(), kSize, kSize);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * int64_t(block.size() * 4));
}

void MemcpyBlock(benchmark::State& state)
{
    BenchImage image;
    std::vector<std::uint32_t> block(size_t(kSize) * kSize, 0x123456);
    for (auto _ : state) {
        std::memcpy(image.pixels.data(), block.data(), block.size() * 4);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * int64_t(block.size() * 4));
}

void KrtClear(benchmark::State& state)
{
    BenchImage image;
    for (auto _ : state) {
        ClearImage(kSlot);
        benchmark::ClobberMemory();
    }
}

void MemsetClear(benchmark::State& state)
{
    BenchImage image;
    for (auto _ : state) {
        std::memset(image.pixels.data(), 0, image.pixels.size() * 4);
        benchmark::ClobberMemory();
    }
}

BENCHMARK_CAPTURE(KrtLines, Lines_long, kLongLines)->Name("Lines long/krt");
BENCHMARK_CAPTURE(KrtLines, Lines_short, kShortLines)->Name("Lines short/krt");
BENCHMARK_CAPTURE(KrtCircles, Circles_large, kLargeCircles)->Name("Circles large/krt");
BENCHMARK_CAPTURE(KrtCircles, Circles_small, kSmallCircles)->Name("Circles small/krt");
BENCHMARK_CAPTURE(KrtLines, Lines_cached, kCachedLines, kCachedSize)->Name("Lines long in cache/krt");
BENCHMARK_CAPTURE(KrtCircles, Circles_cached, kCachedCircles, kCachedSize)->Name("Circles small in cache/krt");
BENCHMARK_CAPTURE(KrtDiscs, Discs_large, kLargeCircles)->Name("Discs large/krt");
BENCHMARK_CAPTURE(KrtDiscs, Discs_small, kSmallCircles)->Name("Discs small/krt");
BENCHMARK_CAPTURE(KrtBoxes, Boxes_large, kLargeBoxes)->Name("Boxes large/krt");
BENCHMARK_CAPTURE(KrtBoxes, Boxes_small, kSmallBoxes)->Name("Boxes small/krt");
BENCHMARK_CAPTURE(KrtFlood, Flood_open, false)->Name("Flood fill open/krt");
BENCHMARK_CAPTURE(KrtFlood, Flood_maze, true)->Name("Flood fill maze/krt");
BENCHMARK(KrtPutBlock)->Name("PutImageBlock whole/krt");
BENCHMARK(MemcpyBlock)->Name("PutImageBlock whole/memcpy");
BENCHMARK(KrtClear)->Name("ClearImage whole/krt");
BENCHMARK(MemsetClear)->Name("ClearImage whole/memset");

// ---- OpenCV --------------------------------------------------------------------------------
#ifdef KRT_BENCH_OPENCV

void CvLines(benchmark::State& state, const std::vector<Segment>& lines, int size = kSize)
{
    BenchImage image(size);
    cv::Mat view = image.view();
    int colour = 0;
    for (auto _ : state) {
        ++colour;
        for (const Segment& s : lines)
            cv::line(view, {s.x1, s.y1}, {s.x2, s.y2}, cv::Scalar(colour), 1, cv::LINE_8);
        benchmark::ClobberMemory();
    }
}

void CvCircles(benchmark::State& state, const std::vector<Round>& circles, int thickness, int size = kSize)
{
    BenchImage image(size);
    cv::Mat view = image.view();
    int colour = 0;
    for (auto _ : state) {
        ++colour;
        for (const Round& c : circles)
            cv::circle(view, {c.cx, c.cy}, c.r, cv::Scalar(colour), thickness, cv::LINE_8);
        benchmark::ClobberMemory();
    }
}

void CvBoxes(benchmark::State& state, const std::vector<Segment>& boxes)
{
    BenchImage image;
    cv::Mat view = image.view();
    int colour = 0;
    for (auto _ : state) {
        ++colour;
        for (const Segment& b : boxes)
            cv::rectangle(view, cv::Point(b.x1, b.y1), cv::Point(b.x2, b.y2), cv::Scalar(colour), cv::FILLED, cv::LINE_8);
        benchmark::ClobberMemory();
    }
}

void CvFlood(benchmark::State& state, bool maze)
{
    BenchImage image;
    if (maze)
        image.pixels = Maze();
    cv::Mat view = image.view();
    int fill = 2;
    for (auto _ : state) {
        fill = fill == 2 ? 3 : 2;
        cv::floodFill(view, cv::Point(1, 1), cv::Scalar(fill), nullptr, cv::Scalar(), cv::Scalar(), 4);
        benchmark::ClobberMemory();
    }
}

BENCHMARK_CAPTURE(CvLines, Lines_long, kLongLines)->Name("Lines long/opencv");
BENCHMARK_CAPTURE(CvLines, Lines_short, kShortLines)->Name("Lines short/opencv");
BENCHMARK_CAPTURE(CvCircles, Circles_large, kLargeCircles, 1)->Name("Circles large/opencv");
BENCHMARK_CAPTURE(CvCircles, Circles_small, kSmallCircles, 1)->Name("Circles small/opencv");
BENCHMARK_CAPTURE(CvLines, Lines_cached, kCachedLines, kCachedSize)->Name("Lines long in cache/opencv");
BENCHMARK_CAPTURE(CvCircles, Circles_cached, kCachedCircles, 1, kCachedSize)->Name("Circles small in cache/opencv");
BENCHMARK_CAPTURE(CvCircles, Discs_large, kLargeCircles, cv::FILLED)->Name("Discs large/opencv");
BENCHMARK_CAPTURE(CvCircles, Discs_small, kSmallCircles, cv::FILLED)->Name("Discs small/opencv");
BENCHMARK_CAPTURE(CvBoxes, Boxes_large, kLargeBoxes)->Name("Boxes large/opencv");
BENCHMARK_CAPTURE(CvBoxes, Boxes_small, kSmallBoxes)->Name("Boxes small/opencv");
BENCHMARK_CAPTURE(CvFlood, Flood_open, false)->Name("Flood fill open/opencv");
BENCHMARK_CAPTURE(CvFlood, Flood_maze, true)->Name("Flood fill maze/opencv");

#endif

// ---- The ratio table -------------------------------------------------------------------------

// The console report as usual, and the times kept for the table printed after it: the median
// when runs are repeated (a shared machine's other work shows up as outliers), else the run.
class TableReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> nanoseconds;
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.run_type != Run::RT_Aggregate || run.aggregate_name == "median")
                nanoseconds[run.run_name.str()] = run.GetAdjustedRealTime() * TimeUnitFactor(run.time_unit);
        ConsoleReporter::ReportRuns(runs);
    }

private:
    static double TimeUnitFactor(benchmark::TimeUnit unit)
    {
        switch (unit) {
        case benchmark::kSecond: return 1e9;
        case benchmark::kMillisecond: return 1e6;
        case benchmark::kMicrosecond: return 1e3;
        default: return 1;
        }
    }
};

struct Target {
    const char* work;
    const char* reference;
    const char* goal;
    const char* referenceWork = nullptr;  // the reference's figure for other work (default: the same)
};
const Target kTargets[] = {
    {"Lines long", "opencv", "<= 0.5"},        {"Lines short", "opencv", "<= 0.5"},
    {"Circles large", "opencv", "<= 0.5"},     {"Circles small", "opencv", "<= 0.5"},
    {"Lines long in cache", "opencv", "<= 0.5"}, {"Circles small in cache", "opencv", "<= 0.5"},
    {"Discs large", "opencv", "<= 1.0"},       {"Discs small", "opencv", "<= 1.0"},
    {"Boxes large", "opencv", "<= 1.0"},       {"Boxes small", "opencv", "<= 1.0"},
    {"Flood fill open", "opencv", "<= 1.5"},   {"Flood fill maze", "opencv", "<= 1.0"},
    {"PutImageBlock whole", "memcpy", "<= 1.2"}, {"ClearImage whole", "memset", ""},
    {"RGB to HSV", "opencv", "<= 1.0"},        {"RGB to HSV per pixel", "opencv", "", "RGB to HSV"},
    {"RGB to YCrCb", "opencv", "<= 1.0"},      {"RGB to YCrCb per pixel", "opencv", "", "RGB to YCrCb"},
    {"PatternHsv whole", "memset", "", "ClearImage whole"},
    {"PatternYCrCb whole", "memset", "", "ClearImage whole"},
    {"PatternRgb whole", "memset", "", "ClearImage whole"},
    {"Rotate 32-bit", "opencv", "<= 1.2"},     {"Rotate 8-bit", "opencv", "<= 1.2"},
    {"Horz. flip", "opencv", "<= 1.2"},        {"Vert. flip", "opencv", "<= 1.2"},
    {"Invert", "opencv", "<= 1.2"},
};

void PrintTable(const std::map<std::string, double>& ns)
{
    std::printf("\n%-24s %10s %-8s %10s %8s  %s\n", "work", "krt (us)", "against", "ref (us)", "ratio", "target");
    for (const Target& t : kTargets) {
        const auto ours = ns.find(std::string(t.work) + "/krt");
        const auto theirs = ns.find(std::string(t.referenceWork ? t.referenceWork : t.work) + "/" + t.reference);
        if (ours == ns.end())
            continue;
        if (theirs == ns.end()) {
            std::printf("%-24s %10.1f %-8s %10s %8s  %s\n", t.work, ours->second / 1e3, t.reference, "-", "-", t.goal);
            continue;
        }
        std::printf("%-24s %10.1f %-8s %10.1f %8.2f  %s\n", t.work, ours->second / 1e3, t.reference,
                    theirs->second / 1e3, ours->second / theirs->second, t.goal);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    TableReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    PrintTable(reporter.nanoseconds);
    return 0;
}
