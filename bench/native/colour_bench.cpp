// Colour conversions of a whole 2048 x 2048 32-bit image beside OpenCV's cvtColor of the same
// bytes (blue, green, red, fourth byte: its 4-channel BGR input) on one thread, and the
// test patterns beside memset of the same buffer (the "ClearImage whole/memset" figure).
// The per-pixel rows call the interface's single-colour functions for every pixel, as plain
// code would.  Part of raster_bench, whose table prints the ratios.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "image/image_table.h"
#include "imaging/colour_rows.h"
#include "krtlib.h"

#ifdef KRT_BENCH_OPENCV
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#endif

namespace {

constexpr int kSide = 2048;
constexpr std::size_t kPixels = std::size_t(kSide) * kSide;

// Colours of a kind photographs have: smooth runs with noise, every channel in use.
const std::vector<std::uint32_t>& Picture()
{
    static const std::vector<std::uint32_t> picture = [] {
        std::vector<std::uint32_t> out(kPixels);
        std::mt19937 random(11);
        std::uniform_int_distribution<int> noise(-12, 12);
        auto channel = [&](int base) { return static_cast<std::uint32_t>(std::min(255, std::max(0, base + noise(random)))); };
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x)
                out[std::size_t(y) * kSide + x] =
                    channel((x / 8) & 255) << 16 | channel((y / 8) & 255) << 8 | channel(((x + y) / 16) & 255);
        return out;
    }();
    return picture;
}

struct HsvPlanes {
    std::vector<std::uint16_t> hue = std::vector<std::uint16_t>(kPixels);
    std::vector<std::uint8_t> saturation = std::vector<std::uint8_t>(kPixels), value = std::vector<std::uint8_t>(kPixels);
};
struct YCrCbPlanes {
    std::vector<std::uint8_t> y = std::vector<std::uint8_t>(kPixels), cr = std::vector<std::uint8_t>(kPixels),
                              cb = std::vector<std::uint8_t>(kPixels);
};

void KrtRgbToHsv(benchmark::State& state)
{
    const std::vector<std::uint32_t>& picture = Picture();
    HsvPlanes out;
    for (auto _ : state) {
        for (int y = 0; y < kSide; ++y) {
            const std::size_t row = std::size_t(y) * kSide;
            RowToHsv(picture.data() + row, kSide, out.hue.data() + row, out.saturation.data() + row, out.value.data() + row);
        }
        benchmark::ClobberMemory();
    }
}

void PerPixelRgbToHsv(benchmark::State& state)
{
    const std::vector<std::uint32_t>& picture = Picture();
    HsvPlanes out;
    for (auto _ : state) {
        for (std::size_t i = 0; i < kPixels; ++i) {
            int h, s, v;
            RgbToHsv(static_cast<int>(picture[i]), &h, &s, &v);
            out.hue[i] = static_cast<std::uint16_t>(h);
            out.saturation[i] = static_cast<std::uint8_t>(s);
            out.value[i] = static_cast<std::uint8_t>(v);
        }
        benchmark::ClobberMemory();
    }
}

void KrtRgbToYCrCb(benchmark::State& state)
{
    const std::vector<std::uint32_t>& picture = Picture();
    YCrCbPlanes out;
    for (auto _ : state) {
        for (int y = 0; y < kSide; ++y) {
            const std::size_t row = std::size_t(y) * kSide;
            RowToYCrCb(picture.data() + row, kSide, out.y.data() + row, out.cr.data() + row, out.cb.data() + row);
        }
        benchmark::ClobberMemory();
    }
}

void PerPixelRgbToYCrCb(benchmark::State& state)
{
    const std::vector<std::uint32_t>& picture = Picture();
    YCrCbPlanes out;
    for (auto _ : state) {
        for (std::size_t i = 0; i < kPixels; ++i) {
            const int c = static_cast<int>(picture[i]);
            out.y[i] = static_cast<std::uint8_t>(Luminance(c));
            out.cr[i] = static_cast<std::uint8_t>(ChromaCr(c) + kChromaByteBias);
            out.cb[i] = static_cast<std::uint8_t>(ChromaCb(c) + kChromaByteBias);
        }
        benchmark::ClobberMemory();
    }
}

// A 32-bit image in slot 0, made current, for the patterns.
void Pattern(benchmark::State& state, void (*pattern)())
{
    std::vector<std::uint32_t> pixels(kPixels);
    ImageRecord& record = ImageTable[0];
    record.inUse = 1;
    record.bitDepth = 32;
    record.width = kSide;
    record.height = kSide;
    PixelTable[0] = reinterpret_cast<unsigned char*>(pixels.data());
    CurrentImage = 0;
    for (auto _ : state) {
        pattern();
        benchmark::ClobberMemory();
    }
    record.inUse = 0;
    PixelTable[0] = nullptr;
}

BENCHMARK(KrtRgbToHsv)->Name("RGB to HSV/krt")->Unit(benchmark::kMicrosecond);
BENCHMARK(PerPixelRgbToHsv)->Name("RGB to HSV per pixel/krt")->Unit(benchmark::kMicrosecond);
BENCHMARK(KrtRgbToYCrCb)->Name("RGB to YCrCb/krt")->Unit(benchmark::kMicrosecond);
BENCHMARK(PerPixelRgbToYCrCb)->Name("RGB to YCrCb per pixel/krt")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Pattern, hsv, PatternHsv)->Name("PatternHsv whole/krt")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Pattern, ycrcb, PatternYCrCb)->Name("PatternYCrCb whole/krt")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Pattern, rgb, PatternRgb)->Name("PatternRgb whole/krt")->Unit(benchmark::kMicrosecond);

#ifdef KRT_BENCH_OPENCV

void CvConvert(benchmark::State& state, int code)
{
    cv::setNumThreads(1);
    const cv::Mat source(kSide, kSide, CV_8UC4, const_cast<std::uint32_t*>(Picture().data()));
    cv::Mat out(kSide, kSide, CV_8UC3);
    for (auto _ : state) {
        cv::cvtColor(source, out, code);
        benchmark::ClobberMemory();
    }
}

BENCHMARK_CAPTURE(CvConvert, hsv, cv::COLOR_BGR2HSV)->Name("RGB to HSV/opencv")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(CvConvert, ycrcb, cv::COLOR_BGR2YCrCb)->Name("RGB to YCrCb/opencv")->Unit(benchmark::kMicrosecond);

#endif

}  // namespace
