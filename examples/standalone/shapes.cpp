// A small user program: an image written pixel by pixel through PixelTable, a box, a circle
// and a seed fill drawn into it; each Start inverts it.
#include "krtlib.h"

void UserProgramInit(void)
{
    if (KRT_CreateImage(0, "shapes", 100, 100, 200, 150, 100) != 0)
        return;
    // A gradient: red grows to the right, green downwards.
    const ImageRecord& image = ImageTable[0];
    for (int y = 0; y < image.height; ++y) {
        unsigned* row = reinterpret_cast<unsigned*>(PixelTable[0] + y * ImageStride(image.width, 32));
        for (int x = 0; x < image.width; ++x)
            row[x] = static_cast<unsigned>(x) << 16 | static_cast<unsigned>(y) << 8 | 0x40;
    }
    KRT_SetDrawingColour(0x00FF00);
    FillBox(20, 20, 60, 60);                 // a green square
    KRT_SetDrawingColour(0x000080);
    FillBox(90, 30, 170, 120);               // a navy block
    KRT_DrawCircle(130, 75, 30, 0xFFFFFF);   // a white ring in it
    KRT_SetDrawingColour(0xFF0000);
    FloodFill(130, 75);                      // the inside of the ring turns red
    KRT_RefreshImage(0);
}

// Inverts every pixel of image 0.
void UserProgramMain(void)
{
    const ImageRecord& image = ImageTable[0];
    if (!image.inUse || image.bitDepth != 32)
        return;
    for (int y = 0; y < image.height; ++y) {
        unsigned* row = reinterpret_cast<unsigned*>(PixelTable[0] + y * ImageStride(image.width, 32));
        for (int x = 0; x < image.width; ++x)
            row[x] ^= 0xFFFFFF;
    }
    KRT_RefreshImage(0);
}
