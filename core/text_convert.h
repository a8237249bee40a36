// Bounded conversions between the system code page and UTF-16.  Every fixed buffer of the
// library is filled through these: the result is always terminated and never cut inside a
// character (a double-byte character or a surrogate pair is kept whole or left out).
#pragma once
#include <windows.h>

#include "core/narrow_text.h"

// The process's code page as the system describes it: UTF-8 when GetACP() says so (a program
// whose manifest asks for it), otherwise its lead bytes as IsDBCSLeadByteEx reports them.  The
// library's start-up makes it the code page every narrow walk uses (ProcessCodePage).
NarrowCodePage SystemCodePage();

// Narrow (CP_ACP) to UTF-16 into out[outUnits]; returns the units written, terminator excluded.
int WidenText(const char* narrow, wchar_t* out, int outUnits);

// `units` UTF-16 units (-1: up to the terminator) to narrow text into out[outBytes]; returns the
// bytes written, terminator excluded.
int NarrowText(const wchar_t* wide, int units, char* out, int outBytes);

// The same conversions for names of files: true only when the whole text fits and, narrowed,
// every character has its own in the code page (a name cut to fit, or with a character
// replaced, would be another file's); a null or empty text is no name either.
bool WidenWhole(const char* narrow, wchar_t* out, int outUnits);
bool NarrowWhole(const wchar_t* wide, char* out, int outBytes);

// Cuts narrow text to at most maxBytes bytes without splitting a character of the code page.
void TruncateNarrow(char* text, int maxBytes);
