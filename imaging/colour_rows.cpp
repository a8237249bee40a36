// Row conversions eight (HSV) or sixteen (YCrCb) pixels at a time with SSE2 (every x86-64 processor has it), the
// remainder and other processors one pixel at a time through the single-colour formulas.
//
// The exact integers survive the vector arithmetic:
// - Luminance and the colour differences are sums of 16-bit products, which PMADDWD forms in
//   pairs: a pixel word's bytes as 16-bit lanes are (blue, red) under the mask 0x00FF00FF and
//   (green, 2) after a shift with the constant lane set, so each formula is two PMADDWDs.
//   Weights beyond the signed 16-bit range are halved: 38470 G is twice 19235 G, and the
//   colour-difference weights are all even, so their sums are formed halved and divided by
//   32768 instead of 65536.  The sums stay below 2^24 in magnitude, so single precision holds
//   them exactly and its truncating conversion divides toward zero.
// - The hue's 60 n / s has n <= s <= 255.  Single precision holds 60 n and s exactly and
//   rounds their quotient correctly; a quotient that is not a whole number lies at least 1/s
//   below the next one, far more than the rounding error, so truncating the rounded quotient
//   gives the integer division's result.
#include "imaging/colour_rows.h"

#include "imaging/colour_maths.h"

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#define KRT_COLOUR_ROWS_SSE2 1
#include <emmintrin.h>
#endif

namespace {

void HsvOneByOne(const std::uint32_t* src, std::size_t begin, std::size_t end, std::uint16_t* hue,
                 std::uint8_t* saturation, std::uint8_t* value)
{
    for (std::size_t i = begin; i < end; ++i) {
        const colour::Hsv hsv = colour::HsvOf(static_cast<int>(src[i]));
        hue[i] = static_cast<std::uint16_t>(hsv.h);
        saturation[i] = static_cast<std::uint8_t>(hsv.s);
        value[i] = static_cast<std::uint8_t>(hsv.v);
    }
}

void YCrCbOneByOne(const std::uint32_t* src, std::size_t begin, std::size_t end, std::uint8_t* luminance,
                   std::uint8_t* cr, std::uint8_t* cb)
{
    for (std::size_t i = begin; i < end; ++i) {
        const int c = static_cast<int>(src[i]);
        luminance[i] = static_cast<std::uint8_t>(colour::LuminanceOf(c));
        cr[i] = static_cast<std::uint8_t>(colour::ChromaCrOf(c) + kChromaByteBias);
        cb[i] = static_cast<std::uint8_t>(colour::ChromaCbOf(c) + kChromaByteBias);
    }
}

#ifdef KRT_COLOUR_ROWS_SSE2

// Lanes where mask is set take a, the others b.
inline __m128i Select(__m128i mask, __m128i a, __m128i b)
{
    return _mm_or_si128(_mm_and_si128(mask, a), _mm_andnot_si128(mask, b));
}

// Channel `shift` of eight pixels as 16-bit lanes.
inline __m128i Channel16(__m128i p0, __m128i p1, int shift)
{
    const __m128i byte = _mm_set1_epi32(0xFF);
    return _mm_packs_epi32(_mm_and_si128(_mm_srli_epi32(p0, shift), byte),
                           _mm_and_si128(_mm_srli_epi32(p1, shift), byte));
}

// Truncating 32-bit quotients of non-negative 16-bit numerators and positive divisors.
inline __m128i Quotient16(__m128i numerator, __m128i divisor)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128 lowQ = _mm_div_ps(_mm_cvtepi32_ps(_mm_unpacklo_epi16(numerator, zero)),
                                   _mm_cvtepi32_ps(_mm_unpacklo_epi16(divisor, zero)));
    const __m128 highQ = _mm_div_ps(_mm_cvtepi32_ps(_mm_unpackhi_epi16(numerator, zero)),
                                    _mm_cvtepi32_ps(_mm_unpackhi_epi16(divisor, zero)));
    return _mm_packs_epi32(_mm_cvttps_epi32(lowQ), _mm_cvttps_epi32(highQ));
}

void HsvEight(const std::uint32_t* src, std::uint16_t* hue, std::uint8_t* saturation, std::uint8_t* value)
{
    const __m128i p0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src));
    const __m128i p1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 4));
    const __m128i r = Channel16(p0, p1, 16), g = Channel16(p0, p1, 8), b = Channel16(p0, p1, 0);
    const __m128i max = _mm_max_epi16(_mm_max_epi16(r, g), b);
    const __m128i min = _mm_min_epi16(_mm_min_epi16(r, g), b);
    const __m128i spread = _mm_sub_epi16(max, min);
    const __m128i rMax = _mm_cmpeq_epi16(r, max), gMax = _mm_cmpeq_epi16(g, max), bMax = _mm_cmpeq_epi16(b, max);
    const __m128i rMin = _mm_cmpeq_epi16(r, min), gMin = _mm_cmpeq_epi16(g, min), bMin = _mm_cmpeq_epi16(b, min);

    // The sectors from the last to the first, each overriding the later ones where it matches,
    // so that the first matching sector wins as in HsvOf.  A grey matches the first with n = 0.
    __m128i n = _mm_sub_epi16(r, b), start = _mm_set1_epi16(300);               // red max, green min
    __m128i match = _mm_and_si128(bMax, gMin);                                  // blue max, green min
    n = Select(match, _mm_sub_epi16(r, g), n), start = Select(match, _mm_set1_epi16(240), start);
    match = _mm_and_si128(bMax, rMin);                                          // blue max, red min
    n = Select(match, _mm_sub_epi16(b, g), n), start = Select(match, _mm_set1_epi16(180), start);
    match = _mm_and_si128(gMax, rMin);                                          // green max, red min
    n = Select(match, _mm_sub_epi16(b, r), n), start = Select(match, _mm_set1_epi16(120), start);
    match = _mm_and_si128(gMax, bMin);                                          // green max, blue min
    n = Select(match, _mm_sub_epi16(g, r), n), start = Select(match, _mm_set1_epi16(60), start);
    match = _mm_and_si128(rMax, bMin);                                          // red max, blue min
    n = Select(match, _mm_sub_epi16(g, b), n), start = _mm_andnot_si128(match, start);

    // A grey has n = 0, so any divisor gives its hue 0; 1 keeps the division finite.
    const __m128i divisor = _mm_max_epi16(spread, _mm_set1_epi16(1));
    const __m128i h = _mm_add_epi16(start, Quotient16(_mm_mullo_epi16(n, _mm_set1_epi16(60)), divisor));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(hue), h);
    const __m128i sv = _mm_packus_epi16(spread, max);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(saturation), sv);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(value), _mm_srli_si128(sv, 8));
}

