#include <gtest/gtest.h>

#include <string>

#include "image/file_formats.h"
#include "image/zoom_steps.h"

namespace {

std::wstring Ensured(const std::wstring& name, const wchar_t* extension, bool* fits = nullptr)
{
    wchar_t buffer[260] = {};
    name.copy(buffer, name.size());
    const bool whole = EnsureExtension(buffer, 260, extension);
    if (fits)
        *fits = whole;
    return buffer;
}

TEST(EnsureExtension, AddsTheExtensionUnlessTheNameEndsInIt)
{
    EXPECT_EQ(Ensured(L"scan", kFormatExtension[FormatPng]), L"scan.png");
    EXPECT_EQ(Ensured(L"scan.PNG", kFormatExtension[FormatPng]), L"scan.PNG");
    EXPECT_EQ(Ensured(L"photo.jpeg", kFormatExtension[FormatJpeg]), L"photo.jpeg.jpg");
    EXPECT_EQ(Ensured(L"ab", kFormatExtension[FormatGif]), L"ab.gif");
    EXPECT_EQ(Ensured(L"photo.BMP", kFormatExtension[FormatBmp]), L"photo.BMP");
    EXPECT_EQ(Ensured(L"x.tiff", kFormatExtension[FormatTiff]), L"x.tiff.tif");
}

// A name cut short of its extension would be another file: it is left whole and refused.
TEST(EnsureExtension, RefusesANameWithNoRoomForTheExtension)
{
    bool fits = false;
    EXPECT_EQ(Ensured(std::wstring(255, L'n'), L".bmp", &fits).size(), 259u);
    EXPECT_TRUE(fits);
    EXPECT_EQ(Ensured(std::wstring(256, L'n'), L".bmp", &fits), std::wstring(256, L'n'));
    EXPECT_FALSE(fits);
    EXPECT_EQ(Ensured(std::wstring(255, L'n') + L".bmp", L".bmp", &fits).size(), 259u);
    EXPECT_TRUE(fits);
}

TEST(SaveFilters, MapToFormats)
{
    EXPECT_EQ(FormatOfSaveFilter(1), FormatBmp);
    EXPECT_EQ(FormatOfSaveFilter(2), FormatBmp);
    EXPECT_EQ(FormatOfSaveFilter(3), FormatJpeg);
    EXPECT_EQ(FormatOfSaveFilter(6), FormatTiff);
    EXPECT_EQ(FormatOfSaveFilter(7), -1);
    EXPECT_EQ(FormatOfSaveFilter(0), -1);
}

TEST(ZoomSteps, InAndOut)
{
    EXPECT_EQ(ZoomInStep(100), 111);
    EXPECT_EQ(ZoomInStep(111), 123);
    EXPECT_EQ(ZoomInStep(123), 137);
    EXPECT_EQ(ZoomOutStep(100), 90);
    EXPECT_EQ(ZoomOutStep(90), 81);
    EXPECT_EQ(ZoomOutStep(81), 73);
    EXPECT_EQ(ZoomInStep(90), 100);
    for (int z = 1; z <= 4; ++z)
        EXPECT_EQ(ZoomInStep(z), z);
    for (int z = 1; z <= 5; ++z)
        EXPECT_EQ(ZoomOutStep(z), z);
    EXPECT_EQ(ZoomInStep(5), 6);
}

TEST(ZoomSteps, ClientPointsToImagePoints)
{
    EXPECT_EQ(ClientToImage(101, 200), 50);
    EXPECT_EQ(ClientToImage(51, 200), 25);
    EXPECT_EQ(ClientToImage(10, 30), 33);
    EXPECT_EQ(ClientToImage(65535, 100), 65535);
    EXPECT_EQ(KeepInImage(199, 200), 199);  // a captured drag stays on the image's edge
    EXPECT_EQ(KeepInImage(200, 200), 199);
    EXPECT_EQ(KeepInImage(-1, 200), 0);
}

}  // namespace
