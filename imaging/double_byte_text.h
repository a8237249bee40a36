// Narrow text in the system code page, 932: a byte from 0x81 to 0x9F or from 0xE0 to 0xFC
// begins a two-byte character, every other byte is a character of its own.
#pragma once
#include <cstdarg>

constexpr bool IsLeadByte932(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Calls each(code) for every character of a zero-terminated text: a byte, or lead * 256 + trail
// for a two-byte character.  A lead byte that ends the text is half a character and is dropped.
template <class Each>
void ForEachCharacter932(const char* text, Each&& each)
{
    if (!text)
        return;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p;) {
        if (IsLeadByte932(*p)) {
            if (!p[1])
                return;
            each(p[0] << 8 | p[1]);
            p += 2;
        } else {
            each(static_cast<int>(*p++));
        }
    }
}

// The bytes of text[0 .. length) that make whole characters: a cut never leaves half of one.
int WholeCharacterLength932(const char* text, int length);

// vsnprintf into out[size]; a text too long for it is cut after its last whole character.
// Returns the length of what out holds.
int FormatWhole932(char* out, int size, const char* format, va_list arguments);
