// KRTLIB: ready-made windows for small image-processing programs on Win32.
//
// A user program defines UserProgramInit and UserProgramMain and links libkrtlib.a.  The
// library owns the process entry: it shows the main window (Start, Stop, Exit), runs
// UserProgramInit once on a thread of its own, and UserProgramMain each time Start is pressed.
// Every call below is made on that thread.  Narrow text is in the system code page.
#pragma once

#include <atomic>

// The palette entry of <windows.h> (bytes blue, green, red, reserved); declared here so that
// this header does not need <windows.h>.
typedef struct tagRGBQUAD RGBQUAD;

// ---- Provided by the user program ---------------------------------------------------------
void UserProgramInit(void);  // once, when the library starts
void UserProgramMain(void);  // each time Start is pressed; return to end the run

// ---- Frame pacing, pause box, control flags -----------------------------------------------
void KRT_Pause(const char* text);  // message box captioned "Pause"; returns on OK
int WaitNextFrame(void);           // 0 after 30 ms, 1 at once when Stop was requested
unsigned MillisecondClock(void);   // milliseconds; differences in unsigned arithmetic

constexpr int KRTMAINWINDOW = -1;     // KRT_SetForeground: the main window
void KRT_SetForeground(int window);  // KRTMAINWINDOW brings the main window forward

extern std::atomic<int> stopRequested;  // set by Stop and Exit; cleared when a run begins and ends

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
const char* KRT_GetInputBoxText(int item);  // committed value, or NULL when there is no such item
int KRT_GetInputBoxInt(int item);
double KRT_GetInputBoxDouble(int item);

void KRT_OpenButtonBox(int x, int y, int nx, int ny);
void KRT_SetButtonBoxTitle(int index, const char* text);
int KRT_GetButton(int index);  // presses since the last call (and clears them)
void KRT_ResizeButtonBox(int width, int height);
void KRT_CloseButtonBox(void);

// ---- Image windows (slots 0 to 255) --------------------------------------------------------
int KRT_CreateImage(int slot, const char* name, int x, int y, int width, int height, int zoom);
int KRT_CreateImage8(int slot, const char* name, int x, int y, int width, int height, int zoom);
int KRT_CreateImageFL(int slot, const char* name, int x, int y, int width, int height, int zoom);
int KRT_CreateImage8FL(int slot, const char* name, int x, int y, int width, int height, int zoom);
int KRT_SelectImage(int slot);
int KRT_RefreshImage(int slot);
int KRT_DestroyImage(int slot);
void KRT_GetImageBlock(void* dst, int x0, int y0, int bw, int bh);
void KRT_PutImageBlock(const void* src, int bw, int bh);
int KRT_SetPalette(const RGBQUAD* entries, int count);
int KRT_GetPalette(RGBQUAD* entries);
int KRT_LoadImageFile(const char* name, int x, int y);
int KRT_SaveImageFile(int height, int width, int format, const char* name);
int GetImageStretchMode(int slot);

enum { KRT_BMP = 0, KRT_JPEG = 1, KRT_GIF = 2, KRT_PNG = 3, KRT_TIFF = 4 };

extern int CurrentImage;           // the slot pixel, drawing and file calls act on
extern int jpegQuality;            // JPEG quality of KRT_SaveImageFile, initially 100

// ---- Mouse reports from image windows --------------------------------------------------------
struct MouseStateFields {
    int slot;     // image window that received the event
    int x, y;     // image point
    int left;     // left button down
    int middle;   // middle button down
    int shift;    // Shift down
    int control;  // Ctrl down
};
extern MouseStateFields MouseState;  // written only while mouseTracking is non-zero
extern int mouseTracking;

// ---- Pixels and drawing on the current image ------------------------------------------------
void KRT_SetPixel(int x, int y, int colour);  // colour 0x00RRGGBB; a palette index in 8-bit images
int KRT_GetPixel(int x, int y);
void KRT_DrawLine(int x1, int y1, int x2, int y2, int colour);
void KRT_DrawCircle(int cx, int cy, int r, int colour);
int KRT_GetDrawingColour(void);
void KRT_SetDrawingColour(int colour);

// ---- Text into images -------------------------------------------------------------------------
void KRT_DrawChar(int c);
void KRT_DrawString(const char* text);
void KRT_DrawTextF(const char* format, ...);
void KRT_SetTextCursor(int x, int baseline, int leftMargin);
extern int krt_tc;    // colour of the built-in font
extern int krt_tttc;  // colour of TrueType text
