// KRTLIB: ready-made windows for small image-processing programs on Win32.
//
// A user program defines UserProgramInit and UserProgramMain and links libkrtlib.a.  The
// library owns the process entry: it shows the main window (Start, Stop, Exit), runs
// UserProgramInit once on a thread of its own, and UserProgramMain each time Start is pressed.
// Every call below is made on that thread.
//
// Narrow text (every const char* text, name and label, and what comes back) is in the process's
// code page: the system's (932 on a Japanese Windows, 1252 on a Western one), or UTF-8 for a
// program built with krt_add_program(NAME UTF8 ...), whose manifest asks for it.  Text is cut,
// walked and converted by whole characters of that code page.
//
// Colours are 0x00RRGGBB words everywhere; in an 8-bit image a colour argument is a palette
// index (its low byte).  Calls that can fail return 0 for success and a small code otherwise.
// This header does not need <windows.h>, and can be included before or after it.
#pragma once

#include <atomic>

// Window-system types, opaque here.  They are the very types <windows.h> uses (its handles are
// pointers to these tags), so a program that includes it too needs no casts.
typedef struct tagRGBQUAD RGBQUAD;  // palette entry: bytes blue, green, red, 0
struct HWND__;
struct HDC__;
struct HBITMAP__;

// ---- Provided by the user program ---------------------------------------------------------
void UserProgramInit(void);  // once, when the library starts
void UserProgramMain(void);  // each time Start is pressed; return to end the run

// ---- Frame pacing, messages, pause box, control flags -----------------------------------------
void KRT_Pause(const char* text);  // message box captioned "Pause"; returns on OK
int WaitNextFrame(void);           // 0 after 30 ms, 1 at once when Stop was requested
unsigned MillisecondClock(void);   // milliseconds; differences in unsigned arithmetic

// Dispatches the messages waiting for this thread's windows and returns.  A long computation
// that prints nothing calls it now and then, so that its windows repaint and its buttons and
// Stop and Exit are seen.  (KRT_Print and WaitNextFrame do it too.)
void PumpUserMessages(void);

constexpr int KRTMAINWINDOW = -1;     // KRT_SetForeground: the main window
void KRT_SetForeground(int window);  // KRTMAINWINDOW brings the main window forward

extern std::atomic<int> stopRequested;  // set by Stop and Exit; cleared when a run begins and ends
extern std::atomic<int> exitState;      // non-zero once Exit has begun: return from UserProgramMain
                                        // at once (after 2 s the thread is ended by force)

// ---- Text windows (slots 0 to 255) ---------------------------------------------------------
int KRT_OpenTextWindow(int index, int x, int y, int width, int height);  // 0, 1 already open, 2 bad index
void KRT_Print(const char* format, ...);
int KRT_CloseTextWindow(int index);
int KRT_SelectTextWindow(int index);
void KRT_ClearTextWindow(void);
void KRT_PushTextColor(int background, int text);
void KRT_PopTextColor(void);
void KRT_InputLine(char* buffer);  // at most 256 bytes, terminator included
int KRT_CommandPrompt(void);
// Brings the current text window forward, or opens slot 0 (400 x 300, centred) when it is not
// open: call it before a prompt so that the question has somewhere to appear.
void EnsureTextWindow(void);

// ---- Log files ---------------------------------------------------------------------------
int KRT_StartLog(int slot);
int KRT_StopLog(int slot);
void KRT_CloseLog(int slot);
void KRT_CloseAllLogs(void);
int KRT_CopyLog(int slot);

// ---- Input box and button box ------------------------------------------------------------
void KRT_OpenInputBox(int x, int y, int items);
void KRT_ResizeInputBox(int isize, int esize);
void KRT_SetInputBoxTitle(int item, const char* text);
void KRT_CloseInputBox(void);
// The committed value of an item, or NULL when there is no such item.  The text is the
// library's own copy: it stays valid until the next KRT_GetInputBoxText of the same item, also
// after the box is closed.
const char* KRT_GetInputBoxText(int item);
int KRT_GetInputBoxInt(int item);
double KRT_GetInputBoxDouble(int item);
// Puts text into an item's field and makes it the item's value at once, as if typed and
// committed: a program's default for a field (a new box shows "0" everywhere).  Cut at 255 bytes,
// at a whole character.  Nothing without a box or such an item.
void KRT_SetInputBoxText(int item, const char* text);

