// The colour conversions: their documented values, then every one of the 2^24 colours for the
// ranges, the HSV round trip and the row conversions' equality with the single-colour ones.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "imaging/colour_maths.h"
#include "imaging/colour_rows.h"
#include "krtlib.h"

namespace {

struct HsvResult {
    int h, s, v;
    bool operator==(const HsvResult& o) const { return h == o.h && s == o.s && v == o.v; }
};
std::ostream& operator<<(std::ostream& out, const HsvResult& x) { return out << x.h << "/" << x.s << "/" << x.v; }

HsvResult Hsv(int c)
{
    HsvResult r{-1, -1, -1};
    RgbToHsv(c, &r.h, &r.s, &r.v);
    return r;
}

// The conversions are usable in constant expressions.
static_assert(colour::HsvOf(0xFF8000).h == 30 && colour::RgbOfHsv(255, 255, 0) == 0xFF0000, "constexpr");
static_assert(colour::LuminanceOf(0xFFFFFF) == 255 && colour::ChromaCrOf(0x00FFFF) == -127, "constexpr");

TEST(ColourConversions, DocumentedValuesAndOneColourOfEachHueSector)
{
    EXPECT_EQ(Hsv(0xFF8000), (HsvResult{30, 255, 255}));
    EXPECT_EQ(Hsv(0xFF00FF), (HsvResult{300, 255, 255}));  // blue max, green min
    EXPECT_EQ(Hsv(0x5A5A5A), (HsvResult{0, 0, 90}));
    EXPECT_EQ(Hsv(0xC8C832).h, 60);                        // red max, blue min: 60 * 150 / 150
    EXPECT_EQ(Hsv(0x000000), (HsvResult{0, 0, 0}));
    EXPECT_EQ(Hsv(0xFFFFFF), (HsvResult{0, 0, 255}));
    EXPECT_EQ(Hsv(0x00FF00), (HsvResult{120, 255, 255}));  // green max, blue min: 60 * 255 / 255 + 60
    // The six sectors in order, with a rising channel of 128 or 127: 60 * 128 / 255 = 30,
    // 60 * 127 / 255 = 29.
    EXPECT_EQ(Hsv(0xFF8000).h, 30);       // red max, blue min: 60 (G - B) / S
    EXPECT_EQ(Hsv(0x80FF00).h, 60 + 29);  // green max, blue min: 60 (G - R) / S + 60
    EXPECT_EQ(Hsv(0x00FF80).h, 120 + 30);  // green max, red min: 60 (B - R) / S + 120
    EXPECT_EQ(Hsv(0x0080FF).h, 180 + 29);  // blue max, red min: 60 (B - G) / S + 180
    EXPECT_EQ(Hsv(0x8000FF).h, 240 + 30);  // blue max, green min: 60 (R - G) / S + 240
    EXPECT_EQ(Hsv(0xFF0080).h, 300 + 29);  // red max, green min: 60 (R - B) / S + 300
    EXPECT_EQ(Hsv(0x7B0A1E0A), (HsvResult{120, 20, 30}));  // the top byte is ignored
    EXPECT_EQ(Hsv(0xFEDCBA), (HsvResult{GetHue(0xFEDCBA), GetSaturation(0xFEDCBA), GetValue(0xFEDCBA)}));
    RgbToHsv(0x123456, nullptr, nullptr, nullptr);  // any result may be left out

    EXPECT_EQ(HsvToRgb(255, 255, 0), 0xFF0000);
    for (int h : {0, 59, 60, 150, 239, 300, 359})
        EXPECT_EQ(HsvToRgb(255, 0, h), 0xFFFFFF) << h;
    EXPECT_EQ(HsvToRgb(100, 200, 0), 0x640000);  // m = 0, not negative
    EXPECT_EQ(HsvToRgb(200, 100, 90), 0x96C864);  // 30 into the second sector: red 100 * (60 - 30) / 60 + 100

    EXPECT_EQ(Luminance(0xFFFFFF), 255);
    EXPECT_EQ(ChromaCr(0xFF0000), 128);
    EXPECT_EQ(ChromaCb(0x0000FF), 128);
    EXPECT_EQ(ChromaCr(0x00FFFF), -127);
    EXPECT_EQ(ChromaCb(0xFFFF00), -127);
    EXPECT_EQ(ChromaCr(0x000400), -1);  // (-27460 * 4 + 32768) / 65536 = -1.17: toward zero, not down
    EXPECT_EQ(YuvU(0x0000FF), (28574 * 255 + 32768) / 65536);
    EXPECT_EQ(YuvV(0xFF0000), (40305 * 255 + 32768) / 65536);
    EXPECT_EQ(YiqI(0x00FFFF), (-(18022 + 21037) * 255 + 32768) / 65536);
    EXPECT_EQ(YiqQ(0xFF00FF), ((13533 + 19032) * 255 + 32768) / 65536);
}

// Every colour, in one pass:
// - each conversion stays in its range, and reaches both ends of it;
// - HsvToRgb(RgbToHsv(c)) gives back the largest and the smallest channel exactly, and the
//   one between them within floor((S + 58) / 60), at most 5: the hue keeps the rising channel
//   only in steps of S / 60 levels (its truncation loses less than (S - 1) / 60 levels) and
//   the way back truncates once more (less than 59 / 60 of a level);
// - the row conversions, in runs of every length, give each colour's single-colour results.
// Plain loops over the constexpr forms: the sweep takes a few seconds under the sanitizers.
TEST(ColourConversions, EveryColourStaysInRangeRoundTripsWithinTheBoundAndConvertsAlikeByRows)
{
    struct Range {
        const char* name;
        int (*convert)(int);
        int low, high;
        int seenLow = 1000, seenHigh = -1000;
    };
    Range ranges[] = {
        {"hue", [](int c) { return colour::HsvOf(c).h; }, 0, 359},
        {"saturation", [](int c) { return colour::HsvOf(c).s; }, 0, 255},
        {"value", [](int c) { return colour::HsvOf(c).v; }, 0, 255},
        {"Y", colour::LuminanceOf, 0, 255},
        {"Cr", colour::ChromaCrOf, -127, 128},
        {"Cb", colour::ChromaCbOf, -127, 128},
        {"u", colour::YuvUOf, -110, 111},
        {"v", colour::YuvVOf, -156, 157},
        {"I", colour::YiqIOf, -151, 152},
        {"Q", colour::YiqQOf, -126, 127},
    };
    constexpr int kChunk = 1 << 16;
    std::vector<std::uint32_t> colours(kChunk);
    std::vector<std::uint16_t> hue(kChunk);
    std::vector<std::uint8_t> saturation(kChunk), value(kChunk), luminance(kChunk), cr(kChunk), cb(kChunk);
    int worstRoundTrip = 0;
    long failures = 0;
    for (int red = 0; red < 256 && failures < 10; ++red) {
        for (int i = 0; i < kChunk; ++i)
            colours[i] = static_cast<std::uint32_t>(red << 16 | i) | (i & 1 ? 0x5A000000u : 0u);  // top byte ignored
        // In runs of 1 to 40 colours, so that every remainder after the vector steps occurs.
        for (int at = 0, run = 1 + red % 40; at < kChunk; at += run, run = run % 40 + 1) {
            const int n = run < kChunk - at ? run : kChunk - at;
            RowToHsv(&colours[at], n, &hue[at], &saturation[at], &value[at]);
            RowToYCrCb(&colours[at], n, &luminance[at], &cr[at], &cb[at]);
        }
        for (int i = 0; i < kChunk; ++i) {
            const int c = static_cast<int>(colours[i]);
            for (Range& range : ranges) {
                const int x = range.convert(c);
                range.seenLow = x < range.seenLow ? x : range.seenLow;
                range.seenHigh = x > range.seenHigh ? x : range.seenHigh;
            }
            const colour::Hsv hsv = colour::HsvOf(c);
            const int back = colour::RgbOfHsv(hsv.v, hsv.s, hsv.h);
            const int channels[3] = {colour::RedOf(c), colour::GreenOf(c), colour::BlueOf(c)};
            const int returned[3] = {colour::RedOf(back), colour::GreenOf(back), colour::BlueOf(back)};
            int worst = 0, wrongExtremes = 0;
            for (int k = 0; k < 3; ++k) {
                const int error = std::abs(returned[k] - channels[k]);
                worst = error > worst ? error : worst;
                wrongExtremes += error != 0 && (channels[k] == hsv.v || channels[k] == hsv.v - hsv.s);
            }
            worstRoundTrip = worst > worstRoundTrip ? worst : worstRoundTrip;
            const bool rowsAgree = hue[i] == hsv.h && saturation[i] == hsv.s && value[i] == hsv.v &&
                                   luminance[i] == colour::LuminanceOf(c) &&
                                   cr[i] == colour::ChromaCrOf(c) + kChromaByteBias &&
                                   cb[i] == colour::ChromaCbOf(c) + kChromaByteBias;
            if ((back >> 24) != 0 || wrongExtremes || worst > (hsv.s + 58) / 60 || !rowsAgree) {
                ADD_FAILURE() << std::hex << "colour 0x" << c << " back 0x" << back << (rowsAgree ? "" : " rows differ");
                ++failures;
            }
        }
    }
    EXPECT_EQ(worstRoundTrip, 5);
    for (const Range& range : ranges) {
        EXPECT_EQ(range.seenLow, range.low) << range.name;
        EXPECT_EQ(range.seenHigh, range.high) << range.name;
    }
}

}  // namespace
