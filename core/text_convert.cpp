#include "core/text_convert.h"
#include <cstring>
#include <vector>

int WidenText(const char* narrow, wchar_t* out, int outUnits)
{
    if (!out || outUnits <= 0)
        return 0;
    out[0] = L'\0';
    if (!narrow || !*narrow)
        return 0;
    const int needed = MultiByteToWideChar(CP_ACP, 0, narrow, -1, nullptr, 0);  // with terminator
    if (needed <= 0)
        return 0;
    if (needed <= outUnits) {
        MultiByteToWideChar(CP_ACP, 0, narrow, -1, out, outUnits);
        return needed - 1;
    }
    std::vector<wchar_t> whole(needed);
    MultiByteToWideChar(CP_ACP, 0, narrow, -1, whole.data(), needed);
    int keep = outUnits - 1;
    if (keep > 0 && IS_HIGH_SURROGATE(whole[keep - 1]))
        --keep;  // do not leave half a surrogate pair
    std::memcpy(out, whole.data(), keep * sizeof(wchar_t));
    out[keep] = L'\0';
    return keep;
}

int NarrowText(const wchar_t* wide, int units, char* out, int outBytes)
{
    if (!out || outBytes <= 0)
        return 0;
    out[0] = '\0';
    if (!wide)
        return 0;
    if (units < 0)
        units = static_cast<int>(wcslen(wide));
    if (units == 0)
        return 0;
    const int needed = WideCharToMultiByte(CP_ACP, 0, wide, units, nullptr, 0, nullptr, nullptr);
    if (needed > 0 && needed < outBytes) {
        const int n = WideCharToMultiByte(CP_ACP, 0, wide, units, out, outBytes - 1, nullptr, nullptr);
        out[n > 0 ? n : 0] = '\0';
        return n > 0 ? n : 0;
    }
    // Too long: convert character by character while whole characters fit.
    int written = 0;
    for (int i = 0; i < units;) {
        const int step = (IS_HIGH_SURROGATE(wide[i]) && i + 1 < units) ? 2 : 1;
        char piece[8];
        const int n = WideCharToMultiByte(CP_ACP, 0, wide + i, step, piece, sizeof piece, nullptr, nullptr);
        if (n <= 0 || written + n > outBytes - 1)
            break;
        std::memcpy(out + written, piece, n);
        written += n;
        i += step;
    }
    out[written] = '\0';
    return written;
}

bool WidenWhole(const char* narrow, wchar_t* out, int outUnits)
{
    if (!narrow || !*narrow)
        return false;
    // Bytes that are no character of the code page (a lone lead byte, a broken UTF-8 sequence)
    // would become a stand-in character, and so the name of another file.
    const int needed = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, narrow, -1, nullptr, 0);
    return needed > 1 && needed <= outUnits && WidenText(narrow, out, outUnits) == needed - 1;
}

bool NarrowWhole(const wchar_t* wide, char* out, int outBytes)
{
    if (!wide || !*wide)
        return false;
    // A character the code page lacks becomes "?" or, by default, its nearest look-alike ("e"
    // for an accented e): either way the name of another file.  UTF-8 lacks none and takes
    // neither question, but half a surrogate pair would become U+FFFD.
    const bool utf8 = GetACP() == CP_UTF8;
    BOOL lossy = FALSE;
    const int needed = utf8 ? WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide, -1, nullptr, 0, nullptr, nullptr)
                            : WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, -1, nullptr, 0, nullptr, &lossy);
    return needed > 1 && !lossy && needed <= outBytes && NarrowText(wide, -1, out, outBytes) == needed - 1;
}

void TruncateNarrow(char* text, int maxBytes)
{
    CutAtWholeCharacter(ProcessCodePage(), text, maxBytes);
}

NarrowCodePage SystemCodePage()
{
    NarrowCodePage codePage;
    const UINT number = GetACP();
    CPINFO info = {};
    if (number == CP_UTF8) {
        codePage.kind = NarrowCodePage::Utf8;
    } else if (GetCPInfo(number, &info) && info.MaxCharSize == 2) {
        codePage.kind = NarrowCodePage::DoubleByte;
        for (int byte = 0; byte < 256; ++byte)
            codePage.leadByte[byte] = IsDBCSLeadByteEx(number, static_cast<BYTE>(byte)) != FALSE;
    }
    return codePage;
}
