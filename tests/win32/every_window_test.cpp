// Every window at once: all 256 image windows (32- and 8-bit), all 256 text windows, each
// logging a line, the input box and the button box.  Opens them, snaps windows with the table
// full, closes everything in a random order while the program keeps drawing into the current
// image, and checks that the process is back to its GDI and USER object counts and that every
// log holds its line.  Times and memory are printed, never asserted.
#include <gtest/gtest.h>

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "boxes/box_state.h"
#include "core/framework.h"
#include "core/process_state.h"
#include "core/snap.h"
#include "image_test_support.h"
#include "text_test_support.h"

namespace {

constexpr int kImageWidth = 64, kImageHeight = 48;

// GDI objects of the process.  Wine does not implement GetGuiResources (it answers 0); there
// the handle table is probed: a handle's low word is its table index, and Wine accepts an
// index without its generation word.
unsigned GdiObjects()
{
    if (const DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS))
        return count;
    unsigned count = 0;
    for (ULONG_PTR index = 1; index <= 0xFFFF; ++index)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)))
            ++count;
    return count;
}

BOOL CALLBACK CountWindow(HWND window, LPARAM counter)
{
    ++*reinterpret_cast<unsigned*>(counter);
    EnumChildWindows(window, CountWindow, counter);
    return TRUE;
}

// USER objects of the process; under Wine (see above) its windows, children included, and the
// message-only windows of the test's runner.
unsigned UserObjects()
{
    if (const DWORD count = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS))
        return count;
    unsigned count = 0;
    for (DWORD thread : {GetCurrentThreadId(), static_cast<DWORD>(userThreadId)})
        EnumThreadWindows(thread, CountWindow, reinterpret_cast<LPARAM>(&count));
    HWND message = nullptr;
    while ((message = FindWindowExW(HWND_MESSAGE, message, nullptr, nullptr)))
        if (GetWindowThreadProcessId(message, nullptr) == static_cast<DWORD>(userThreadId) ||
            GetWindowThreadProcessId(message, nullptr) == GetCurrentThreadId())
            ++count;
    return count;
}

struct Figures {
    unsigned gdi = 0, user = 0;
    double privateMb = 0;
};

Figures Measure()
{
    PumpFor(100);  // let destroyed windows' last messages go
    Figures f;
    f.gdi = GdiObjects();
    f.user = UserObjects();
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory))
        // Wine leaves PrivateUsage 0; the commit charge it does fill is the same figure on Windows.
        f.privateMb = double(memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage) / (1024.0 * 1024.0);
    return f;
}

// Printed, and kept in the test report as properties.
void Print(const char* stage, const Figures& f)
{
    std::string key = stage;
    std::replace(key.begin(), key.end(), ' ', '_');
    ::testing::Test::RecordProperty(key + "_gdi", static_cast<int>(f.gdi));
    ::testing::Test::RecordProperty(key + "_user", static_cast<int>(f.user));
    ::testing::Test::RecordProperty(key + "_private_mb", std::to_string(f.privateMb));
    std::printf("[every window] %-9s GDI %5u  USER %5u  private %.1f MB  (GetGuiResources %lu/%lu)\n", stage, f.gdi,
                f.user, f.privateMb, GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS),
                GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS));
    std::fflush(stdout);
}

bool WithinTwoPercent(unsigned value, unsigned baseline)
{
    const long difference = static_cast<long>(value) - static_cast<long>(baseline);
    return std::labs(difference) * 100 <= 2L * baseline;
}

std::string LogLine(int slot) { return "text window " + std::to_string(slot) + " logs this whole line"; }

// Image slot i at a grid spot, 32-bit for even slots and 8-bit for odd ones.
int OpenImage(int slot)
{
    const int x = (slot % 16) * 76, y = (slot / 16) * 40;
    return slot % 2 ? KRT_CreateImage8(slot, "many", x, y, kImageWidth, kImageHeight, 100)
                    : KRT_CreateImage(slot, "many", x, y, kImageWidth, kImageHeight, 100);
}

int OpenLoggingText(int slot)
{
    const int x = (slot % 8) * 150, y = 300 + (slot / 8) * 20;
    const int result = KRT_OpenTextWindow(slot, x, y, 140, 40);
    if (result == 0 && KRT_StartLog(slot) == 0 && KRT_SelectTextWindow(slot) == 0)
        KRT_Print("%s\n", LogLine(slot).c_str());
    return result;
}

