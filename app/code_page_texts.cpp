#include "code_page_texts.h"

#include <windows.h>

std::string InProgramCodePage(const wchar_t* text, const char* ascii)
{
    // UTF-8 has every character and takes neither the flag nor the question.
    const bool utf8 = GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL lossy = FALSE;
    const int bytes = WideCharToMultiByte(CP_ACP, flags, text, -1, nullptr, 0, nullptr, utf8 ? nullptr : &lossy);
    if (bytes <= 1 || lossy)
        return ascii;
    std::string narrow(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, flags, text, -1, &narrow[0], bytes, nullptr, nullptr);
    narrow.resize(static_cast<size_t>(bytes) - 1);
    return narrow;
}
