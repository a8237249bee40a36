// Image files as a user program meets them: pictures loaded into images, images written as
// files of the five formats, and files that are not what they claim to be.  The test writes
// its own pictures (BMP by the format's rules) and reads saved files back by those rules or
// through the platform's decoders directly.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "image/file_headers.h"
#include "image/image_selection.h"
#include "image_test_support.h"
#include "tests/hostile/sound_seeds.h"

namespace {

constexpr unsigned kMarker = 0x123456;

class ImageFileTest : public FrameworkTest {
protected:
    void TearDown() override
    {
        DestroyAllImages();
        FrameworkTest::TearDown();
    }
    // A 32-bit image of `colour` everywhere, or an 8-bit one of index `colour`, made current.
    static void Create(int slot, int width, int height, int depth, unsigned colour)
    {
        ASSERT_EQ(OnUserThread([&] {
                      return depth == 8 ? KRT_CreateImage8FL(slot, "img", 0, 0, width, height, 100)
                                        : KRT_CreateImageFL(slot, "img", 0, 0, width, height, 100);
                  }),
                  0);
        RunOnUserThread([&] {
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x)
                    KRT_SetPixel(x, y, static_cast<int>(colour));
        });
    }
    static void Paint(int slot, const std::function<unsigned(int, int)>& colour)
    {
        RunOnUserThread([&] {
            KRT_SelectImage(slot);
            for (int y = 0; y < ImageTable[slot].height; ++y)
                for (int x = 0; x < ImageTable[slot].width; ++x)
                    KRT_SetPixel(x, y, static_cast<int>(colour(x, y)));
        });
    }
    static int Load(const std::wstring& path, int x = 0, int y = 0)
    {
        return OnUserThread([&] { return KRT_LoadImageFile(Narrow(path).c_str(), x, y); });
    }
    static int Save(int format, const std::wstring& path, int width, int height)
    {
        return OnUserThread([&] { return KRT_SaveImageFile(height, width, format, Narrow(path).c_str()); });
    }
    TempFolder folder;
};

using ImageFiles = ImageFileTest;
using ImageFileBadInput = ImageFileTest;

TEST_F(ImageFiles, APictureIsDrawnOneToOneAtItsPlaceAndClippedToTheImage)
{
    WriteBmp24(folder / L"big.bmp", 640, 480, PatternColour);

    Create(0, 320, 240, 32, kMarker);
    ASSERT_EQ(Load(folder / L"big.bmp"), 0);
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x)
            ASSERT_EQ(PixelOf(0, x, y), PatternColour(x, y)) << "pixel (" << x << ", " << y << ")";
    EXPECT_EQ(ImageTable[0].width, 320);
    EXPECT_EQ(ImageTable[0].height, 240);

    Create(1, 1000, 1000, 32, kMarker);
    ASSERT_EQ(Load(folder / L"big.bmp", 100, 100), 0);
    for (int y = 0; y < 1000; ++y)
        for (int x = 0; x < 1000; ++x) {
            const bool inside = x >= 100 && x <= 739 && y >= 100 && y <= 579;
            ASSERT_EQ(PixelOf(1, x, y), inside ? PatternColour(x - 100, y - 100) : kMarker)
                << "pixel (" << x << ", " << y << ")";
        }
}

TEST_F(ImageFiles, ASixteenColourPictureTakesOverTheFirstSixteenPaletteEntries)
{
    const unsigned colours[16] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF, 0x800000, 0x008000,
                                  0x000080, 0x808000, 0x800080, 0x008080, 0xFF8000, 0x80FF00, 0x0080FF, 0x8000FF};
    auto index = [](int x, int y) { return (x / 3 + y / 2) % 16; };
    WriteBmp4(folder / L"sixteen.bmp", 45, 30, colours, index);
    Create(0, 45, 30, 8, 200);
    const std::vector<RGBQUAD> before = PaletteOf(0);
    ASSERT_EQ(Load(folder / L"sixteen.bmp"), 0);
    const std::vector<RGBQUAD> after = PaletteOf(0);
    for (int i = 0; i < 256; ++i) {
        const RGBQUAD& e = after[i];
        const unsigned colour = e.rgbRed << 16 | e.rgbGreen << 8 | e.rgbBlue;
        if (i < 16)
            EXPECT_EQ(colour, colours[i]) << "entry " << i;
        else
            EXPECT_EQ(colour, before[i].rgbRed << 16 | before[i].rgbGreen << 8 | before[i].rgbBlue) << "entry " << i;
    }
    // Each colour of the picture is now the entry of its own index.
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 45; ++x)
            ASSERT_EQ(PixelOf(0, x, y), static_cast<unsigned>(index(x, y))) << "pixel (" << x << ", " << y << ")";
}

