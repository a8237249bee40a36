// Helpers of the image file and image window tests: picture files written and read back by the
// tests themselves (BMP by hand, the other formats through the platform's codecs directly), a
// temporary folder, and dropped-file handles built the way the shell builds them.
#pragma once
#include <windows.h>
#include <gdiplus.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "framework_fixture.h"
#include "image/image_table.h"
#include "krtlib.h"

template <class Work>
auto OnUserThread(Work work) -> decltype(work())
{
    decltype(work()) result{};
    RunOnUserThread([&] { result = work(); });
    return result;
}

// Every image window is destroyed, on the thread that owns them.
inline void DestroyAllImages()
{
    RunOnUserThread([] {
        for (int slot = 0; slot < kImageSlots; ++slot)
            KRT_DestroyImage(slot);
    });
}

// An asymmetric colour for every pixel: no flip, rotation or shift maps it onto itself.
inline unsigned PatternColour(int x, int y)
{
    return ((x * 7 + y * 3) & 0xFF) << 16 | ((x ^ (2 * y)) & 0xFF) << 8 | ((x * y / 8 + x) & 0xFF);
}

// A folder of its own under the temporary folder, removed with everything in it at the end.
class TempFolder {
public:
    TempFolder()
    {
        wchar_t base[MAX_PATH];
        GetTempPathW(MAX_PATH, base);
        static int serial = 0;
        path_ = std::wstring(base) + L"krt_images_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                std::to_wstring(++serial);
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~TempFolder() { RemoveAll(path_); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    static void RemoveAll(const std::wstring& folder)
    {
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = found.cFileName;
                if (name == L"." || name == L"..")
                    continue;
                const std::wstring full = folder + L"\\" + name;
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveAll(full);
                else
                    DeleteFileW(full.c_str());
            } while (FindNextFileW(search, &found));
            FindClose(search);
        }
        RemoveDirectoryW(folder.c_str());
    }
    std::wstring path_;
};

// Names as the library takes them: system code page text.
inline std::string Narrow(const std::wstring& wide)
{
    char buffer[1024] = "";
    WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, buffer, sizeof buffer, nullptr, nullptr);
    return buffer;
}

inline bool FileExists(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

inline std::vector<unsigned char> ReadBytes(const std::wstring& path)
{
    std::vector<unsigned char> bytes;
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file)
        return bytes;
    unsigned char chunk[65536];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + n);
    fclose(file);
    return bytes;
}

inline void WriteBytes(const std::wstring& path, const std::vector<unsigned char>& bytes)
{
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (!bytes.empty())
        fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}

inline void Put16(std::vector<unsigned char>& b, size_t at, unsigned v)
{
    b[at] = static_cast<unsigned char>(v);
    b[at + 1] = static_cast<unsigned char>(v >> 8);
}
inline void Put32(std::vector<unsigned char>& b, size_t at, unsigned v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<unsigned char>(v >> (8 * i));
}
inline unsigned Get16(const std::vector<unsigned char>& b, size_t at) { return b[at] | b[at + 1] << 8; }
inline unsigned Get32(const std::vector<unsigned char>& b, size_t at)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<unsigned>(b[at + 3]) << 24;
}

// A bottom-up BMP file as the format defines it: 24-bit colour, or 4-bit with a palette.
inline std::vector<unsigned char> BmpHeader(int width, int height, int bits, int colours, size_t rowBytes)
{
    const size_t offset = 54 + 4 * static_cast<size_t>(colours);
    std::vector<unsigned char> b(offset + rowBytes * height, 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, static_cast<unsigned>(b.size()));
    Put32(b, 10, static_cast<unsigned>(offset));
    Put32(b, 14, 40);
    Put32(b, 18, width);
    Put32(b, 22, height);
    Put16(b, 26, 1);
    Put16(b, 28, bits);
    Put32(b, 46, colours);
    return b;
}

inline void WriteBmp24(const std::wstring& path, int width, int height, const std::function<unsigned(int, int)>& colour)
{
    const size_t rowBytes = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
    std::vector<unsigned char> b = BmpHeader(width, height, 24, 0, rowBytes);
    for (int y = 0; y < height; ++y) {
        unsigned char* row = &b[54 + rowBytes * (height - 1 - y)];
        for (int x = 0; x < width; ++x) {
            const unsigned c = colour(x, y);
            row[3 * x] = static_cast<unsigned char>(c);
            row[3 * x + 1] = static_cast<unsigned char>(c >> 8);
            row[3 * x + 2] = static_cast<unsigned char>(c >> 16);
        }
    }
    WriteBytes(path, b);
}

inline void WriteBmp4(const std::wstring& path, int width, int height, const unsigned (&palette)[16],
                      const std::function<int(int, int)>& index)
{
    const size_t rowBytes = ((static_cast<size_t>(width) + 1) / 2 + 3) & ~size_t{3};
    std::vector<unsigned char> b = BmpHeader(width, height, 4, 16, rowBytes);
    for (int i = 0; i < 16; ++i)
        Put32(b, 54 + 4 * i, palette[i]);
    for (int y = 0; y < height; ++y) {
        unsigned char* row = &b[54 + 64 + rowBytes * (height - 1 - y)];
        for (int x = 0; x < width; ++x)
            row[x / 2] |= static_cast<unsigned char>(index(x, y) << (x % 2 ? 0 : 4));
    }
    WriteBytes(path, b);
}

