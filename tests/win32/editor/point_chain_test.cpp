// The point-chain editor running as the user program of the real framework, driven with the
// messages a user's mouse and button clicks cause, and checked on image 1's pixels, the
// console, the log file and the clipboard.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "boxes/box_state.h"
#include "core/control_flags.h"
#include "core/framework.h"
#include "core/process_state.h"
#include "framework_fixture.h"
#include "image/image_table.h"
#include "krtlib.h"
#include "menu_capture.h"
#include "text_test_support.h"
#include "text/text_window_table.h"

namespace {

constexpr int kWidth = 640, kHeight = 480;
constexpr unsigned kYellow = 0xFFFF00, kWhite = 0xFFFFFF, kGrey = 0x444444, kBlack = 0x000000;

// The background: no pixel of it is one of the chain's colours.
unsigned Background(int x, int y) { return 0x102030u + static_cast<unsigned>((x * 3 + y * 5) % 64); }

void CreateBackgroundImage()
{
    RunOnUserThread([] {
        ASSERT_EQ(KRT_CreateImage(0, "000", 700, 500, kWidth, kHeight, 100), 0);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                KRT_SetPixel(x, y, static_cast<int>(Background(x, y)));
    });
}

unsigned Pixel1(int x, int y)
{
    return reinterpret_cast<const unsigned*>(PixelTable[1])[y * ImageTable[1].width + x] & 0xFFFFFF;
}

void PressButton(int j)
{
    PostMessageW(ButtonBox.box, WM_COMMAND, MAKEWPARAM(3000 + j, BN_CLICKED),
                 reinterpret_cast<LPARAM>(ButtonBox.buttons[j]));
}

std::wstring ButtonLabel(int j)
{
    wchar_t text[32] = L"";
    GetWindowTextW(ButtonBox.buttons[j], text, 32);
    return text;
}

void Mouse(UINT message, int x, int y, bool left)
{
    PostMessageW(ImageTable[1].window, message, left ? MK_LBUTTON : 0, MAKELPARAM(x, y));
}

// A press at (x, y), a move to (x + dx, y + dy) with the button held, and the release as the
// next move reports it.  The editor looks at the mouse once a frame, so each step waits.
void Drag(int x, int y, int dx, int dy, const std::function<bool()>& moved)
{
    Mouse(WM_LBUTTONDOWN, x, y, true);
    PumpFor(500);
    Mouse(WM_MOUSEMOVE, x + dx, y + dy, true);
    if (moved)
        PumpUntil(moved);
    else
        PumpFor(500);
    Mouse(WM_MOUSEMOVE, x + dx, y + dy, false);
    PumpFor(300);
}

// Whether the console comes to show the same pixels as `text` printed into a fresh window of
// its size.  The reference print runs on the editor's thread inside one of its own prints, so
// the console may be between its clear and its last line at first: it is awaited.
bool ConsoleShows(const char* text)
{
    RunOnUserThread([text] {
        KRT_OpenTextWindow(9, 400, 400, 152, 469);
        KRT_Print("%s", text);
        KRT_SelectTextWindow(0);
    });
    const Snapshot expected = TakeSnapshot(TextWindowTable[9].memoryDC, 152, 469);
    return PumpUntil([&] { return TakeSnapshot(TextWindowTable[0].memoryDC, 152, 469).pixels == expected.pixels; });
}

class Editor : public FrameworkTest {
protected:
    void Start()
    {
        SendMessageW(MainWindow, WM_COMMAND, 1001, 0);
        ASSERT_TRUE(PumpUntil([] { return running == 1; }));
    }
    // Starts a run over a fresh background and waits for the first frame.
    void StartWithBackground()
    {
        CreateBackgroundImage();
        Start();
        ASSERT_TRUE(PumpUntil([] { return ImageTable[1].inUse && Pixel1(140, 300) == kYellow; }));
        WaitForStatusLines();
    }
    // The frame's last step prints two lines into the console.
    static void WaitForStatusLines()
    {
        const TextWindowRecord& console = TextWindowTable[0];
        ASSERT_TRUE(PumpUntil([&] { return console.cursorY == 2 * console.cellHeight; }));
    }
    void Break()
    {
        PressButton(11);
        ASSERT_TRUE(PumpUntil([] { return running == 0; }));
    }
    void TearDown() override
    {
        if (running && exitState == 0)
            Break();
        FrameworkTest::TearDown();
    }
};

TEST_F(Editor, InitOpensTheConsoleAndTheLabelledButtonBox)
{
    const TextWindowRecord& console = TextWindowTable[0];
    ASSERT_TRUE(console.inUse);
    EXPECT_EQ(console.width, 152);
    EXPECT_EQ(console.height, 469);
    RECT r;
    GetWindowRect(console.window, &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 218);
    ASSERT_TRUE(ButtonBox.box);
    EXPECT_EQ(ButtonBox.columns, 2);
    EXPECT_EQ(ButtonBox.rows, 6);
    const wchar_t* labels[] = {L"r-", L"r+", L"\x2190", L"\x2192", L"\x2191", L"\x2193",
                               L"edit", L"move", L"---", L"---", L"---", L"break"};
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(ButtonLabel(i), labels[i]) << i;
    EXPECT_EQ(mouseTracking, 1);
}

TEST_F(Editor, StartWithoutAnImageShowsOnlyThePauseBox)
{
    Start();
    HWND box = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (box = FindWindowW(L"#32770", L"Pause")) != nullptr; }));
    std::wstring texts;
    EnumChildWindows(
        box,
        [](HWND child, LPARAM out) {
            wchar_t text[256];
            GetWindowTextW(child, text, 256);
            *reinterpret_cast<std::wstring*>(out) += text;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&texts));
    EXPECT_NE(texts.find(Wide(u8"tavimoraさんのフライアイ画像をドラッグして下さい")), std::wstring::npos);
    EXPECT_FALSE(ImageTable[1].inUse);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(PumpUntil([] { return running == 0; }));
    EXPECT_FALSE(ImageTable[1].inUse);
}