// Files of the four formats that hold no palette leave an 8-bit image's palette as it was.
TEST_F(ImageFiles, AFileWithoutAPaletteLeavesThePaletteOfAnEightBitImageAlone)
{
    WriteBmp24(folder / L"plain.bmp", 24, 16, PatternColour);
    Create(9, 24, 16, 32, 0);
    Paint(9, PatternColour);
    ASSERT_EQ(Save(KRT_PNG, folder / L"plain", 24, 16), 0);
    ASSERT_EQ(Save(KRT_JPEG, folder / L"plain", 24, 16), 0);
    ASSERT_EQ(Save(KRT_TIFF, folder / L"plain", 24, 16), 0);
    Create(0, 24, 16, 8, 0);
    std::vector<RGBQUAD> known(256);
    for (int i = 0; i < 256; ++i)
        known[i] = {static_cast<BYTE>(0x21 + i), static_cast<BYTE>(0x43 ^ i), static_cast<BYTE>(0x65), 0};
    for (const wchar_t* name : {L"plain.bmp", L"plain.png", L"plain.jpg", L"plain.tif"}) {
        RunOnUserThread([&] { KRT_SetPalette(known.data(), 256); });
        ASSERT_EQ(Load(folder / name), 0) << name;
        const std::vector<RGBQUAD> after = PaletteOf(0);
        for (int i = 0; i < 256; ++i)
            ASSERT_EQ(std::memcmp(&after[i], &known[i], sizeof(RGBQUAD)), 0)
                << name << ": entry " << i << " became " << (after[i].rgbRed << 16 | after[i].rgbGreen << 8 | after[i].rgbBlue);
    }
}

TEST_F(ImageFiles, AFileThatIsNoPictureChangesNothing)
{
    WriteBytes(folder / L"notes.txt", {'h', 'e', 'l', 'l', 'o', '\r', '\n'});
    WriteBytes(folder / L"notes.bmp", {'B', 'M', 'h', 'e', 'l', 'l', 'o'});
    Create(0, 30, 20, 32, kMarker);
    Create(1, 30, 20, 8, 77);
    const std::vector<RGBQUAD> palette = PaletteOf(1);
    for (int slot : {0, 1}) {
        RunOnUserThread([&] { KRT_SelectImage(slot); });
        for (const wchar_t* name : {L"notes.txt", L"notes.bmp"})
            EXPECT_EQ(Load(folder / name), 1) << name;
        EXPECT_EQ(CountOther(slot, slot == 0 ? kMarker : 77), 0);
    }
    const std::vector<RGBQUAD> after = PaletteOf(1);
    EXPECT_EQ(0, std::memcmp(after.data(), palette.data(), 256 * sizeof(RGBQUAD)));
}