// What a BMP file holds, read by the format's rules.
struct BmpFile {
    int width = 0, height = 0, bits = 0;
    std::vector<unsigned> palette;  // 0x00RRGGBB
    std::vector<unsigned> pixels;   // 0x00RRGGBB, or the index, row 0 at the top
    unsigned at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

inline unsigned ColourAt(const unsigned char* bgr) { return bgr[0] | bgr[1] << 8 | bgr[2] << 16; }

inline BmpFile ReadBmp(const std::wstring& path)
{
    BmpFile f;
    const std::vector<unsigned char> b = ReadBytes(path);
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M')
        return f;
    const unsigned offset = Get32(b, 10), headerSize = Get32(b, 14);
    f.width = static_cast<int>(Get32(b, 18));
    const int rawHeight = static_cast<int>(Get32(b, 22));
    f.height = rawHeight < 0 ? -rawHeight : rawHeight;
    f.bits = static_cast<int>(Get16(b, 28));
    if (f.bits == 8) {
        unsigned colours = Get32(b, 46);
        if (colours == 0)
            colours = 256;
        for (unsigned i = 0; i < colours; ++i)
            f.palette.push_back(Get32(b, 14 + headerSize + 4 * i) & 0xFFFFFF);
    }
    const size_t rowBytes = (static_cast<size_t>(f.width) * f.bits / 8 + 3) & ~size_t{3};
    if (b.size() < offset + rowBytes * f.height)
        return BmpFile{};
    for (int y = 0; y < f.height; ++y) {
        const unsigned char* row = &b[offset + rowBytes * (rawHeight < 0 ? y : f.height - 1 - y)];
        for (int x = 0; x < f.width; ++x)
            f.pixels.push_back(f.bits == 8 ? row[x] : ColourAt(row + x * f.bits / 8));
    }
    return f;
}

// A file decoded by the platform's codecs directly: its size, and its pixels as 0x00RRGGBB.
struct DecodedFile {
    bool ok = false;
    int width = 0, height = 0;
    std::vector<unsigned> pixels;
    unsigned at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

inline DecodedFile DecodeFile(const std::wstring& path)
{
    DecodedFile d;
    Gdiplus::Bitmap bitmap(path.c_str());
    if (bitmap.GetLastStatus() != Gdiplus::Ok)
        return d;
    d.width = static_cast<int>(bitmap.GetWidth());
    d.height = static_cast<int>(bitmap.GetHeight());
    Gdiplus::Rect all(0, 0, d.width, d.height);
    Gdiplus::BitmapData data;
    if (bitmap.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data) != Gdiplus::Ok)
        return d;
    for (int y = 0; y < d.height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(static_cast<const BYTE*>(data.Scan0) + y * data.Stride);
        for (int x = 0; x < d.width; ++x)
            d.pixels.push_back(row[x] & 0xFFFFFF);
    }
    bitmap.UnlockBits(&data);
    d.ok = true;
    return d;
}

// The largest difference of one colour channel between two 0x00RRGGBB colours.
inline int ChannelDistance(unsigned a, unsigned b)
{
    int most = 0;
    for (int shift : {0, 8, 16}) {
        const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        most = std::max(most, d < 0 ? -d : d);
    }
    return most;
}

// A dropped-files handle as the shell builds it: DROPFILES with wide names, each ended by a
// NUL, the list by a second NUL.  The receiving window's DragFinish frees it.
inline HDROP MakeDrop(const std::vector<std::wstring>& files)
{
    size_t units = 1;
    for (const std::wstring& file : files)
        units += file.size() + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + units * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    wchar_t* names = reinterpret_cast<wchar_t*>(drop + 1);
    for (const std::wstring& file : files) {
        file.copy(names, file.size());
        names += file.size() + 1;
    }
    GlobalUnlock(block);
    return static_cast<HDROP>(block);
}

// The current image's pixel (x, y) straight from its buffer: words, or index bytes.
inline unsigned PixelOf(int slot, int x, int y)
{
    const ImageRecord& r = ImageTable[slot];
    const unsigned char* row = PixelTable[slot] + static_cast<size_t>(y) * ImageStride(r.width, r.bitDepth);
    return r.bitDepth == 8 ? row[x] : reinterpret_cast<const std::uint32_t*>(row)[x] & 0xFFFFFF;
}

// How many pixels of a slot are not `value`.
inline int CountOther(int slot, unsigned value)
{
    int count = 0;
    const ImageRecord& r = ImageTable[slot];
    for (int y = 0; y < r.height; ++y)
        for (int x = 0; x < r.width; ++x)
            count += PixelOf(slot, x, y) != value;
    return count;
}

inline std::vector<RGBQUAD> PaletteOf(int slot)
{
    std::vector<RGBQUAD> palette(256);
    RunOnUserThread([&] {
        GetDIBColorTable(ImageTable[slot].memoryDC, 0, 256, palette.data());
    });
    return palette;
}
