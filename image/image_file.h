// Image files: the GDI+ encoder lookup, the open and save dialogs with their remembered
// folders and filters, and the requests and commands built on them.
#pragma once
#include <windows.h>

#include "image/image_file_state.h"

// The class identifier of the first installed encoder with exactly this MIME type, or zeros.
CLSID FindEncoder(const wchar_t* mime);

// The dialogs: 0 when a name was chosen (narrow, up to 260 bytes, into buffer), 1 when
// cancelled.  Each remembers its folder and filter for the next time.
int AskOpenImageFile(char* buffer);
int AskSaveImageFile(char* buffer);

// "&Save as" after the dialog: the chosen filter's format, the whole current image.
void SaveCurrentImageAs(const char* name, int filterIndex);

// Request 9003: load a file into a slot at (0, 0), the current image restored afterwards.
struct MailboxFields;
void LoadImageRequest(MailboxFields& request);

// The width and height GDI+ reads from a file, or 0 x 0 when it cannot decode it.
void ProbeImageSize(const wchar_t* path, UINT& width, UINT& height);