// 37 columns: 8-bit rows are padded to 40 bytes in the image and in a BMP file.
TEST_F(ImageFiles, BmpFilesHoldTwentyFourBitColourOrTheImagesOwnPalette)
{
    Create(0, 37, 23, 32, 0);
    Paint(0, [](int x, int y) { return 0xAB000000u | PatternColour(x, y); });  // the top byte is not saved
    ASSERT_EQ(Save(KRT_BMP, folder / L"colour", 37, 23), 0);
    BmpFile colour = ReadBmp(folder / L"colour.bmp");
    EXPECT_EQ(colour.bits, 24);
    ASSERT_EQ(colour.width, 37);
    ASSERT_EQ(colour.height, 23);
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 37; ++x)
            ASSERT_EQ(colour.at(x, y), PatternColour(x, y)) << "pixel (" << x << ", " << y << ")";
    // A block of the top-left corner: the height comes first.
    ASSERT_EQ(Save(KRT_BMP, folder / L"corner", 20, 10), 0);
    colour = ReadBmp(folder / L"corner.bmp");
    EXPECT_EQ(colour.width, 20);
    EXPECT_EQ(colour.height, 10);
    EXPECT_EQ(colour.at(19, 9), PatternColour(19, 9));
    // A block reaching past the image is black there.
    ASSERT_EQ(Save(KRT_BMP, folder / L"wider", 40, 25), 0);
    colour = ReadBmp(folder / L"wider.bmp");
    ASSERT_EQ(colour.width, 40);
    EXPECT_EQ(colour.at(36, 22), PatternColour(36, 22));
    EXPECT_EQ(colour.at(37, 5), 0u);
    EXPECT_EQ(colour.at(5, 23), 0u);

    Create(1, 37, 23, 8, 0);
    std::vector<RGBQUAD> palette(256);
    for (int i = 0; i < 256; ++i)
        palette[i] = {static_cast<BYTE>(i * 3), static_cast<BYTE>(255 - i), static_cast<BYTE>(i ^ 0x5A), 0};
    RunOnUserThread([&] { KRT_SetPalette(palette.data(), 256); });
    Paint(1, [](int x, int y) { return static_cast<unsigned>((x * 5 + y * 11) & 0xFF); });
    ASSERT_EQ(Save(KRT_BMP, folder / L"indexed", 37, 23), 0);
    const BmpFile indexed = ReadBmp(folder / L"indexed.bmp");
    EXPECT_EQ(indexed.bits, 8);
    ASSERT_EQ(indexed.palette.size(), 256u);
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(indexed.palette[i], static_cast<unsigned>(palette[i].rgbRed << 16 | palette[i].rgbGreen << 8 |
                                                            palette[i].rgbBlue))
            << "entry " << i;
    ASSERT_EQ(indexed.width, 37);
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 37; ++x)
            ASSERT_EQ(indexed.at(x, y), static_cast<unsigned>((x * 5 + y * 11) & 0xFF)) << "pixel (" << x << ", " << y << ")";
}

struct FormatCase {
    int format;
    const wchar_t* extension;
    std::vector<unsigned char> magic;
    bool lossless;
};
const FormatCase kFormats[] = {
    {KRT_BMP, L".bmp", {'B', 'M'}, true},
    {KRT_JPEG, L".jpg", {0xFF, 0xD8, 0xFF}, false},
    {KRT_GIF, L".gif", {'G', 'I', 'F', '8'}, true},
    {KRT_PNG, L".png", {0x89, 'P', 'N', 'G'}, true},
    {KRT_TIFF, L".tif", {}, true},
};

// Lossless formats give every pixel back; JPEG gives the picture back on average.
struct Closeness {
    int worst = 0;
    double total = 0;
    int count = 0;
    void Add(unsigned got, unsigned wanted)
    {
        const int d = ChannelDistance(got, wanted);
        worst = std::max(worst, d);
        total += d;
        ++count;
    }
    void Expect(bool lossless) const
    {
        if (lossless)
            EXPECT_EQ(worst, 0);
        else
            EXPECT_LE(total / count, 10.0) << "worst " << worst;
    }
};

bool StartsWith(const std::vector<unsigned char>& bytes, const std::vector<unsigned char>& magic)
{
    return bytes.size() >= magic.size() && std::equal(magic.begin(), magic.end(), bytes.begin());
}

bool IsTiff(const std::vector<unsigned char>& b)
{
    return StartsWith(b, {'I', 'I', 42, 0}) || StartsWith(b, {'M', 'M', 0, 42});
}