// Sends WM_MOVING with the window's rectangle shifted so that its left edge is at `left`, on
// the thread that owns the window (with Ctrl held there); gives the rectangle it answers with.
RECT DragTo(HWND window, int left, int top)
{
    RECT now;
    GetWindowRect(window, &now);
    RECT proposed = {left, top, left + now.right - now.left, top + now.bottom - now.top};
    SetCtrlDown(true);
    SendMessageW(window, WM_MOVING, WMSZ_TOPLEFT, reinterpret_cast<LPARAM>(&proposed));
    SetCtrlDown(false);
    return proposed;
}

unsigned StressSeed()
{
    const char* given = std::getenv("KRT_STRESS_SEED");
    return given && *given ? static_cast<unsigned>(std::strtoul(given, nullptr, 10)) : 20261208u;
}

class EveryWindow : public FrameworkTest {
protected:
    void TearDown() override
    {
        RunOnUserThread([] {
            for (int slot = 0; slot < kImageSlots; ++slot) {
                KRT_DestroyImage(slot);
                KRT_CloseTextWindow(slot);
            }
            KRT_CloseInputBox();
            KRT_CloseButtonBox();
        });
        for (int slot = 0; slot < kTextWindowSlots; ++slot)
            std::remove(LogPath(slot).c_str());
        FrameworkTest::TearDown();
    }
};