// x / 32768 truncated toward zero, for 32-bit lanes of magnitude below 2^24: single precision
// holds them exactly, the scaling by a power of two is exact, and the conversion truncates.
inline __m128i DivideToward0By32768(__m128i x)
{
    return _mm_cvttps_epi32(_mm_mul_ps(_mm_cvtepi32_ps(x), _mm_set1_ps(1.0f / 32768)));
}

struct YCrCbLanes {
    __m128i y, cr, cb;  // 32-bit lanes
};

// Weights for PMADDWD: the low 16-bit lane of each pair gets `low`, the high one `high`.
inline __m128i PairWeights(short low, short high)
{
    return _mm_set1_epi32(static_cast<int>(static_cast<unsigned short>(low)) | high * 65536);
}

YCrCbLanes YCrCbFour(const std::uint32_t* src)
{
    const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src));
    const __m128i blueRed = _mm_and_si128(p, _mm_set1_epi32(0x00FF00FF));
    const __m128i greenTwo = _mm_or_si128(_mm_and_si128(_mm_srli_epi32(p, 8), _mm_set1_epi32(0xFF)),
                                          _mm_set1_epi32(0x00020000));
    // 7471 B + 19595 R, plus twice 19235 G + 2 x 8192: the luminance sum with its rounding.
    const __m128i greenY = _mm_madd_epi16(greenTwo, PairWeights(19235, 8192));
    const __m128i ySum = _mm_add_epi32(_mm_madd_epi16(blueRed, PairWeights(7471, 19595)), _mm_add_epi32(greenY, greenY));
    // Halves of the colour-difference sums (32768 is 2 x 8192 on the constant lane, halved).
    const __m128i crHalf = _mm_add_epi32(_mm_madd_epi16(blueRed, PairWeights(-2654, 16384)),
                                         _mm_madd_epi16(greenTwo, PairWeights(-13730, 8192)));
    const __m128i cbHalf = _mm_add_epi32(_mm_madd_epi16(blueRed, PairWeights(16384, -5538)),
                                         _mm_madd_epi16(greenTwo, PairWeights(-10846, 8192)));
    return {_mm_srli_epi32(ySum, 16), DivideToward0By32768(crHalf), DivideToward0By32768(cbHalf)};
}

// Sixteen 32-bit lanes of 0 to 255 (after adding `bias` to each) stored as sixteen bytes.
inline void StoreBytes16(std::uint8_t* out, __m128i a, __m128i b, __m128i c, __m128i d, __m128i bias)
{
    const __m128i low = _mm_add_epi16(_mm_packs_epi32(a, b), bias);
    const __m128i high = _mm_add_epi16(_mm_packs_epi32(c, d), bias);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(low, high));
}

void YCrCbSixteen(const std::uint32_t* src, std::uint8_t* luminance, std::uint8_t* cr, std::uint8_t* cb)
{
    const YCrCbLanes a = YCrCbFour(src), b = YCrCbFour(src + 4), c = YCrCbFour(src + 8), d = YCrCbFour(src + 12);
    const __m128i bias = _mm_set1_epi16(kChromaByteBias);
    StoreBytes16(luminance, a.y, b.y, c.y, d.y, _mm_setzero_si128());
    StoreBytes16(cr, a.cr, b.cr, c.cr, d.cr, bias);
    StoreBytes16(cb, a.cb, b.cb, c.cb, d.cb, bias);
}

#endif

}  // namespace

void RowToHsv(const std::uint32_t* src, std::size_t count, std::uint16_t* hue, std::uint8_t* saturation,
              std::uint8_t* value)
{
    std::size_t i = 0;
#ifdef KRT_COLOUR_ROWS_SSE2
    for (; i + 8 <= count; i += 8)
        HsvEight(src + i, hue + i, saturation + i, value + i);
#endif
    HsvOneByOne(src, i, count, hue, saturation, value);
}

void RowToYCrCb(const std::uint32_t* src, std::size_t count, std::uint8_t* luminance, std::uint8_t* cr,
                std::uint8_t* cb)
{
    std::size_t i = 0;
#ifdef KRT_COLOUR_ROWS_SSE2
    for (; i + 16 <= count; i += 16)
        YCrCbSixteen(src + i, luminance + i, cr + i, cb + i);
#endif
    YCrCbOneByOne(src, i, count, luminance, cr, cb);
}