// Every format writes a file of its kind under the name with its extension, and the file loads
// back: pixel for pixel where the format keeps them, indices and palette for 8-bit images.
TEST_F(ImageFiles, EveryFormatSavesAndLoadsBack)
{
    Create(0, 41, 29, 32, 0);
    // Smooth shading and flat blocks, as photographs have.
    Paint(0, [](int x, int y) {
        return x < 20 ? static_cast<unsigned>(x * 12 << 16 | y * 8 << 8 | (x + y) * 4) : (y < 15 ? 0xE03010u : 0x2040C0u);
    });
    Create(1, 41, 29, 8, 0);
    Paint(1, [](int x, int y) { return static_cast<unsigned>((x * 3 + y * 7) & 0xFF); });
    for (const FormatCase& c : kFormats) {
        if (c.format == KRT_GIF)
            continue;  // 32-bit GIFs are palette-reduced: see below
        SCOPED_TRACE(c.extension);
        RunOnUserThread([] { KRT_SelectImage(0); });
        ASSERT_EQ(Save(c.format, folder / L"colour", 41, 29), 0);
        const std::vector<unsigned char> bytes = ReadBytes(folder / (L"colour" + std::wstring(c.extension)));
        EXPECT_TRUE(c.format == KRT_TIFF ? IsTiff(bytes) : StartsWith(bytes, c.magic));
        Create(2, 41, 29, 32, kMarker);
        ASSERT_EQ(Load(folder / (L"colour" + std::wstring(c.extension))), 0);
        Closeness close;
        for (int y = 0; y < 29; ++y)
            for (int x = 0; x < 41; ++x)
                close.Add(PixelOf(2, x, y), PixelOf(0, x, y));
        close.Expect(c.lossless);
        RunOnUserThread([] { KRT_DestroyImage(2); });
    }
    const std::vector<RGBQUAD> palette = PaletteOf(1);
    for (const FormatCase& c : kFormats) {
        SCOPED_TRACE(std::wstring(L"8-bit ") + c.extension);
        RunOnUserThread([] { KRT_SelectImage(1); });
        ASSERT_EQ(Save(c.format, folder / L"grey", 41, 29), 0);
        const std::wstring file = folder / (L"grey" + std::wstring(c.extension));
        const std::vector<unsigned char> bytes = ReadBytes(file);
        EXPECT_TRUE(c.format == KRT_TIFF ? IsTiff(bytes) : StartsWith(bytes, c.magic));
        const DecodedFile decoded = DecodeFile(file);
        ASSERT_TRUE(decoded.ok);
        Closeness close;
        for (int y = 0; y < 29; ++y)
            for (int x = 0; x < 41; ++x) {
                const RGBQUAD& e = palette[PixelOf(1, x, y)];
                close.Add(decoded.at(x, y), e.rgbRed << 16 | e.rgbGreen << 8 | e.rgbBlue);
            }
        close.Expect(c.lossless);
    }
}

TEST_F(ImageFiles, AThirtyTwoBitImageSavedAsGifIsARealGifOfCloseColours)
{
    const unsigned bands[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000, 0x808080, 0x3366CC, 0xFFCC99};
    auto colour = [&](int x, int y) { return bands[(x / 8 + y / 10) % 8]; };
    Create(0, 64, 40, 32, 0);
    Paint(0, colour);
    ASSERT_EQ(Save(KRT_GIF, folder / L"bands", 64, 40), 0);
    const std::vector<unsigned char> bytes = ReadBytes(folder / L"bands.gif");
    EXPECT_TRUE(StartsWith(bytes, {'G', 'I', 'F', '8'}));
    const DecodedFile decoded = DecodeFile(folder / L"bands.gif");
    ASSERT_TRUE(decoded.ok) << bytes.size() << " bytes";
    EXPECT_EQ(decoded.width, 64);
    EXPECT_EQ(decoded.height, 40);
    int worst = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 64; ++x)
            worst = std::max(worst, ChannelDistance(decoded.at(x, y), colour(x, y)));
    EXPECT_LE(worst, 40);  // the nearest colour of a 256-colour palette
    Create(1, 64, 40, 32, kMarker);
    EXPECT_EQ(Load(folder / L"bands.gif"), 0);
    EXPECT_LE(ChannelDistance(PixelOf(1, 0, 0), 0xFF0000), 40);
}

// Sound files of kinds that a stricter check once turned away: each loads exactly when the
// platform decoder reads it, with the picture it holds (or, where the colours are the decoder's
// to choose, with the decoder's own).  Wine's decoder reads all but the 16-byte OS/2 header and
// the JPEG of two components; the decoders of Windows may read those too.
TEST_F(ImageFiles, SoundFilesLoadAsTheDecoderReadsThem)
{
    const std::vector<std::string> unreadUnderWine = {"os2v2-16.bmp", "two-components.jpg"};
    for (const SoundSeed& seed : SoundSeeds()) {
        SCOPED_TRACE(seed.name);
        DestroyAllImages();
        const std::wstring file = folder / std::wstring(seed.name.begin(), seed.name.end());
        WriteBytes(file, seed.bytes);
        const DecodedFile direct = DecodeFile(file);
        if (std::find(unreadUnderWine.begin(), unreadUnderWine.end(), seed.name) == unreadUnderWine.end()) {
            ASSERT_TRUE(direct.ok);
        }
        Create(0, kSoundSeedWidth, kSoundSeedHeight, 32, kMarker);
        ASSERT_EQ(Load(file), direct.ok ? 0 : 1);
        if (!direct.ok) {
            EXPECT_EQ(CountOther(0, kMarker), 0);
            continue;
        }
        ASSERT_EQ(direct.width, kSoundSeedWidth);
        ASSERT_EQ(direct.height, kSoundSeedHeight);
        for (int y = 0; y < kSoundSeedHeight; ++y)
            for (int x = 0; x < kSoundSeedWidth; ++x)
                ASSERT_EQ(PixelOf(0, x, y), seed.colour ? seed.colour(x, y) : direct.at(x, y))
                    << "pixel (" << x << ", " << y << ")";
    }
}

