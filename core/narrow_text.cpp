#include "core/narrow_text.h"

#include <cstdio>

namespace {

NarrowCodePage processCodePage;

unsigned char ByteAt(const char* text, int i) { return static_cast<unsigned char>(text[i]); }

// The second byte of a well-formed UTF-8 sequence has a narrower range after some first bytes
// (no overlong forms, no surrogates, nothing past U+10FFFF); the others are 0x80-0xBF.
struct Utf8Start {
    int length;
    unsigned char secondLow, secondHigh;
};

Utf8Start Utf8StartOf(unsigned char first)
{
    if (first < 0x80)
        return {1, 0, 0};
    if (first >= 0xC2 && first <= 0xDF)
        return {2, 0x80, 0xBF};
    if (first == 0xE0)
        return {3, 0xA0, 0xBF};
    if (first == 0xED)
        return {3, 0x80, 0x9F};
    if (first >= 0xE1 && first <= 0xEF)
        return {3, 0x80, 0xBF};
    if (first == 0xF0)
        return {4, 0x90, 0xBF};
    if (first >= 0xF1 && first <= 0xF3)
        return {4, 0x80, 0xBF};
    if (first == 0xF4)
        return {4, 0x80, 0x8F};
    return {0, 0, 0};  // a continuation byte, or one that UTF-8 never uses
}

int Utf8CharacterBytes(const char* text, int available)
{
    const Utf8Start start = Utf8StartOf(ByteAt(text, 0));
    if (start.length <= 1)
        return 1;
    for (int i = 1; i < start.length; ++i) {
        if (i >= available || text[i] == '\0')
            return 0;  // the text ends inside the character
        const unsigned char byte = ByteAt(text, i);
        const unsigned char low = i == 1 ? start.secondLow : 0x80, high = i == 1 ? start.secondHigh : 0xBF;
        if (byte < low || byte > high)
            return 1;  // no character: its first byte stands alone
    }
    return start.length;
}

}  // namespace

const NarrowCodePage& ProcessCodePage() { return processCodePage; }

void SetProcessCodePage(const NarrowCodePage& codePage) { processCodePage = codePage; }

int CharacterBytes(const NarrowCodePage& codePage, const char* text, int available)
{
    if (available <= 0 || text[0] == '\0')
        return 0;
    switch (codePage.kind) {
    case NarrowCodePage::DoubleByte:
        if (!codePage.leadByte[ByteAt(text, 0)])
            return 1;
        return available >= 2 && text[1] != '\0' ? 2 : 0;
    case NarrowCodePage::Utf8:
        return Utf8CharacterBytes(text, available);
    default:
        return 1;
    }
}

int WholeCharacterLength(const NarrowCodePage& codePage, const char* text, int length)
{
    int i = 0;
    while (i < length) {
        const int count = CharacterBytes(codePage, text + i, length - i);
        if (count == 0)
            break;
        i += count;
    }
    return i;
}

void CutAtWholeCharacter(const NarrowCodePage& codePage, char* text, int maxBytes)
{
    if (!text || maxBytes < 0)
        return;
    int length = 0;
    while (length < maxBytes && text[length])
        ++length;
    // A character that reaches past maxBytes is cut short there and left out whole.
    text[WholeCharacterLength(codePage, text, length)] = '\0';
}

int FormatWhole(const NarrowCodePage& codePage, char* out, int size, const char* format, va_list arguments)
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
    // vsnprintf kept size - 1 bytes, which may end inside a character it cut.
    const int kept = WholeCharacterLength(codePage, out, size - 1);
    out[kept] = '\0';
    return kept;
}

int CharacterCode(const NarrowCodePage& codePage, const char* bytes, int count)
{
    if (count <= 0)
        return 0;
    if (codePage.kind != NarrowCodePage::Utf8) {
        int code = 0;
        for (int i = 0; i < count; ++i)
            code = code << 8 | ByteAt(bytes, i);
        return code;
    }
    const unsigned char first = ByteAt(bytes, 0);
    if (count == 1)
        return first < 0x80 ? first : 0xFFFD;
    int code = first & (0x7F >> count);  // the bits the length marker leaves
    for (int i = 1; i < count; ++i)
        code = code << 6 | (ByteAt(bytes, i) & 0x3F);
    return code;
}

int CodeBytes(const NarrowCodePage& codePage, int code, char (&out)[4])
{
    if (codePage.kind != NarrowCodePage::Utf8) {
        int count = 0;
        if (code > 0xFF)
            out[count++] = static_cast<char>((code >> 8) & 0xFF);
        out[count++] = static_cast<char>(code & 0xFF);
        return count;
    }
    const unsigned c = static_cast<unsigned>(code);
    if (c < 0x80) {
        out[0] = static_cast<char>(c);
        return 1;
    }
    if (c < 0x800) {
        out[0] = static_cast<char>(0xC0 | c >> 6);
        out[1] = static_cast<char>(0x80 | (c & 0x3F));
        return 2;
    }
    if (c >= 0xD800 && c <= 0xDFFF)
        return 0;
    if (c < 0x10000) {
        out[0] = static_cast<char>(0xE0 | c >> 12);
        out[1] = static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out[2] = static_cast<char>(0x80 | (c & 0x3F));
        return 3;
    }
    if (c > 0x10FFFF)
        return 0;
    out[0] = static_cast<char>(0xF0 | c >> 18);
    out[1] = static_cast<char>(0x80 | (c >> 12 & 0x3F));
    out[2] = static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out[3] = static_cast<char>(0x80 | (c & 0x3F));
    return 4;
}
