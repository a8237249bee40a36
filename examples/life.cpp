// life: Conway's Game of Life on a 256 x 256 board whose edges wrap around, shown four times
// its size (or as large as the screen allows).  The board is an 8-bit image: index 1 is a live
// cell, 0 a dead one, and the palette gives them their colours.  Press Start, then: "run" lets
// a generation pass each frame and prints how many pass a second, "pause" stops them, "step"
// makes one, "clear" empties the board and "random" fills a quarter of it.  A click on the board
// brings a cell to life or kills it.  Stop ends the run; the board stays for the next.
#include "krtlib.h"

namespace {

constexpr int kSize = 256;
constexpr int kBoard = 0;
enum Button { Run, Pause, Step, Clear, Random };
const char* const kLabels[] = {"run", "pause", "step", "clear", "random"};

unsigned char next[kSize][kSize];
int generation = 0;
unsigned seed = 1;

unsigned char* Row(int y) { return PixelTable[kBoard] + y * ImageStride(kSize, 8); }

int CountCells()
{
    int cells = 0;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            cells += Row(y)[x];
    return cells;
}

// One generation: a live cell with two or three live neighbours lives on, a dead one with
// exactly three comes to life; every other cell is dead in the next.
void Advance()
{
    for (int y = 0; y < kSize; ++y) {
        const unsigned char* above = Row((y + kSize - 1) % kSize);
        const unsigned char* here = Row(y);
        const unsigned char* below = Row((y + 1) % kSize);
        for (int x = 0; x < kSize; ++x) {
            const int left = (x + kSize - 1) % kSize, right = (x + 1) % kSize;
            const int neighbours = above[left] + above[x] + above[right] + here[left] + here[right] + below[left] +
                                   below[x] + below[right];
            next[y][x] = neighbours == 3 || (neighbours == 2 && here[x]);
        }
    }
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            Row(y)[x] = next[y][x];
    ++generation;
}

void Randomise()
{
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            seed = seed * 1664525u + 1013904223u;  // a linear congruential generator's step
            Row(y)[x] = (seed >> 24) < 64;
        }
}

bool OpenBoard()
{
    if (ImageTable[kBoard].inUse)
        return true;
    if (KRT_CreateImage8(kBoard, "life", 260, 0, kSize, kSize, 300) != 0)
        return false;
    unsigned palette[2] = {0x102030, 0x60FF60};  // dead: dark blue, alive: green
    KRT_SetPalette(reinterpret_cast<const RGBQUAD*>(palette), 2);
    ClearImage(kBoard);
    return true;
}

}  // namespace

void UserProgramInit(void)
{
    KRT_OpenButtonBox(0, 0, 1, 5);
    for (int i = 0; i < 5; ++i)
        KRT_SetButtonBoxTitle(i, kLabels[i]);
    KRT_OpenTextWindow(0, 0, 190, 250, 300);
    KRT_StartLog(0);
    mouseTracking = 1;  // clicks on the board are kept for KRT_GetImageClick
    seed = MillisecondClock();
    OpenBoard();
    KRT_Print("life: press Start.\n");
    KRT_SetForeground(KRTMAINWINDOW);
}

void UserProgramMain(void)
{
    if (!OpenBoard()) {
        KRT_Print("no room for the board\n");
        return;
    }
    KRT_RefreshImage(kBoard);
    KRT_Print("generation %d: %d cells\n", generation, CountCells());
    bool running = false;
    unsigned since = MillisecondClock();
    int counted = 0;  // generations since `since`
    while (WaitNextFrame() == 0 && ImageTable[kBoard].inUse) {
        bool changed = false;
        int x, y;
        while (KRT_GetImageClick(kBoard, &x, &y)) {
            if (x >= 0 && x < kSize && y >= 0 && y < kSize)
                Row(y)[x] ^= 1;
            changed = true;
        }
        if (KRT_GetButton(Run) && !running) {
            running = true;
            since = MillisecondClock();
            counted = 0;
        }
        if (KRT_GetButton(Pause) && running) {
            running = false;
            KRT_Print("paused at generation %d: %d cells\n", generation, CountCells());
        }
        if (KRT_GetButton(Clear)) {
            ClearImage(kBoard);
            generation = 0;
            changed = true;
        }
        if (KRT_GetButton(Random)) {
            Randomise();
            generation = 0;
            changed = true;
        }
        if (KRT_GetButton(Step) && !running) {
            Advance();
            KRT_Print("generation %d: %d cells\n", generation, CountCells());
            changed = true;
        }
        if (running) {
            Advance();
            ++counted;
            changed = true;
            const unsigned elapsed = MillisecondClock() - since;
            if (elapsed >= 1000) {
                KRT_Print("generation %d: %.1f generations a second\n", generation, counted * 1000.0 / elapsed);
                since += elapsed;
                counted = 0;
            }
        }
        if (changed)
            KRT_RefreshImage(kBoard);
    }
}