// The platform decoders choose a file by its leading bytes.  For every signature of every
// installed decoder (read at run time, so that a changed rule is caught), a file that starts
// with it is checked as the format of that decoder, or left to the decoder for the formats the
// library does not check, whatever follows: no file reaches a decoder of the five formats
// unchecked.
TEST_F(ImageFiles, EveryDecoderSignatureIsCheckedAsItsFormat)
{
    UINT count = 0, size = 0;
    ASSERT_EQ(Gdiplus::GetImageDecodersSize(&count, &size), Gdiplus::Ok);
    std::vector<std::uint64_t> buffer(size / 8 + 1);
    auto* decoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    ASSERT_EQ(Gdiplus::GetImageDecoders(count, size, decoders), Gdiplus::Ok);
    const std::pair<const wchar_t*, FileKind> kinds[] = {{L"image/bmp", FileKind::Bmp},
                                                         {L"image/jpeg", FileKind::Jpeg},
                                                         {L"image/gif", FileKind::Gif},
                                                         {L"image/png", FileKind::Png},
                                                         {L"image/tiff", FileKind::Tiff}};
    int checkedSignatures = 0;
    for (UINT i = 0; i < count; ++i) {
        const Gdiplus::ImageCodecInfo& decoder = decoders[i];
        FileKind expected = FileKind::Other;
        for (const auto& [mime, kind] : kinds)
            if (std::wcscmp(decoder.MimeType, mime) == 0)
                expected = kind;
        for (DWORD s = 0; s < decoder.SigCount; ++s) {
            checkedSignatures += expected != FileKind::Other;
            for (unsigned char fill : {0x00, 0x5A, 0xFF}) {
                // The masked bits from the signature, the others and the rest of the file from
                // the fill.
                std::vector<unsigned char> bytes(64, fill);
                for (DWORD b = 0; b < decoder.SigSize; ++b) {
                    const BYTE mask = decoder.SigMask[s * decoder.SigSize + b];
                    bytes[b] = static_cast<unsigned char>((fill & ~mask) | decoder.SigPattern[s * decoder.SigSize + b]);
                }
                EXPECT_EQ(CheckImageFile(bytes.data(), bytes.size()).kind, expected)
                    << Narrow(decoder.MimeType) << ", signature " << s << ", then " << int{fill};
            }
        }
    }
    EXPECT_GE(checkedSignatures, 7);  // BMP, JPEG, PNG, and two each for GIF and TIFF
}

TEST_F(ImageFiles, SavedNamesEndInTheirFormatsExtension)
{
    Create(0, 16, 16, 32, kMarker);
    const struct {
        int format;
        const wchar_t* given;
        const wchar_t* written;
    } names[] = {
        {KRT_PNG, L"scan", L"scan.png"},
        {KRT_PNG, L"shot.PNG", L"shot.PNG"},
        {KRT_GIF, L"ab", L"ab.gif"},
        {KRT_JPEG, L"photo.jpeg", L"photo.jpeg.jpg"},
        {KRT_TIFF, L"page.TIF", L"page.TIF"},
    };
    for (const auto& n : names) {
        ASSERT_EQ(Save(n.format, folder / n.given, 16, 16), 0) << n.given;
        EXPECT_TRUE(FileExists(folder / n.written)) << n.written;
    }
    EXPECT_FALSE(FileExists(folder / L"shot.PNG.png"));
}

