#include "imaging/double_byte_text.h"

#include <cstdio>

int WholeCharacterLength932(const char* text, int length)
{
    int i = 0;
    while (i < length) {
        const int size = IsLeadByte932(static_cast<unsigned char>(text[i])) ? 2 : 1;
        if (i + size > length)
            break;
        i += size;
    }
    return i;
}

int FormatWhole932(char* out, int size, const char* format, va_list arguments)
{
    if (!out || size <= 0)
        return 0;
    out[0] = '\0';
    if (!format)
        return 0;
    const int formatted = std::vsnprintf(out, static_cast<std::size_t>(size), format, arguments);
    if (formatted < 0) {
        out[0] = '\0';
        return 0;
    }
    if (formatted < size)
        return formatted;
    // vsnprintf kept size - 1 bytes, which may end with the lead byte of a character it cut.
    const int kept = WholeCharacterLength932(out, size - 1);
    out[kept] = '\0';
    return kept;
}