TEST_F(Editor, FirstFrameDrawsTheChainOverTheBackgroundAndTheStatusLines)
{
    StartWithBackground();
    ASSERT_TRUE(ImageTable[1].inUse);
    EXPECT_EQ(ImageTable[1].width, kWidth);
    wchar_t title[64];
    GetWindowTextW(ImageTable[1].window, title, 64);
    EXPECT_EQ(std::wstring(title), L"tavimora(100%)");
    RECT r;
    GetWindowRect(ImageTable[1].window, &r);
    EXPECT_EQ(r.left, 216);
    EXPECT_EQ(r.top, 0);
    // The background is copied; the chord from (100, 300) to (500, 100) is grey (it passes
    // exactly through (300, 200) and steps to (301, 199)).
    EXPECT_EQ(Pixel1(10, 10), Background(10, 10));
    EXPECT_EQ(Pixel1(630, 470), Background(630, 470));
    EXPECT_EQ(Pixel1(300, 200), kGrey);
    EXPECT_EQ(Pixel1(301, 199), kGrey);
    EXPECT_EQ(Pixel1(301, 200), Background(301, 200));
    // Radius 40 at both ends: the selected first one yellow, the last white; crosses at the centres.
    for (auto [x, y] : {std::pair{140, 300}, {60, 300}, {100, 260}, {100, 340}})
        EXPECT_EQ(Pixel1(x, y), kYellow) << x << "," << y;
    for (auto [x, y] : {std::pair{540, 100}, {460, 100}, {500, 60}, {500, 140}})
        EXPECT_EQ(Pixel1(x, y), kWhite) << x << "," << y;
    EXPECT_EQ(Pixel1(100, 300), kWhite);
    EXPECT_EQ(Pixel1(102, 302), kWhite);
    EXPECT_EQ(Pixel1(98, 302), kWhite);
    // The diameter across the chain at the first point is black between the cross and the
    // circle: it runs from (118, 336) to (83, 265).
    EXPECT_EQ(Pixel1(109, 318), kBlack);
    EXPECT_EQ(Pixel1(91, 282), kBlack);
    // Console: the same pixels as "pos: 0" and "r: 40" printed into a fresh window of that size.
    EXPECT_TRUE(ConsoleShows("pos: 0\nr: 40\n"));
}

TEST_F(Editor, APressNinePixelsFromAPointGrabsItAndTenDoesNot)
{
    StartWithBackground();
    // Ten pixels to the right of the first point: nothing is grabbed.
    Drag(110, 300, 50, 0, nullptr);
    EXPECT_EQ(Pixel1(100, 340), kYellow);
    EXPECT_EQ(Pixel1(150, 340), Background(150, 340));
    // Nine: the point follows the mouse, keeping the offset of the press.
    Drag(109, 300, 50, 0, [] { return Pixel1(150, 340) == kYellow; });
    EXPECT_EQ(Pixel1(150, 340), kYellow);  // centre (150, 300)
    EXPECT_EQ(Pixel1(150, 300), kWhite);
    EXPECT_EQ(Pixel1(100, 340), Background(100, 340));
}

TEST_F(Editor, WriteLeavesTheChainInTheLogAndOnTheClipboard)
{
    const std::string log = std::string(logFolder) + "KRTLIB" + std::to_string(instanceNumber) + "0.LOG";
    std::remove(log.c_str());
    StartWithBackground();
    PressButton(10);
    const std::string expected = "100 300 40\r\n500 100 40\r\n\r\n\r\n100, 300,\r\n500, 100,\r\n";
    ASSERT_TRUE(PumpUntil([&] { return FileBytes(log) == expected; }));
    // Once the log is closed again the copy is done; reading the clipboard earlier could keep
    // it open just when the editor wants it.
    ASSERT_TRUE(PumpUntil([] { return TextWindowTable[0].logState == 0; }));
    PumpFor(100);
    EXPECT_EQ(ClipboardBytes(), expected);
}

