// Quarter turns and flips of a 2048 x 2048 image beside OpenCV's rotate and flip of the same
// bytes (a 4-channel or 1-channel matrix over the same rows).  A turn reads the packed block
// the command copies out and writes a separate image, as cv::rotate does; flips work in place
// for both.  Part of raster_bench, whose table prints the ratios.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "imaging/transforms.h"

#ifdef KRT_BENCH_OPENCV
#include <opencv2/core.hpp>
#endif

namespace {

constexpr int kSide = 2048;

std::vector<std::uint32_t> Words()
{
    std::vector<std::uint32_t> words(std::size_t(kSide) * kSide);
    std::mt19937 random(17);
    for (std::uint32_t& w : words)
        w = random() & 0xFFFFFF;
    return words;
}

std::vector<std::uint8_t> Bytes()
{
    std::vector<std::uint8_t> bytes(std::size_t(kSide) * kSide);
    std::mt19937 random(19);
    for (std::uint8_t& b : bytes)
        b = static_cast<std::uint8_t>(random());
    return bytes;
}

void KrtTurn(benchmark::State& state, int depth)
{
    std::vector<std::uint32_t> words = Words(), wordsOut(words.size());
    std::vector<std::uint8_t> bytes = Bytes(), bytesOut(bytes.size());
    const PixelView target = depth == 8
                                 ? PixelView{bytesOut.data(), kSide, kSide, 8, kSide}
                                 : PixelView{reinterpret_cast<unsigned char*>(wordsOut.data()), kSide, kSide, 32, kSide * 4};
    const void* source = depth == 8 ? static_cast<const void*>(bytes.data()) : words.data();
    for (auto _ : state) {
        TurnQuarter(source, kSide, kSide, target, Turn::Clockwise);
        benchmark::ClobberMemory();
    }
}

void KrtFlip(benchmark::State& state, bool horizontal)
{
    std::vector<std::uint32_t> words = Words();
    const PixelView view{reinterpret_cast<unsigned char*>(words.data()), kSide, kSide, 32, kSide * 4};
    for (auto _ : state) {
        (horizontal ? FlipHorizontal : FlipVertical)(view);
        benchmark::ClobberMemory();
    }
}

void KrtInvert(benchmark::State& state)
{
    std::vector<std::uint32_t> words = Words();
    const PixelView view{reinterpret_cast<unsigned char*>(words.data()), kSide, kSide, 32, kSide * 4};
    for (auto _ : state) {
        InvertAll(view);
        benchmark::ClobberMemory();
    }
}

}  // namespace

BENCHMARK_CAPTURE(KrtTurn, Turn32, 32)->Name("Rotate 32-bit/krt");
BENCHMARK_CAPTURE(KrtTurn, Turn8, 8)->Name("Rotate 8-bit/krt");
BENCHMARK_CAPTURE(KrtFlip, FlipH, true)->Name("Horz. flip/krt");
BENCHMARK_CAPTURE(KrtFlip, FlipV, false)->Name("Vert. flip/krt");
BENCHMARK(KrtInvert)->Name("Invert/krt");

#ifdef KRT_BENCH_OPENCV
namespace {

// One thread, as ours: OpenCV would otherwise share some of this work out.
void CvTurn(benchmark::State& state, int depth)
{
    cv::setNumThreads(1);
    std::vector<std::uint32_t> words = Words();
    std::vector<std::uint8_t> bytes = Bytes();
    cv::Mat source = depth == 8 ? cv::Mat(kSide, kSide, CV_8UC1, bytes.data())
                                : cv::Mat(kSide, kSide, CV_8UC4, words.data());
    cv::Mat target(kSide, kSide, source.type());
    for (auto _ : state) {
        cv::rotate(source, target, cv::ROTATE_90_CLOCKWISE);
        benchmark::ClobberMemory();
    }
}

void CvFlip(benchmark::State& state, bool horizontal)
{
    cv::setNumThreads(1);
    std::vector<std::uint32_t> words = Words();
    cv::Mat image(kSide, kSide, CV_8UC4, words.data());
    for (auto _ : state) {
        cv::flip(image, image, horizontal ? 1 : 0);
        benchmark::ClobberMemory();
    }
}

void CvInvert(benchmark::State& state)
{
    cv::setNumThreads(1);
    std::vector<std::uint32_t> words = Words();
    cv::Mat image(kSide, kSide, CV_8UC4, words.data());
    for (auto _ : state) {
        cv::bitwise_not(image, image);
        benchmark::ClobberMemory();
    }
}

}  // namespace

BENCHMARK_CAPTURE(CvTurn, Turn32, 32)->Name("Rotate 32-bit/opencv");
BENCHMARK_CAPTURE(CvTurn, Turn8, 8)->Name("Rotate 8-bit/opencv");
BENCHMARK_CAPTURE(CvFlip, FlipH, true)->Name("Horz. flip/opencv");
BENCHMARK_CAPTURE(CvFlip, FlipV, false)->Name("Vert. flip/opencv");
BENCHMARK(CvInvert)->Name("Invert/opencv");
#endif