void KRT_OpenButtonBox(int x, int y, int nx, int ny);
void KRT_SetButtonBoxTitle(int index, const char* text);
int KRT_GetButton(int index);  // presses since the last call (and clears them)
void KRT_ResizeButtonBox(int width, int height);
void KRT_CloseButtonBox(void);

// ---- The image table (slots 0 to 255) --------------------------------------------------------
// A program reads an image's size and depth from its record and reaches its pixels directly
// through PixelTable: rows from the top, row y starting at PixelTable[slot] + y * stride with
// stride = ImageStride(width, bitDepth).  A 32-bit pixel is the word 0x00RRGGBB (bytes blue,
// green, red, and a fourth byte nothing interprets); an 8-bit pixel is a palette index byte.
// After changing pixels, KRT_RefreshImage(slot) shows them.
constexpr int kImageSlots = 256;

enum SizeLimitMode { FreeLimits = 0, ScreenFit = 1 };

struct ImageRecord {
    int inUse;          // 1 while the slot holds a live image window; nothing else is valid while 0
    int bitDepth;       // 32 or 8
    int width;          // pixels, at least 1
    int height;         // pixels, at least 1
    int clientWidth;    // shown size: width * zoom / 100
    int clientHeight;   // height * zoom / 100
    int zoom;           // percent
    int sizeLimitMode;  // ScreenFit (fits the screen) or FreeLimits (up to twice the screen)
    // Owned by the library; a program reads them at most.
    HWND__* window;
    HDC__* memoryDC;    // holds the pixels' bitmap
    HDC__* windowDC;    // the window's own device context
    HBITMAP__* dibSection;
    HBITMAP__* previousBitmap;
    char* name;
};

extern ImageRecord ImageTable[kImageSlots];
extern unsigned char* PixelTable[kImageSlots];  // first byte of each slot's pixels (row 0)

// Bytes per row: width 32-bit words, or width bytes rounded up to a multiple of 4.
inline int ImageStride(int width, int bitDepth)
{
    return bitDepth == 8 ? ((width + 3) & ~3) : width * 4;
}

// ---- Image windows ------------------------------------------------------------------------
// x, y: the window's outer top-left corner on the screen, -1 for the system's choice.
// Results: 0, 1 slot in use, 2 no zoom fits the size limits, 3 bad depth or no memory,
// 4 slot outside 0 to 255.  A new image is black (index 0) and becomes the current image.
int KRT_CreateImage(int slot, const char* name, int x, int y, int width, int height, int zoom);
int KRT_CreateImage8(int slot, const char* name, int x, int y, int width, int height, int zoom);
int KRT_CreateImageFL(int slot, const char* name, int x, int y, int width, int height, int zoom);
int KRT_CreateImage8FL(int slot, const char* name, int x, int y, int width, int height, int zoom);
int KRT_SelectImage(int slot);  // makes the slot current, remembering the previous one
int RestorePreviousImage(void);  // goes back to the image current before the last selection
int KRT_RefreshImage(int slot);  // shows the slot's pixels in its window now
int KRT_DestroyImage(int slot);
extern int CurrentImage;  // the slot pixel, drawing, file and palette calls act on

// Blocks of the current image: packed rows of bw elements (32-bit words or bytes by depth).
void KRT_GetImageBlock(void* dst, int x0, int y0, int bw, int bh);  // 0 outside the image
void KRT_PutImageBlock(const void* src, int bw, int bh);            // at (0, 0), clipped

// 8-bit palettes of the current image: 0, 1 no image, 2 not 8-bit.  An entry is 4 bytes (blue,
// green, red, 0), which is a 0x00RRGGBB word in memory: a program without <windows.h> may pass
// an array of 256 unsigned ints.
int KRT_SetPalette(const RGBQUAD* entries, int count);
int KRT_GetPalette(RGBQUAD* entries);  // all 256 entries