TEST_F(ImageFiles, ResultCodesOfMissingImagesEmptyBlocksAndUnwritableFolders)
{
    WriteBmp24(folder / L"small.bmp", 8, 8, PatternColour);
    RunOnUserThread([] { CurrentImage = 5; });  // a free slot
    EXPECT_EQ(Load(folder / L"small.bmp"), 2);
    EXPECT_EQ(Save(KRT_BMP, folder / L"none", 8, 8), 3);

    Create(0, 16, 16, 32, kMarker);
    EXPECT_EQ(Save(KRT_BMP, folder / L"empty", 0, 16), 2);
    EXPECT_EQ(Save(KRT_BMP, folder / L"empty", 16, 0), 2);
    EXPECT_EQ(Save(KRT_BMP, folder / L"negative", -4, 16), 2);
    EXPECT_EQ(Save(5, folder / L"unknown", 16, 16), 1);
    EXPECT_EQ(Save(KRT_PNG, folder / L"missing\\deeper\\x", 16, 16), 1);
    EXPECT_FALSE(FileExists(folder / L"empty.bmp"));

    // Root ignores a folder's permission bits, and the tests run as root under Wine; the
    // kernel's own /sys folder refuses new files to everyone.
    const std::wstring locked = L"Z:\\sys";
    HANDLE probe = CreateFileW((locked + L"\\probe").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    if (probe != INVALID_HANDLE_VALUE) {
        CloseHandle(probe);
        GTEST_SKIP() << "no folder without write permission here";
    }
    for (int format : {KRT_BMP, KRT_JPEG, KRT_GIF, KRT_PNG, KRT_TIFF})
        EXPECT_EQ(Save(format, locked + L"\\locked", 16, 16), 1) << format;
}

// The names in a folder, sorted.
std::vector<std::wstring> FolderNames(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (std::wcscmp(found.cFileName, L".") != 0 && std::wcscmp(found.cFileName, L"..") != 0)
            names.push_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

// A row of 70,000 pixels is more than JPEG can hold: the encoder fails once it has started.
// The file it was to replace keeps its bytes, and no other file is left beside it.
TEST_F(ImageFiles, AFailedSaveKeepsTheOldFileAndASuccessfulOneReplacesIt)
{
    const std::vector<unsigned char> old = {'o', 'l', 'd', ' ', 'b', 'y', 't', 'e', 's'};
    const std::wstring target = folder / L"keep.jpg";
    Create(0, 16, 16, 32, kMarker);
    Create(1, 16, 16, 8, 7);
    for (int slot : {0, 1}) {
        WriteBytes(target, old);
        RunOnUserThread([&] { KRT_SelectImage(slot); });
        EXPECT_EQ(Save(KRT_JPEG, target, 70000, 1), 1) << slot;
        EXPECT_EQ(ReadBytes(target), old) << slot;
        EXPECT_EQ(FolderNames(folder.path()), std::vector<std::wstring>{L"keep.jpg"}) << slot;
    }
    RunOnUserThread([] { KRT_SelectImage(0); });
    ASSERT_EQ(Save(KRT_JPEG, target, 16, 16), 0);
    const DecodedFile decoded = DecodeFile(target);
    ASSERT_TRUE(decoded.ok);
    EXPECT_EQ(decoded.width, 16);
    EXPECT_LE(ChannelDistance(decoded.at(8, 8), kMarker), 8);
    EXPECT_EQ(FolderNames(folder.path()), std::vector<std::wstring>{L"keep.jpg"});
}

// A save onto a disk that fills while the file is written (a 256 KiB disk of its own, which
// scripts/test mounts and names in KRT_SMALL_DISK): the old file is kept whole and nothing is
// left beside it; with room again, the save succeeds.
TEST_F(ImageFiles, ADiskThatFillsDuringASaveKeepsTheOldFile)
{
    const char* disk = std::getenv("KRT_SMALL_DISK");
    if (!disk || !*disk)
        GTEST_SKIP() << "no small disk mounted";
    std::wstring folder = L"Z:";
    for (const char* c = disk; *c; ++c)
        folder += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    const std::wstring target = folder + L"\\keep.bmp", filler = folder + L"\\filler";
    for (const std::wstring& name : FolderNames(folder))
        DeleteFileW((folder + L"\\" + name).c_str());
    const std::vector<unsigned char> old(20000, 'o');
    WriteBytes(target, old);
    // Most of what is left taken, so that the 196,662 bytes of a 256 x 256 BMP cannot fit.
    WriteBytes(filler, std::vector<unsigned char>(200 * 1024, 'f'));
    Create(0, 256, 256, 32, kMarker);
    EXPECT_EQ(Save(KRT_BMP, target, 256, 256), 1);
    EXPECT_EQ(ReadBytes(target), old);
    EXPECT_EQ(FolderNames(folder), (std::vector<std::wstring>{L"filler", L"keep.bmp"}));
    DeleteFileW(filler.c_str());
    ASSERT_EQ(Save(KRT_BMP, target, 256, 256), 0);
    EXPECT_EQ(ReadBytes(target).size(), 54u + 256 * 256 * 3);
    EXPECT_EQ(FolderNames(folder), std::vector<std::wstring>{L"keep.bmp"});
    DeleteFileW(target.c_str());
}

// Variants of a good file of each format: cut short at several places, and overwritten in the
// header or the body.
std::vector<std::vector<unsigned char>> Damaged(const std::vector<unsigned char>& good)
{
    std::vector<std::vector<unsigned char>> variants;
    for (size_t keep : {size_t{4}, size_t{20}, good.size() / 3, good.size() / 2, good.size() - 1})
        variants.emplace_back(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(keep));
    std::uint32_t noise = 12345;
    for (size_t from : {size_t{6}, good.size() / 4}) {
        std::vector<unsigned char> v = good;
        for (size_t i = from; i < from + good.size() / 4 && i < v.size(); ++i) {
            noise = noise * 1103515245u + 12345u;
            v[i] = static_cast<unsigned char>(noise >> 16);
        }
        variants.push_back(v);
    }
    return variants;
}

// Whatever a bad file does, the load returns 0 or 1, and 1 leaves pixels and palette as they were.
void ExpectHarmless(int result, int slot, unsigned fill, const std::vector<RGBQUAD>& palette, const std::string& what)
{
    ASSERT_TRUE(result == 0 || result == 1) << what << ": " << result;
    if (result == 0)
        return;
    EXPECT_EQ(CountOther(slot, fill), 0) << what;
    if (ImageTable[slot].bitDepth == 8) {
        const std::vector<RGBQUAD> now = PaletteOf(slot);
        EXPECT_EQ(0, std::memcmp(now.data(), palette.data(), 256 * sizeof(RGBQUAD))) << what;
    }
}

TEST_F(ImageFileBadInput, CutAndCorruptedFilesOfEveryFormat)
{
    Create(0, 48, 36, 32, 0);
    Paint(0, PatternColour);
    Create(1, 48, 36, 8, 99);
    const std::vector<RGBQUAD> palette = PaletteOf(1);  // a new image's
    RunOnUserThread([] { KRT_DestroyImage(1); });
    for (const FormatCase& c : kFormats) {
        RunOnUserThread([] { KRT_SelectImage(0); });
        ASSERT_EQ(Save(c.format, folder / L"good", 48, 36), 0);
        const std::vector<std::vector<unsigned char>> variants =
            Damaged(ReadBytes(folder / (L"good" + std::wstring(c.extension))));
        for (size_t v = 0; v < variants.size(); ++v) {
            const std::wstring file = folder / (L"bad" + std::to_wstring(v) + c.extension);
            WriteBytes(file, variants[v]);
            for (int depth : {32, 8}) {
                const unsigned fill = depth == 32 ? kMarker : 99;
                Create(1, 48, 36, depth, fill);
                ExpectHarmless(Load(file), 1, fill, palette, Narrow(file) + " into " + std::to_string(depth) + " bits");
                RunOnUserThread([] { KRT_DestroyImage(1); });
            }
        }
    }
}

// Headers that claim 100,000 x 100,000 pixels (65,535 where the format has 16 bits), with a
// few bytes of data behind them.
std::vector<std::pair<std::wstring, std::vector<unsigned char>>> HugeClaims()
{
    auto be32 = [](unsigned v) {
        return std::vector<unsigned char>{static_cast<unsigned char>(v >> 24), static_cast<unsigned char>(v >> 16),
                                          static_cast<unsigned char>(v >> 8), static_cast<unsigned char>(v)};
    };
    std::vector<unsigned char> bmp = BmpHeader(100000, 100000, 24, 0, 0);
    bmp.resize(bmp.size() + 100, 0x55);
    std::vector<unsigned char> png = {0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    for (unsigned char b : be32(100000))
        png.push_back(b);
    for (unsigned char b : be32(100000))
        png.push_back(b);
    png.insert(png.end(), {8, 2, 0, 0, 0, 0, 0, 0, 0});
    const std::vector<unsigned char> gif = {'G', 'I', 'F', '8', '9', 'a', 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, ',', 0, 0, 0,
                                            0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 2, 2, 0x4C, 0x01, 0, ';'};
    const std::vector<unsigned char> jpeg = {0xFF, 0xD8, 0xFF, 0xC0, 0, 11, 8, 0xFF, 0xFF, 0xFF, 0xFF, 1, 1, 0x11, 0, 0xFF, 0xD9};
    std::vector<unsigned char> tiff(8 + 2 + 4 * 12 + 4, 0);
    tiff[0] = tiff[1] = 'I';
    Put16(tiff, 2, 42);
    Put32(tiff, 4, 8);
    Put16(tiff, 8, 4);
    const unsigned entries[4][2] = {{256, 100000}, {257, 100000}, {273, 0}, {279, 100}};
    for (int i = 0; i < 4; ++i) {
        Put16(tiff, 10 + 12 * i, entries[i][0]);
        Put16(tiff, 12 + 12 * i, 4);
        Put32(tiff, 14 + 12 * i, 1);
        Put32(tiff, 18 + 12 * i, entries[i][1]);
    }
    return {{L"huge.bmp", bmp}, {L"huge.png", png}, {L"huge.gif", gif}, {L"huge.jpg", jpeg}, {L"huge.tif", tiff}};
}

TEST_F(ImageFileBadInput, HugeClaimsEmptyAndMissingFilesFoldersAndOverlongNames)
{
    Create(1, 40, 30, 8, 99);
    const std::vector<RGBQUAD> palette = PaletteOf(1);
    Create(0, 40, 30, 32, kMarker);
    for (const auto& [name, bytes] : HugeClaims()) {
        WriteBytes(folder / name, bytes);
        for (int slot : {0, 1}) {
            RunOnUserThread([&] { KRT_SelectImage(slot); });
            ExpectHarmless(Load(folder / name), slot, slot == 0 ? kMarker : 99, palette, Narrow(name));
        }
    }
    RunOnUserThread([] { KRT_SelectImage(0); });
    WriteBytes(folder / L"empty.png", {});
    const std::wstring overlong = folder / std::wstring(300, L'n');
    EXPECT_EQ(Load(folder / L"empty.png"), 1);
    EXPECT_EQ(Load(folder / L"missing.png"), 1);
    EXPECT_EQ(Load(folder.path()), 1);
    EXPECT_EQ(Load(overlong), 1);
    EXPECT_EQ(OnUserThread([] { return KRT_LoadImageFile(nullptr, 0, 0); }), 1);
    EXPECT_EQ(CountOther(0, kMarker), 0);

    // No file is written under a name cut to fit, nor under an extension cut short.
    EXPECT_EQ(Save(KRT_PNG, overlong, 40, 30), 1);
    EXPECT_EQ(Save(KRT_PNG, folder / std::wstring(256 - folder.path().size(), L'n'), 40, 30), 1);
    EXPECT_EQ(OnUserThread([] { return KRT_SaveImageFile(30, 40, KRT_BMP, nullptr); }), 1);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder / L"nn*").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE);
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
}

// The decoder takes a file for a JPEG by its first two bytes and finds its frame past a stray
// byte: a frame of 65500 x 8196 pixels with one byte of data before the end marker is checked
// as a JPEG and refused, where the decoder would spend seconds making half a billion pixels out
// of nothing and report success.
TEST_F(ImageFileBadInput, AFileTheDecoderTakesForAJpegIsCheckedAsOne)
{
    std::vector<unsigned char> file = {0xFF, 0xD8, 0x00, 0xFF, 0xC0, 0, 11, 8, 0x20, 0x04, 0xFF, 0xDC, 1, 1, 0x11, 0,
                                       0xFF, 0xDB, 0, 67, 0};
    file.resize(file.size() + 64, 1);  // a quantiser of 1 everywhere
    file.insert(file.end(), {0xFF, 0xC4, 0, 31, 0x00, 0, 0, 0, 12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 4,
                             5, 6, 7, 8, 9, 10, 11, 0xFF, 0xC4, 0, 20, 0x10, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                             0, 0, 0, 0xFF, 0xDA, 0, 8, 1, 1, 0x00, 0, 63, 0, 0x00, 0xFF, 0xD9});
    WriteBytes(folder / L"stray.jpg", file);
    Create(1, 40, 30, 8, 99);
    const std::vector<RGBQUAD> palette = PaletteOf(1);
    Create(0, 40, 30, 32, kMarker);
    for (int slot : {0, 1}) {
        RunOnUserThread([&] { KRT_SelectImage(slot); });
        EXPECT_EQ(Load(folder / L"stray.jpg"), 1) << slot;
        ExpectHarmless(1, slot, slot == 0 ? kMarker : 99, palette, "stray.jpg");
    }
}

}  // namespace