TEST_F(EveryWindow, OpenAllSnapCloseInRandomOrderAndGiveEveryHandleBack)
{
    // Wine keeps the device contexts of up to 64 destroyed own-DC windows for reuse, so 64 plain
    // windows of the system's own come and go first; so does one window of each library kind,
    // for what the library makes once per process.  Both are then part of the baseline.
    RunOnUserThread([] {
        WNDCLASSW plain = {};
        plain.style = CS_OWNDC;
        plain.lpfnWndProc = DefWindowProcW;
        plain.hInstance = GetModuleHandleW(nullptr);
        plain.lpszClassName = L"krt_test_plain_owndc";
        RegisterClassW(&plain);
        std::vector<HWND> windows;
        for (int i = 0; i < 64; ++i)
            windows.push_back(CreateWindowExW(0, plain.lpszClassName, L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, i * 8,
                                              0, 80, 60, nullptr, nullptr, plain.hInstance, nullptr));
        for (HWND window : windows)
            DestroyWindow(window);
        OpenImage(0);
        OpenImage(1);
        OpenLoggingText(0);
        KRT_OpenInputBox(900, 700, 3);
        KRT_OpenButtonBox(900, 800, 4, 2);
        for (int i = 0; i < 50; ++i) {  // they paint and print before they close
            PumpUserMessages();
            Sleep(2);
        }
        KRT_DestroyImage(0);
        KRT_DestroyImage(1);
        KRT_CloseTextWindow(0);
        KRT_CloseInputBox();
        KRT_CloseButtonBox();
    });
    for (int slot = 0; slot < kTextWindowSlots; ++slot)
        std::remove(LogPath(slot).c_str());
    const Figures baseline = Measure();
    Print("baseline", baseline);

    // Everything at once.
    int imageFailures = 0, textFailures = 0;
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    RunOnUserThread([&] {
        for (int slot = 0; slot < kImageSlots; ++slot)
            imageFailures += OpenImage(slot) != 0;
        for (int slot = 0; slot < kTextWindowSlots; ++slot)
            textFailures += OpenLoggingText(slot) != 0;
        KRT_OpenInputBox(900, 700, 3);
        KRT_OpenButtonBox(900, 800, 4, 2);
    });
    QueryPerformanceCounter(&end);
    const double openSeconds = double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
    ASSERT_EQ(imageFailures, 0);
    ASSERT_EQ(textFailures, 0);
    ASSERT_TRUE(InputBox.box && ButtonBox.box);
    const Figures open = Measure();
    std::printf("[every window] opened 256 image + 256 text windows and both boxes in %.2f s\n", openSeconds);
    RecordProperty("open_seconds", std::to_string(openSeconds));
    Print("all open", open);

    // Snapping with the table full: every window's WM_MOVE rebuilds it, on both threads; it keeps
    // its capacity, and a window dragged near the screen's left edge or near image 0 (an early
    // entry) snaps to it whatever kind it is.
    std::vector<HWND> userWindows;
    for (int slot = 0; slot < kImageSlots; ++slot)
        userWindows.push_back(ImageTable[slot].window);
    for (int slot = 0; slot < kTextWindowSlots; ++slot)
        userWindows.push_back(TextRecord(slot).window);
    userWindows.push_back(InputBox.box);
    userWindows.push_back(ButtonBox.box);
    RunOnUserThread([&] {
        for (HWND window : userWindows)
            SendMessageW(window, WM_MOVE, 0, 0);
    });
    SendMessageW(MainWindow, WM_MOVE, 0, 0);
    EXPECT_EQ(SnapTable.count, kSnapCapacity);
    RECT image0;
    GetWindowRect(ImageTable[0].window, &image0);
    for (HWND window : {ImageTable[255].window, TextRecord(255).window, InputBox.box, ButtonBox.box}) {
        RECT atEdge, besideImage0;
        RunOnUserThread([&] {
            atEdge = DragTo(window, 5, 500);
            besideImage0 = DragTo(window, image0.right + 3, image0.top + 2);
        });
        EXPECT_EQ(atEdge.left, 0) << WindowText(window).c_str();
        EXPECT_EQ(besideImage0.left, image0.right) << WindowText(window).c_str();
    }
    EXPECT_EQ(DragTo(MainWindow, 6, 500).left, 0);
    EXPECT_EQ(SnapTable.count, kSnapCapacity);

    // Close everything in a random order; between two closes the program draws into whatever
    // image is current, and the drawing lands there while it is live.
    const unsigned seed = StressSeed();
    std::printf("[every window] closing order seed %u (set KRT_STRESS_SEED to repeat another)\n", seed);
    RecordProperty("seed", std::to_string(seed));
    std::mt19937 random(seed);
    std::vector<int> order;  // 0-255 images, 256-511 text windows, 512 input box, 513 button box
    for (int item = 0; item < 2 * kImageSlots + 2; ++item)
        order.push_back(item);
    for (size_t i = order.size() - 1; i > 0; --i)
        std::swap(order[i], order[random() % (i + 1)]);
    int drawnWrong = 0, drawnIntoLive = 0;
    QueryPerformanceCounter(&start);
    for (size_t step = 0; step < order.size(); ++step) {
        const int item = order[step];
        RunOnUserThread([&] {
            if (item < kImageSlots)
                KRT_DestroyImage(item);
            else if (item < 2 * kImageSlots)
                KRT_CloseTextWindow(item - kImageSlots);
            else if (item == 2 * kImageSlots)
                KRT_CloseInputBox();
            else
                KRT_CloseButtonBox();
            const int colour = static_cast<int>(0x010203u * (step + 1)) & 0xFFFFFF;
            KRT_SetDrawingColour(colour);
            KRT_DrawLine(0, 0, kImageWidth - 1, kImageHeight - 1, colour);
            FillBox(8, 30, 20, 40);
            KRT_RefreshImage(CurrentImage);
            if (CurrentImage >= 0 && CurrentImage < kImageSlots && ImageTable[CurrentImage].inUse) {
                ++drawnIntoLive;
                const int expected = ImageTable[CurrentImage].bitDepth == 8 ? colour & 0xFF : colour;
                drawnWrong += ProbePixel(kImageWidth - 1, kImageHeight - 1) != expected;  // the line's end
                drawnWrong += ProbePixel(14, 35) != expected;                              // inside the box
            }
        });
    }
    QueryPerformanceCounter(&end);
    std::printf("[every window] closed %zu windows in %.2f s, drawing %d times into a live image\n", order.size(),
                double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart), drawnIntoLive);
    EXPECT_EQ(drawnWrong, 0);
    // With nothing left, drawing and refreshing are harmless.
    RunOnUserThread([] {
        KRT_DrawLine(0, 0, 10, 10, 0xFFFFFF);
        FillBox(0, 0, 5, 5);
        KRT_RefreshImage(CurrentImage);
    });
    const Figures closed = Measure();
    Print("closed", closed);

    EXPECT_TRUE(WithinTwoPercent(closed.gdi, baseline.gdi))
        << "GDI objects: baseline " << baseline.gdi << ", all open " << open.gdi << ", closed " << closed.gdi;
    EXPECT_TRUE(WithinTwoPercent(closed.user, baseline.user))
        << "USER objects: baseline " << baseline.user << ", all open " << open.user << ", closed " << closed.user;
    for (int slot = 0; slot < kTextWindowSlots; ++slot)
        EXPECT_EQ(FileBytes(LogPath(slot)), LogLine(slot) + "\r\n") << LogPath(slot);
    EXPECT_TRUE(IsWindow(MainWindow));
}

}  // namespace
