// Code pages as the system describes them, written out for the tests: 932 by its lead bytes
// (0x81-0x9F and 0xE0-0xFC), 1252 with every byte a character, and UTF-8.
#pragma once
#include "core/narrow_text.h"

inline NarrowCodePage CodePage932()
{
    NarrowCodePage codePage;
    codePage.kind = NarrowCodePage::DoubleByte;
    for (int byte = 0; byte < 256; ++byte)
        codePage.leadByte[byte] = (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    return codePage;
}

inline NarrowCodePage CodePage1252() { return NarrowCodePage{}; }

inline NarrowCodePage CodePageUtf8()
{
    NarrowCodePage codePage;
    codePage.kind = NarrowCodePage::Utf8;
    return codePage;
}
