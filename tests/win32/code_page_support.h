// Narrow text in the tests that run under several code pages (932, 1252, and 65001 in the UTF-8
// build of them): the system's own conversion, and what a user writes, chosen by what the code
// page can hold.
#pragma once
#include <windows.h>

#include <string>

// `text` in the process's code page; "<lossy>" when the code page lacks one of its characters.
inline std::string InCodePage(const std::wstring& text)
{
    const bool utf8 = GetACP() == CP_UTF8;
    BOOL lossy = FALSE;
    const int bytes = WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, text.c_str(), -1, nullptr, 0,
                                          nullptr, utf8 ? nullptr : &lossy);
    if (bytes <= 0 || lossy)
        return "<lossy>";
    std::string narrow(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, text.c_str(), -1, &narrow[0], bytes, nullptr, nullptr);
    narrow.resize(static_cast<size_t>(bytes) - 1);
    return narrow;
}

inline bool Holds(const std::wstring& text) { return InCodePage(text) != "<lossy>"; }

// Accented letters and CJK together where the code page has both (UTF-8), else what it has: a
// Western code page the accents, code page 932 the CJK, with a character whose second byte
// there is 0x5C.
inline std::wstring SampleText()
{
    for (const wchar_t* sample : {L"日本語のテキスト café Ωμ", L"café Å!", L"日本語のソ表"})
        if (Holds(sample))
            return sample;
    return L"plain";
}

// The integer DrawTrueTypeChar takes for one character, as krtlib.h describes it: the code point
// in UTF-8, otherwise the character's bytes with the first in the higher place.
inline int TrueTypeCode(wchar_t character)
{
    if (GetACP() == CP_UTF8)
        return character;
    int code = 0;
    for (unsigned char byte : InCodePage(std::wstring(1, character)))
        code = code << 8 | byte;
    return code;
}
