// The editor's texts that are not ASCII, in the program's code page.  The editor is a UTF-8
// program; where the system ignores its manifest (Windows before version 1903), its code page is
// the system's, and a code page without the characters gets the ASCII form instead.
#pragma once
#include <string>

// `text` as narrow text of the program's code page, or `ascii` when the code page lacks one of
// its characters.
std::string InProgramCodePage(const wchar_t* text, const char* ascii);