// How a zoomed window is drawn.  0 for a slot that holds no image.
enum { KRT_COLORONCOLOR = 3, KRT_HALFTONE = 4 };
int GetImageStretchMode(int slot);
int SetImageStretchMode(int mode, int slot);  // KRT_COLORONCOLOR or KRT_HALFTONE; 0, 1 no image
int SetImageZoom(int zoom, int slot);         // 0, 1 no image, 2 no zoom fits

// ---- Re-creation, transforms and the clipboard ------------------------------------------------
// A new blank image of width x height (black, or index 0) in place of the slot's: the same
// name, window position, zoom (as far as the new size lets it fit the screen), depth, palette
// and stretch mode; it becomes the current image.  0, 1 no image, or the creation's failure
// (2 no zoom fits, 3 no memory), in which case the old image is gone and the slot is free.
int RecreateImage(int slot, int width, int height);

// The slot's image onto the clipboard as a device-independent bitmap: 24-bit colour for a
// 32-bit image (the fourth byte is dropped), indices and the 256-entry palette for an 8-bit
// one.  Nothing for a slot that holds no image or while another program holds the clipboard.
void CopyImageToClipboard(int slot);
// The clipboard's picture drawn into the slot's image with its top-left corner at (x, y); the
// parts outside are dropped.  x or y of -1: the user places it with the mouse, the click
// marking its centre (a right click cancels).  A picture of 8 bits or fewer also loads its
// colours into an 8-bit image's palette from entry 0.  Nothing when the clipboard holds no
// picture, or one that is damaged.
void PasteClipboardImage(int x, int slot, int y);

// ---- Image files -------------------------------------------------------------------------
int KRT_LoadImageFile(const char* name, int x, int y);  // into the current image at (x, y)
int KRT_SaveImageFile(int height, int width, int format, const char* name);

enum { KRT_BMP = 0, KRT_JPEG = 1, KRT_GIF = 2, KRT_PNG = 3, KRT_TIFF = 4 };

// The width and height of a picture file, read after the same checks of its header as a load
// makes: 0, or 1 for a file that is not a picture or cannot be read (the outputs are left alone
// then).  No window and no image are needed.
int KRT_GetImageFileSize(const char* name, int* width, int* height);
// Opens a picture file as a drop on the main window does: a new 32-bit image of the picture's
// own size in that slot, its window at (x, y) (-1 for the system's choice) titled "NNN name" by
// the slot and the file's name, the zoom lowered as far as the screen needs.  The new image
// becomes current.  Results: 0, 1 slot in use, 2 no zoom fits, 3 no memory, 4 slot
// outside 0 to 255 (as KRT_CreateImage), 5 the file is not a picture or cannot be read; after a
// failure no window is left and the current image is the one before.
int KRT_OpenImageFile(int slot, const char* name, int x, int y);

extern int jpegQuality;  // JPEG quality of KRT_SaveImageFile, initially 100

// ---- Mouse reports from image windows --------------------------------------------------------
struct MouseStateFields {
    int slot;     // image window that received the event
    int x, y;     // image point
    int left;     // left button down
    int middle;   // middle button down
    int shift;    // Shift down
    int control;  // Ctrl down
};
// Written only while mouseTracking is non-zero: on every move, press and release in an image
// window.  A button pressed there keeps that window reporting until no button is held, outside
// it too, at points kept on the image's edge; the release is reported wherever it happens.
extern MouseStateFields MouseState;
extern int mouseTracking;
// MouseState shows only the latest state, so a click that begins and ends within one frame of
// a program's loop would go unseen.  Left clicks are therefore also kept, in order, while
// mouseTracking is non-zero (except those an interactive pick takes).  This takes the oldest
// click not yet taken in the slot's window: 1 with its image point, or 0 when there is none
// (outputs untouched).  The 64 latest clicks are kept; older ones are dropped.
int KRT_GetImageClick(int slot, int* x, int* y);

