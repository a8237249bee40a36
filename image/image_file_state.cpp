#include "image/image_file_state.h"

#include "krtlib.h"

int jpegQuality = 100;
int openFilterIndex = 2;
int saveFilterIndex = 2;

void ResetImageFileState()
{
    jpegQuality = 100;
    openFilterIndex = 2;
    saveFilterIndex = 2;
}
