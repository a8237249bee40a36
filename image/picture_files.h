// A picture file opened in a window of its own size: by the main window's drop (through the
// request mailbox) and by KRT_OpenImageFile (krtlib.h).  Both read the file here first and
// title the window alike.
#pragma once
#include <windows.h>

#include "image/image_file.h"

struct PictureFile {
    UINT width = 0, height = 0;
    char path[kImageNameBytes] = "";      // the full path, as the loader takes it
    char fileName[kImageNameBytes] = "";  // its last part, for the title
};

// The file named `name` (relative to the working directory, or full), when it is a picture
// whose size can be read after the header checks and whose full path the loader can take
// whole: true, and `picture` filled in.
bool ReadPictureFile(const wchar_t* name, PictureFile& picture);

// "%03d %s": the slot and the file's name.  Large enough for any file name, so never cut.
constexpr int kPictureTitleBytes = kImageNameBytes + 8;
void FormatPictureTitle(char (&title)[kPictureTitleBytes], int slot, const char* fileName);