// ---- Pixels and drawing on the current image ------------------------------------------------
// Points outside the image are skipped one by one.  None of these redraws the window.  The
// XOR forms invert what they touch, so drawing the same shape twice restores the image.
// The pen position is the last point of KRT_SetPixel, XorPixel, KRT_DrawLine and XorLine.
void KRT_SetPixel(int x, int y, int colour);  // records the pen position
void PutPixel(int x, int y, int colour);      // the same, pen position untouched
int KRT_GetPixel(int x, int y);               // 0 outside
int ProbePixel(int x, int y);                 // -1 outside
void XorPixel(int x, int y);                  // 32-bit: low 24 bits inverted; 8-bit: 255 - index
void XorPixelQuiet(int x, int y);             // the same, pen position untouched

void KRT_DrawLine(int x1, int y1, int x2, int y2, int colour);  // both ends included
void XorLine(int x1, int y1, int x2, int y2);

// The drawing colour, initially white, is the colour of the box, disc and fill calls below
// and of the image windows' drawing commands.
int KRT_GetDrawingColour(void);
void KRT_SetDrawingColour(int colour);

// Rectangles by two opposite corners, in any order.
void DrawBox(int xa, int ya, int xb, int yb);     // outline
void XorBox(int xa, int ya, int xb, int yb);      // outline inverted, each pixel once
void FillBox(int xa, int ya, int xb, int yb);     // outline and inside
void XorFillBox(int xa, int ya, int xb, int yb);  // outline and inside inverted

// Circles; a negative radius draws nothing.
void KRT_DrawCircle(int cx, int cy, int r, int colour);
void XorCircle(int cx, int cy, int r);
void FillCircle(int cx, int cy, int r);     // disc in the drawing colour, then its outline
void XorFillCircle(int cx, int cy, int r);  // each row of the disc inverted once (r >= 1)

// The 4-connected region of pixels equal to the one at (x, y), in the drawing colour.
void FloodFill(int x, int y);

// Every pixel of the slot to 0 (black, or index 0); nothing for a slot that holds no image.
void ClearImage(int slot);

// ---- Colour conversions, profile plots and test patterns ------------------------------------
// Pure functions of a colour 0x00RRGGBB (the top byte is ignored), in exact integer arithmetic,
// so that every printed value and plotted curve is the same on every machine.
void RgbToHsv(int c, int* h, int* s, int* v);  // h 0 to 359; s = max - min and v = max, 0 to 255
int GetHue(int c);
int GetSaturation(int c);
int GetValue(int c);
int HsvToRgb(int v, int s, int h);  // back to 0x00RRGGBB (v, s 0 to 255, h 0 to 359)
int Luminance(int c);               // Y, 0 to 255
int ChromaCr(int c);                // -127 to 128
int ChromaCb(int c);                // -127 to 128
int YuvU(int c);                    // -110 to 111
int YuvV(int c);                    // -156 to 157
int YiqI(int c);                    // -151 to 152
int YiqQ(int c);                    // -126 to 127

// Row y of the current image into dst: count elements, 32-bit words or bytes by the image's
// depth, 0 for columns or a row outside the image.  Nothing is written without a current image.
void ReadImageRow(void* dst, int y, int count);

// Flags of PlotProfile: one channel and one drawing mode.
enum ProfileChannel {
    KRT_PROFILE_RED = 0x0001, KRT_PROFILE_GREEN = 0x0002, KRT_PROFILE_BLUE = 0x0004,
    KRT_PROFILE_HUE = 0x0008, KRT_PROFILE_SATURATION = 0x0010, KRT_PROFILE_VALUE = 0x0020,
    KRT_PROFILE_LUMINANCE = 0x0100, KRT_PROFILE_CR = 0x0200, KRT_PROFILE_CB = 0x0400,
    KRT_PROFILE_BYTES = 0x1000,  // the samples are bytes (an 8-bit row), plotted as they are
    KRT_PROFILE_DOTS = 0x0040,   // one pixel a sample
    KRT_PROFILE_CONNECTED = 0x0080,  // each sample joined to the one before it
};
// Plots count samples of one channel into rows 0 (full) to 127 (zero) of the current image,
// sample i at column xOffset + i; hue is scaled by 359, everything else by 255.
void PlotProfile(const void* samples, int xOffset, int count, int flags, int colour);
// The (Cb, Cr) path of count 32-bit samples on a 256 x 256 plane with grey axes through
// (128, 128): Cb to the right, Cr upwards; segments alternate white and magenta.
void PlotCrCbRow(const void* samples, int count);
// The same for a block of rows x columns samples stored row after row, one white path a row.
void PlotCrCbArea(int rows, const void* block, int columns);