TEST_F(Editor, EditViewButtonsAndTheMoveViewDragTheWholeChain)
{
    StartWithBackground();
    PressButton(6);  // edit view on
    ASSERT_TRUE(PumpUntil([] { return ButtonLabel(9) == L"num +"; }));
    PressButton(9);  // a third point at the midpoint (300, 200), radius 40, drawn white
    ASSERT_TRUE(PumpUntil([] { return Pixel1(340, 200) == kWhite; }));
    PressButton(7);  // move view
    ASSERT_TRUE(PumpUntil([] { return ButtonLabel(6) == L"---"; }));
    // A press anywhere drags every point by the mouse's displacement.
    Drag(320, 420, 30, 20, [] { return Pixel1(170, 320) == kYellow; });
    EXPECT_EQ(Pixel1(170, 320), kYellow);  // first point now (130, 320)
    EXPECT_EQ(Pixel1(370, 220), kWhite);   // middle point (330, 220)
    EXPECT_EQ(Pixel1(570, 120), kWhite);   // last point (530, 120)
    EXPECT_EQ(Pixel1(140, 300), Background(140, 300));
    // In the move view other buttons are consumed without effect.
    PressButton(1);
    PumpFor(300);
    EXPECT_EQ(Pixel1(171, 320), Background(171, 320));
    // The views outlive the run (and this process runs the editor again): both back off.
    PressButton(7);
    ASSERT_TRUE(PumpUntil([] { return ButtonLabel(6) == L"edit"; }));
    PressButton(6);
    ASSERT_TRUE(PumpUntil([] { return ButtonLabel(9) == L"---"; }));
}

TEST_F(Editor, BreakDestroysBothImagesAndTheNextStartAsksAgain)
{
    StartWithBackground();
    HWND image0 = ImageTable[0].window, image1 = ImageTable[1].window;
    Break();
    EXPECT_FALSE(ImageTable[0].inUse);
    EXPECT_FALSE(ImageTable[1].inUse);
    EXPECT_FALSE(IsWindow(image0));
    EXPECT_FALSE(IsWindow(image1));
    Start();
    HWND box = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (box = FindWindowW(L"#32770", L"Pause")) != nullptr; }));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(PumpUntil([] { return running == 0; }));
}

TEST_F(Editor, RadiusButtonsChangeTheSelectedPointsCircle)
{
    StartWithBackground();
    for (int radius = 41; radius <= 43; ++radius) {
        PressButton(1);  // r+; each press waits for its frame, as presses within one count once
        ASSERT_TRUE(PumpUntil([radius] { return Pixel1(100 + radius, 300) == kYellow; }));
    }
    ASSERT_TRUE(PumpUntil([] { return Pixel1(143, 300) == kYellow; }));
    WaitForStatusLines();
    EXPECT_EQ(Pixel1(140, 300), Background(140, 300));
    // "r: 43" on the console's second line: compare with a reference print.
    EXPECT_TRUE(ConsoleShows("pos: 0\nr: 43\n"));
}

TEST_F(Editor, AnEightBitBackgroundShowsInItsColoursAndAReusedLargerImageKeepsNoOldPixels)
{
    // Image 1 is left from before, larger and full of an old colour; image 0 is 8-bit.
    RunOnUserThread([] {
        ASSERT_EQ(KRT_CreateImage(1, "old", 216, 0, kWidth, kHeight, 100), 0);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                KRT_SetPixel(x, y, 0xABCDEF);
        ASSERT_EQ(KRT_CreateImage8(0, "000", 700, 500, 320, 240, 100), 0);
        unsigned palette[256] = {};
        palette[7] = 0x204060;
        palette[9] = 0x0080FF;
        KRT_SetPalette(reinterpret_cast<RGBQUAD*>(palette), 256);
        for (int y = 0; y < 240; ++y)
            for (int x = 0; x < 320; ++x)
                KRT_SetPixel(x, y, x < 160 ? 7 : 9);
    });
    Start();
    ASSERT_TRUE(PumpUntil([] { return Pixel1(140, 300) == kYellow; }));
    EXPECT_EQ(Pixel1(10, 10), 0x204060u);
    EXPECT_EQ(Pixel1(300, 10), 0x0080FFu);
    // Beyond image 0 the old pixels are gone, so a moved chain leaves no trail there.
    EXPECT_EQ(Pixel1(630, 470), 0u);
    EXPECT_EQ(Pixel1(330, 10), 0u);
    EXPECT_EQ(Pixel1(10, 250), 0u);
}

TEST_F(Editor, ExitDuringARunEndsTheProgramWithoutForce)
{
    StartWithBackground();
    HANDLE thread = nullptr;
    DuplicateHandle(GetCurrentProcess(), userThread, GetCurrentProcess(), &thread, 0, FALSE, DUPLICATE_SAME_ACCESS);
    SendMessageW(MainWindow, WM_COMMAND, 1002, 0);
    ASSERT_EQ(WaitForSingleObject(thread, 10000), WAIT_OBJECT_0);
    DWORD code = 99;
    GetExitCodeThread(thread, &code);
    EXPECT_EQ(code, 0u);  // returned by itself; a forced end leaves 1
    CloseHandle(thread);
}

}  // namespace
