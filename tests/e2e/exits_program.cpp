// The user program of the Exit and Stop story.  EXITS_STATE says what it is busy with when the
// user presses Exit or Stop; every state first prints 200 numbered lines into text window 0,
// whose log is on, and then "state NAME", so that the story knows the moment has come.
// EXITS_MARKER names a file written when the user-program thread ends by itself (returns or
// exits), and not when it is ended by force: the story tells the two apart by it, not by time.
// EXITS_PICTURE names the picture the "load" state loads again and again.
#include <windows.h>
#include <gdiplus.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/mailbox.h"
#include "krtlib.h"

namespace {

constexpr int kLines = 200;
constexpr int kCanvas = 1;
constexpr int kWidth = 200, kHeight = 150;

const char* State()
{
    const char* state = std::getenv("EXITS_STATE");
    return state ? state : "";
}

bool Is(const char* name) { return std::strcmp(State(), name) == 0; }

void PrintNumbered(int from, int to)
{
    for (int i = from; i <= to; ++i)
        KRT_Print("line %04d\n", i);
}

// Called for the thread's fiber data when the thread ends normally; a terminated thread never
// gets here.
void WINAPI ThreadEnded(void*)
{
    if (const char* marker = std::getenv("EXITS_MARKER"))
        if (std::FILE* file = std::fopen(marker, "w"))
            std::fclose(file);
}

void WatchThreadEnd()
{
    const DWORD index = FlsAlloc(ThreadEnded);
    if (index != FLS_OUT_OF_INDEXES)
        FlsSetValue(index, reinterpret_cast<void*>(1));
}

// Squares of 10 pixels, so that any band left behind shows.
void DrawCanvas()
{
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            KRT_SetPixel(x, y, ((x / 10 + y / 10) & 1) ? 0x2040C0 : 0x000000);
    KRT_RefreshImage(kCanvas);
}

void Pick()
{
    const int bytes = kWidth * kHeight * 4;
    std::vector<unsigned char> before(PixelTable[kCanvas], PixelTable[kCanvas] + bytes);
    KRT_Print("state pick\n");
    int left = 0, top = 0, right = 0, bottom = 0;
    const int result = PickRectangle(kCanvas, &left, &top, &right, &bottom);
    const bool same = std::memcmp(before.data(), PixelTable[kCanvas], bytes) == 0;
    KRT_Print("pick %d pixels %s\n", result, same ? "same" : "changed");
}

// The GUI thread posts a request (a text window from the main window's menu) while this thread,
// still in its initialisation, cannot serve it.
void HoldRequest()
{
    KRT_Print("state request-wait\n");
    while (RequestMailbox.code.load() == 0 && exitState == 0) {
        PumpUserMessages();
        Sleep(1);
    }
    KRT_Print("state request-pending %d\n", RequestMailbox.code.load());
    while (exitState == 0) {
        PumpUserMessages();
        Sleep(1);
    }
}

}  // namespace

void UserProgramInit(void)
{
    WatchThreadEnd();
    KRT_OpenTextWindow(0, 760, 20, 400, 300);
    KRT_StartLog(0);
    KRT_CreateImage(kCanvas, "canvas", 300, 300, kWidth, kHeight, 100);
    DrawCanvas();
    KRT_Print("state ready\n");
    if (Is("request")) {
        PrintNumbered(1, kLines);
        HoldRequest();
    } else if (Is("dialog")) {
        PrintNumbered(1, kLines);  // the dialogs are opened from the canvas's menus
        KRT_Print("state idle\n");
    }
}

void UserProgramMain(void)
{
    static int runs = 0;
    KRT_Print("run %d\n", ++runs);
    if (runs > 1)
        return;  // a second run shows that the first one ended
    PrintNumbered(1, kLines);
    if (Is("print")) {
        KRT_Print("state print\n");
        int i = kLines + 1;
        while (stopRequested == 0)
            KRT_Print("line %04d\n", i++);
        KRT_Print("print stopped\n");
    } else if (Is("print-deaf")) {
        KRT_Print("state print-deaf\n");
        for (int i = kLines + 1;; ++i)  // never looks at Stop or Exit
            KRT_Print("line %04d\n", i);
    } else if (Is("inputline")) {
        KRT_Print("state inputline\n");
        char line[256];
        KRT_InputLine(line);
        KRT_Print("input [%s] stop %d\n", line, stopRequested.load());
    } else if (Is("prompt")) {
        KRT_Print("state prompt\n");
        const int result = KRT_CommandPrompt();
        KRT_Print("prompt %d\n", result);
    } else if (Is("pick")) {
        Pick();
    } else if (Is("pause")) {
        KRT_Print("state pause\n");
        KRT_Pause("Exits pause");
        KRT_Print("pause returned\n");
    } else if (Is("spin")) {
        KRT_Print("state spin\n");
        volatile unsigned turns = 0;
        for (;;)
            turns = turns + 1;
    } else if (Is("refresh")) {
        KRT_Print("state refresh\n");
        for (;;)  // never looks at Stop or Exit, but calls the library
            KRT_RefreshImage(kCanvas);
    } else if (Is("load")) {
        const char* picture = std::getenv("EXITS_PICTURE");
        KRT_Print("state load\n");
        for (;;)
            KRT_LoadImageFile(picture ? picture : "", 0, 0);
    } else if (Is("draw-deaf")) {
        // Ended by force, most likely inside the window system's or GDI+'s drawing, holding
        // their locks: the process must still end.
        KRT_Print("state draw-deaf\n");
        Gdiplus::Bitmap bitmap(64, 64, PixelFormat32bppRGB);
        for (unsigned turn = 0;; ++turn) {
            const HBRUSH brush = CreateSolidBrush(turn & 0xFFFFFF);
            DeleteObject(brush);
            Gdiplus::Graphics surface(&bitmap);
            surface.Clear(Gdiplus::Color(255, turn & 255, 0, 0));
        }
    } else if (Is("spin-poll")) {
        KRT_Print("state spin-poll\n");
        volatile unsigned turns = 0;
        while (stopRequested == 0)
            turns = turns + 1;
        KRT_Print("spin stopped\n");
    }
}