// Test patterns over the whole current image; on 8-bit images the low byte of each colour is
// stored as the index, except by PatternGrey, which first loads the grey palette.
void PatternRgb(void);    // red grows to the right, green downwards, blue fades to the corner
void PatternHsv(void);    // hue across; white at the top, full colour mid-way, black at the bottom
void PatternYCrCb(void);  // black at the centre, brighter outwards; Cr upwards, Cb to the right
void PatternYuv(void);    // the same scheme in YUV
void PatternYiq(void);    // the same scheme in YIQ
void PatternGrey(void);   // grey ramps: black to white in the upper half, white to black below

// ---- Picking with the mouse ------------------------------------------------------------------
// Each waits, dispatching this thread's messages, until the user clicks in the slot's window,
// shows a rubber band while the mouse moves, and makes the slot the current image.  Results:
// 0 picked, 1 cancelled (a right click before the first point, or Stop or Exit), 2 no such
// image (outputs untouched then).  Outputs are set to 0 first; a right click after the first
// point asks for it again.  One tool runs at a time: a pick called while another waits (from
// code that runs during its wait) returns 1 at once and changes nothing but its outputs.
int PickPoint(int slot, int* x, int* y);
int PickRow(int slot, int* x, int* y);     // a full-width line follows the mouse; use y
int PickColumn(int slot, int* x, int* y);  // a full-height line follows the mouse; use x
int PickLine(int slot, int* x1, int* y1, int* x2, int* y2);
int PickRectangle(int slot, int* left, int* top, int* right, int* bottom);  // corners ordered
int PickCircle(int slot, int* cx, int* cy, int* r);
int PickPlacement(int slot, int w, int h, int* x, int* y);  // a w x h box centred on the mouse

// ---- Text colours ---------------------------------------------------------------------------
extern int krt_tc;    // colour of the built-in font
extern int krt_tttc;  // colour of TrueType text

// ---- Text into images ------------------------------------------------------------------------
// Both fonts draw into the current image at one text cursor: x, the baseline row, and the left
// margin that a newline goes back to.  Nothing redraws the window (KRT_RefreshImage does).
void KRT_SetTextCursor(int x, int baseline, int leftMargin);

// The built-in 8 x 14 font, in krt_tc, pixel by pixel (KRT_SetPixel; the background stays).
// A glyph stands on rows baseline - 14 to baseline - 1 and advances x by 8; a line is 16 rows.
// After a character, a line with less than 8 columns left wraps to the margin.
void KRT_DrawChar(int c);                     // 0x20 to 0x7F; '\n' a new line; others skipped
void KRT_DrawString(const char* text);        // KRT_DrawChar for each byte
void KRT_DrawTextF(const char* format, ...);  // printf-style, up to 4095 bytes (whole characters)

// TrueType text in krt_tttc, through the window system.  A character's cell ends on the
// baseline row and x advances by its width; this text does not wrap.  Codes below 32 are
// controls: 1 and 2 italic on and off, 3 bold, 4 normal weight, 5 and 6 underline on and off,
// 10 a new line (down by the cell height, x to the margin); the others are ignored.
// Other codes are characters: in a UTF-8 program the character's Unicode code point (0xE9 for
// U+00E9, 0x65E5 for U+65E5, those from 0x10000 too); in any other code page the character's
// bytes, the first in the higher place: a byte, or lead * 256 + trail of a two-byte character.
// DrawTrueTypeString passes each character of its text so; in UTF-8, bytes that make no
// character are drawn as U+FFFD.
void DrawTrueTypeChar(int code);
void DrawTrueTypeString(const char* text);  // narrow text, character by character
// The font becomes width / 2 wide and height high (the cell height is also the line advance):
// 0, or 1 when no such font can be made (text then uses the image's default font).
int SetTrueTypeCellSize(int width, int height);
