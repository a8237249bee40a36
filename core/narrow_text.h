// Narrow text walked by characters in the process's code page.  What makes a character is the
// system's answer, read once when the library starts (core/text_convert.h): which bytes begin a
// two-byte character, or that the code page is UTF-8.  Free of the window system, so that the
// portable code walks narrow text the same way and its tests can try any code page.
#pragma once
#include <cstdarg>

struct NarrowCodePage {
    enum Kind { SingleByte, DoubleByte, Utf8 };
    Kind kind = SingleByte;
    bool leadByte[256] = {};  // DoubleByte: the bytes that begin a two-byte character
};

// The most bytes one UTF-16 unit takes as narrow text: three in UTF-8 (a surrogate pair, two
// units, takes four), two in the double-byte code pages.  Buffers that must hold a whole name
// are sized with it.
constexpr int kMaxNarrowBytesPerUnit = 3;

// The process's code page: every byte a character of its own until the library's start-up
// sets what the system says.
const NarrowCodePage& ProcessCodePage();
void SetProcessCodePage(const NarrowCodePage& codePage);

// The bytes of the character that begins at text[0], with `available` bytes readable from
// there: 1 to 4, or 0 when the text ends inside it (a lead byte without its trail byte, the
// start of a UTF-8 sequence cut short; a zero byte ends the text too).  A byte that begins no
// character of the code page is taken alone.
int CharacterBytes(const NarrowCodePage& codePage, const char* text, int available);

// Calls each(bytes, count) for every character of a zero-terminated text.  A character the
// terminator cuts short is half a character and is dropped.
template <class Each>
void ForEachCharacter(const NarrowCodePage& codePage, const char* text, Each&& each)
{
    if (!text)
        return;
    constexpr int kUnbounded = 1 << 30;  // the terminator bounds the walk
    for (const char* p = text; *p;) {
        const int count = CharacterBytes(codePage, p, kUnbounded);
        if (count == 0)
            return;
        each(p, count);
        p += count;
    }
}

// The bytes of text[0 .. length) that make whole characters: a cut never leaves half of one.
int WholeCharacterLength(const NarrowCodePage& codePage, const char* text, int length);

// Cuts a zero-terminated text to at most maxBytes bytes, after its last whole character.
void CutAtWholeCharacter(const NarrowCodePage& codePage, char* text, int maxBytes);

// vsnprintf into out[size]; a text too long for it is cut after its last whole character.
// Returns the length of what out holds.
int FormatWhole(const NarrowCodePage& codePage, char* out, int size, const char* format, va_list arguments);

// The integer DrawTrueTypeChar takes for a character of `count` bytes: in UTF-8 its code point
// (U+FFFD for bytes that are no character), otherwise its bytes, the first in the higher place
// (lead * 256 + trail).
int CharacterCode(const NarrowCodePage& codePage, const char* bytes, int count);

// The reverse: the narrow bytes of such an integer into out[4]; returns their count, 0 when the
// integer is no character (in UTF-8 a surrogate or a number past U+10FFFF).
int CodeBytes(const NarrowCodePage& codePage, int code, char (&out)[4]);
