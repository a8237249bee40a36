// Image files: the GDI+ encoder lookup, the open and save dialogs with their remembered
// folders and filters, and the requests and commands built on them.
#pragma once
#include <windows.h>

#include "core/narrow_text.h"
#include "image/image_file_state.h"

// File names the load and save take: at most 259 UTF-16 units, the platform's path limit; as
// narrow text up to three bytes a unit (in UTF-8; two in the double-byte code pages).  Buffers
// for names have these sizes, so that a name is refused when it does not fit, never cut to
// another file's name.
constexpr int kImageNameUnits = 260;  // with the terminator
constexpr int kImageNameBytes = kMaxNarrowBytesPerUnit * (kImageNameUnits - 1) + 1;

// The class identifier of the first installed encoder with exactly this MIME type, or zeros.
CLSID FindEncoder(const wchar_t* mime);

// The dialogs: 0 when a name was chosen (narrow, into buffer[kImageNameBytes]), 1 when
// cancelled or when the name has characters the code page lacks.  Each remembers its folder and filter for the next time.
int AskOpenImageFile(char* buffer);
int AskSaveImageFile(char* buffer);

// "&Save as" after the dialog: the chosen filter's format, the whole current image.
void SaveCurrentImageAs(const char* name, int filterIndex);

// Request 9003: load a file into a slot at (0, 0), the current image restored afterwards.
struct MailboxFields;
void LoadImageRequest(MailboxFields& request);

// The width and height GDI+ reads from a file, or 0 x 0 when it cannot decode it.
void ProbeImageSize(const wchar_t* path, UINT& width, UINT& height);
