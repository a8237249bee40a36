// An image window as its user meets it: the two popup menus, keys, the mouse as a user program
// and an interactive tool see it, zoom and stretch mode, the sizing border, dropped files and
// the load and save dialogs.  Messages are posted as the window system delivers them.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

#include "boxes/box_state.h"
#include "box_test_support.h"
#include "core/control_flags.h"
#include "core/process_state.h"
#include "core/snap.h"
#include "image/image_file.h"
#include "image/image_zoom.h"
#include "image_test_support.h"
#include "imaging/drawing_state.h"
#include "imaging/tool_feed.h"

namespace {

class ImageWindowInput : public FrameworkTest {
protected:
    void TearDown() override
    {
        ToolInProgress = 0;
        ToolSlot = -1;
        ToolCancel = 0;  // a right click a test fed to a pretended tool would cancel the next real one
        mouseTracking = 0;
        RunOnUserThread([] {
            SetCtrlDown(false);
            KRT_CloseButtonBox();
        });
        DestroyAllImages();
        if (TextRecord(0).inUse)
            TakePromptLog();
        FrameworkTest::TearDown();
    }
    static HWND Create(int slot, const char* name, int x, int y, int width, int height, int zoom, int depth = 32)
    {
        const int result = OnUserThread([&] {
            return depth == 8 ? KRT_CreateImage8(slot, name, x, y, width, height, zoom)
                              : KRT_CreateImage(slot, name, x, y, width, height, zoom);
        });
        return result == 0 ? ImageTable[slot].window : nullptr;
    }
    static void Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam = 0)
    {
        PostMessageW(window, message, wParam, lParam);
        FlushUserThread();
    }
    TempFolder folder;
};

// A menu as one line: "id text" per row ("id*" when checked), "-" for a separator, a submenu's
// rows in brackets after its text.
std::wstring Describe(const std::vector<CapturedItem>& items)
{
    std::wstring text;
    for (const CapturedItem& item : items) {
        if (!text.empty())
            text += L"|";
        if (item.separator) {
            text += L"-";
            continue;
        }
        if (item.submenu.empty())
            text += std::to_wstring(item.id) + (item.checked ? L"* " : L" ");
        text += item.text;
        if (!item.submenu.empty())
            text += L"[" + Describe(item.submenu) + L"]";
    }
    return text;
}

std::wstring MenuOf(HWND window, UINT message, WPARAM keys, unsigned timeoutMs = 10000)
{
    return Describe(CaptureMenu(
        userThreadId, [=] { PostMessageW(window, message, keys, MAKELPARAM(20, 20)); }, timeoutMs));
}

std::wstring ImageMenuAt(const wchar_t* zoomChecks)
{
    return std::wstring(L"1011 Cut\tCtrl+X|1012 Copy\tCtrl+C|1013 Paste\tCtrl+V|-|1004 &Load image file|"
                        L"1010 &Save as|-|") +
           zoomChecks + L"|1046 &Zoom...|-|1047 &Resize...|1005 &Destroy\tCtrl+Q";
}

std::wstring ToolsMenuWith(const wchar_t* information)
{
    return std::wstring(L"Process...[1058 Invert|-|1061 R. Rotate|1062 L. Rotate|-|1059 Horz. Flip|1060 Vert. Flip|-|"
                        L"1063 Size 50.0%|1064 Size 70.7%|1065 Size 141.4%|1066 Size 200.0%]|-|Information...[") +
           information +
           L"]|-|Test Pattern...[1053 RGB|1054 HSV|1055 YCrCb|1067 Yuv|1068 YIQ|1071 Grey]|-|"
           L"1019 Clipping\tCtrl+R|-|Color...[1031 Change|1052 Pick]|Draw Line...[1032 Normal|1034 Horz.|"
           L"1035 Vert.]|Draw Box...[1036 Normal|1037 Fill|1038 Fill XOR]|Draw Circle...[1039 Normal|1040 Fill|"
           L"1041 Fill XOR]|TrueType...[1048 Draw|1049 Font Change]|1042 Draw Text|1043 Paint";
}

TEST_F(ImageWindowInput, TheImageMenuChecksTheZoomItIsAt)
{
    HWND window = Create(0, "m", 100, 100, 400, 300, 100);
    const struct {
        int zoom;
        const wchar_t* checks;
    } cases[] = {
        {100, L"1007 Zoom: 50%|1008* Zoom:100%\tCtrl+0|1009 Zoom:200%"},
        {50, L"1007* Zoom: 50%|1008 Zoom:100%\tCtrl+0|1009 Zoom:200%"},
        {200, L"1007 Zoom: 50%|1008 Zoom:100%\tCtrl+0|1009* Zoom:200%"},
        {111, L"1007 Zoom: 50%|1008 Zoom:100%\tCtrl+0|1009 Zoom:200%"},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(OnUserThread([&] { return SetImageZoom(c.zoom, 0); }), 0);
        EXPECT_EQ(MenuOf(window, WM_RBUTTONDOWN, MK_RBUTTON), ImageMenuAt(c.checks)) << c.zoom;
    }
}

TEST_F(ImageWindowInput, CtrlOrTheMiddleButtonOpensTheToolsMenuWhoseInformationDependsOnTheDepth)
{
    HWND colour = Create(0, "c", 100, 100, 300, 200, 100);
    HWND grey = Create(1, "g", 500, 100, 300, 200, 100, 8);
    const std::wstring colourTools = ToolsMenuWith(
        L"1015 Pixel|1016 Line(RGB)|1017 Line(HSV)|1018 Line(YCrCb)|1021 Line(CrCb)|-|1022 Area(CrCb)");
    EXPECT_EQ(MenuOf(colour, WM_RBUTTONDOWN, MK_RBUTTON | MK_CONTROL), colourTools);
    EXPECT_EQ(MenuOf(colour, WM_MBUTTONDOWN, MK_MBUTTON), colourTools);
    EXPECT_EQ(MenuOf(grey, WM_RBUTTONDOWN, MK_RBUTTON | MK_CONTROL), ToolsMenuWith(L"1015 Pixel|1070 Line(Lumi)"));
}

TEST_F(ImageWindowInput, NoMenuOpensWhileALineIsReadOrAToolRuns)
{
    HWND window = Create(0, "a", 100, 100, 300, 200, 100);
    HWND other = Create(1, "b", 500, 100, 300, 200, 100);
    ASSERT_EQ(OpenTextWindowOnUserThread(0, 600, 400, 300, 200), 0);
    PendingLine line;
    StartLineInput(line);
    EXPECT_EQ(MenuOf(window, WM_RBUTTONDOWN, MK_RBUTTON, 2000), L"");
    TypeUnits(TextRecord(0).window, L"\r");
    ASSERT_TRUE(PumpUntil([&] { return line.done == 1; }));

    // A right click ends a tool in the tool's own window, and nothing anywhere else.
    ToolInProgress = 1;
    ToolSlot = 0;
    ToolCancel = 0;
    EXPECT_EQ(MenuOf(other, WM_RBUTTONDOWN, MK_RBUTTON, 2000), L"");
    EXPECT_EQ(ToolCancel, 0);
    EXPECT_EQ(MenuOf(window, WM_MBUTTONDOWN, MK_MBUTTON, 2000), L"");
    EXPECT_EQ(ToolCancel, 1);
}

TEST_F(ImageWindowInput, TheMouseIsReportedInImagePointsWhileTrackedAndFeedsTheToolOfItsWindow)
{
    HWND doubled = Create(3, "z200", 100, 100, 200, 150, 200);
    HWND reduced = Create(4, "z30", 600, 100, 1000, 800, 30);
    ASSERT_EQ(ImageTable[4].zoom, 30);

    Send(doubled, WM_MOUSEMOVE, MK_SHIFT, MAKELPARAM(101, 51));
    EXPECT_EQ(MouseState.slot, 0);  // not tracked: untouched
    EXPECT_EQ(MouseState.x, 0);
    mouseTracking = 1;
    Send(doubled, WM_MOUSEMOVE, MK_SHIFT, MAKELPARAM(101, 51));
    EXPECT_EQ((std::vector<int>{MouseState.slot, MouseState.x, MouseState.y, MouseState.left, MouseState.middle,
                                MouseState.shift, MouseState.control}),
              (std::vector<int>{3, 50, 25, 0, 0, 1, 0}));
    Send(reduced, WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, MAKELPARAM(10, 10));
    EXPECT_EQ((std::vector<int>{MouseState.slot, MouseState.x, MouseState.y, MouseState.left, MouseState.middle,
                                MouseState.shift, MouseState.control}),
              (std::vector<int>{4, 33, 33, 1, 0, 0, 1}));
    EXPECT_EQ(MenuOf(reduced, WM_MBUTTONDOWN, MK_MBUTTON, 10000).substr(0, 10), L"Process...");
    EXPECT_EQ(MouseState.middle, 0);  // the menu took the button's release

    // A tool waiting in image 3 gets its moves and clicks; the click's Shift goes to the report
    // even while untracked.
    mouseTracking = 0;
    ToolInProgress = 1;
    ToolSlot = 3;
    ToolMove = ToolClick = {};
    MouseState.shift = 7;
    Send(reduced, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    EXPECT_EQ(ToolClick.set, 0);
    Send(doubled, WM_MOUSEMOVE, 0, MAKELPARAM(41, 61));
    EXPECT_EQ((std::vector<int>{ToolMove.set, ToolMove.x, ToolMove.y}), (std::vector<int>{1, 20, 30}));
    Send(doubled, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(9, 7));
    EXPECT_EQ((std::vector<int>{ToolClick.set, ToolClick.x, ToolClick.y}), (std::vector<int>{1, 4, 3}));
    EXPECT_EQ(MouseState.shift, 1);
    Send(doubled, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(9, 7));
    EXPECT_EQ(MouseState.shift, 0);
    EXPECT_EQ(MouseState.x, 66);  // nothing else of the report changes: still the middle click's (20, 20)
}

// Clicks wait for the program in order, each in its own window's image points, so that a
// program that looks once a frame misses none.
TEST_F(ImageWindowInput, ClicksWaitInOrderForTheProgramThatLooksForThem)
{
    HWND doubled = Create(3, "z200", 100, 100, 200, 150, 200);
    HWND other = Create(4, "other", 600, 100, 200, 150, 100);
    auto click = [](HWND window, int x, int y) {
        Send(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        Send(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    };
    auto take = [](int slot) {  // the result, x and y
        int x = -1, y = -1;
        const int result = OnUserThread([&] { return KRT_GetImageClick(slot, &x, &y); });
        return std::vector<int>{result, x, y};
    };
    const std::vector<int> none = {0, -1, -1};

    click(doubled, 21, 31);  // untracked: not kept
    EXPECT_EQ(take(3), none);
    mouseTracking = 1;
    click(doubled, 21, 31);
    click(other, 5, 6);
    click(doubled, 41, 61);
    EXPECT_EQ(take(3), (std::vector<int>{1, 10, 15}));
    EXPECT_EQ(take(3), (std::vector<int>{1, 20, 30}));
    EXPECT_EQ(take(3), none);
    EXPECT_EQ(take(4), (std::vector<int>{1, 5, 6}));
    EXPECT_EQ(take(4), none);
    EXPECT_EQ(take(-1), none);
    EXPECT_EQ(take(256), none);

    // A click that a pick waits for is the pick's alone.
    ToolInProgress = 1;
    ToolSlot = 3;
    ToolClick = {};
    click(doubled, 9, 7);
    EXPECT_EQ(ToolClick.set, 1);
    ToolInProgress = 0;
    ToolSlot = -1;
    EXPECT_EQ(take(3), none);

    // A click in a window since closed is not handed to the next image of its slot.
    click(other, 7, 7);
    RunOnUserThread([] { KRT_DestroyImage(4); });
    Create(4, "again", 600, 100, 200, 150, 100);
    EXPECT_EQ(take(4), none);
    click(doubled, 2, 2);
    EXPECT_EQ(OnUserThread([] { return KRT_GetImageClick(3, nullptr, nullptr); }), 1);
}

TEST_F(ImageWindowInput, ButtonBoxKeysComeFirstThenCtrlKeysThenTheMainWindowsKeys)
{
    HWND window = Create(0, "k", 100, 100, 300, 200, 100);
    Send(window, WM_KEYDOWN, 'Q');  // no box: nothing
    RunOnUserThread([] { KRT_OpenButtonBox(700, 0, 2, 1); });
    auto presses = [](int button) { return OnUserThread([=] { return KRT_GetButton(button); }); };
    Send(window, WM_KEYDOWN, 'Q');
    Send(window, WM_KEYDOWN, 'Q');
    Send(window, WM_KEYDOWN, 'E');
    Send(window, WM_KEYDOWN, 'A');  // button 2 does not exist
    EXPECT_EQ(presses(0), 1);
    EXPECT_EQ(presses(1), 1);
    EXPECT_EQ(presses(2), 0);

    // C stops a run from an image window, but not during a tool, and Ctrl+C is a shortcut.
    ToolInProgress = 1;
    ToolSlot = 0;
    Send(window, WM_KEYDOWN, 'E');
    Send(window, WM_KEYDOWN, 'C');
    Send(window, WM_KEYDOWN, VK_TAB);
    PumpMessages();  // the key the image window handed on, if any
    EXPECT_EQ(presses(1), 1);  // the box's keys still work
    EXPECT_EQ(stopRequested, 0);
    EXPECT_EQ(GetImageStretchMode(0), COLORONCOLOR);
    ToolInProgress = 0;
    RunOnUserThread([] { SetCtrlDown(true); });
    Send(window, WM_KEYDOWN, 'C');
    PumpMessages();  // the key the image window handed on, if any
    EXPECT_EQ(stopRequested, 0);
    RunOnUserThread([] { SetCtrlDown(false); });
    Send(window, WM_KEYDOWN, 'C');
    EXPECT_TRUE(PumpUntil([] { return stopRequested == 1; }));
    Send(window, WM_KEYDOWN, VK_ESCAPE);
    EXPECT_TRUE(PumpUntil([] { return !IsWindow(MainWindow); }));
}

TEST_F(ImageWindowInput, ZoomStepsWithCtrlKeysAndTheWheelAndTabTogglesHalftone)
{
    HWND window = Create(2, "photo", 100, 100, 300, 200, 100);
    auto zoom = [] { return ImageTable[2].zoom; };
    Send(window, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA));  // no Ctrl: nothing
    EXPECT_EQ(zoom(), 100);
    Send(window, WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, -WHEEL_DELTA));
    EXPECT_EQ(zoom(), 111);
    EXPECT_EQ(WindowText(window), L"photo(111%)");
    Send(window, WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, WHEEL_DELTA));
    EXPECT_EQ(zoom(), 100);
    Send(window, WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, WHEEL_DELTA));
    EXPECT_EQ(zoom(), 90);

    RunOnUserThread([] { SetCtrlDown(true); });
    Send(window, WM_KEYDOWN, VK_ADD);
    EXPECT_EQ(zoom(), 100);
    Send(window, WM_KEYDOWN, VK_ADD);
    Send(window, WM_KEYDOWN, VK_ADD);
    EXPECT_EQ(zoom(), 123);
    Send(window, WM_KEYDOWN, VK_SUBTRACT);
    EXPECT_EQ(zoom(), 111);
    Send(window, WM_KEYDOWN, VK_NUMPAD0);
    EXPECT_EQ(zoom(), 100);
    RunOnUserThread([] { SetCtrlDown(false); });

    Send(window, WM_KEYDOWN, VK_TAB);
    EXPECT_EQ(WindowText(window), L"photo(100%)*");
    EXPECT_EQ(GetImageStretchMode(2), HALFTONE);
    EXPECT_EQ(OnUserThread([] { return GetStretchBltMode(ImageTable[2].memoryDC); }), HALFTONE);
    Send(window, WM_KEYDOWN, VK_TAB);
    EXPECT_EQ(WindowText(window), L"photo(100%)");
    EXPECT_EQ(GetImageStretchMode(2), COLORONCOLOR);
    EXPECT_EQ(OnUserThread([] { return GetStretchBltMode(ImageTable[2].memoryDC); }), COLORONCOLOR);
    EXPECT_EQ(OnUserThread([] { return SetImageStretchMode(BLACKONWHITE, 2); }), 0);  // not a mode of ours
    EXPECT_EQ(GetImageStretchMode(2), COLORONCOLOR);
    EXPECT_EQ(OnUserThread([] { return SetImageStretchMode(HALFTONE, 3); }), 1);
}

TEST_F(ImageWindowInput, ZoomCommandsResizeTheWindowAroundItsTopLeftCorner)
{
    HWND window = Create(1, "big", 30, 20, 1000, 800, 100);
    RECT before;
    GetWindowRect(window, &before);
    auto expectClient = [&](int zoom, int width, int height, const wchar_t* title) {
        EXPECT_EQ(ImageTable[1].zoom, zoom);
        RECT client, outer;
        GetClientRect(window, &client);
        GetWindowRect(window, &outer);
        EXPECT_EQ(client.right, width);
        EXPECT_EQ(client.bottom, height);
        EXPECT_EQ(ImageTable[1].clientWidth, width);
        EXPECT_EQ(ImageTable[1].clientHeight, height);
        EXPECT_EQ(outer.left, before.left);
        EXPECT_EQ(outer.top, before.top);
        EXPECT_EQ(WindowText(window), title);
        bool snapped = false;
        for (int i = 0; i < SnapTable.count; ++i)
            snapped |= SnapTable.left[i] == outer.left && SnapTable.top[i] == outer.top &&
                       SnapTable.right[i] == outer.right && SnapTable.bottom[i] == outer.bottom;
        EXPECT_TRUE(snapped) << "the snapping table holds the new rectangle";
    };
    // 200 % does not fit a 1280 x 1024 screen: the largest zoom that does, 1005 / 800 of it.
    Send(window, WM_COMMAND, 1009);
    expectClient(125, 1250, 1000, L"big(125%)");
    Send(window, WM_COMMAND, 1007);
    expectClient(50, 500, 400, L"big(50%)");
    Send(window, WM_COMMAND, 1008);
    expectClient(100, 1000, 800, L"big(100%)");
    EXPECT_EQ(OnUserThread([] { return SetImageZoom(100, 7); }), 1);

    OpenPromptWindow();
    PostMessageW(window, WM_COMMAND, 1046, 0);
    ASSERT_TRUE(AnswerPrompt(L"60"));
    expectClient(60, 600, 480, L"big(60%)");
    PostMessageW(window, WM_COMMAND, 1046, 0);
    ASSERT_TRUE(AnswerPrompt(L"many"));  // no digits: zoom 0, raised to the smallest the window allows
    EXPECT_GT(ImageTable[1].zoom, 0);
    EXPECT_LT(ImageTable[1].zoom, 60);
    EXPECT_EQ(TakePromptLog(), "[1] Zoom(%)=60\r\n[1] Zoom(%)=many\r\n");
}

// A hook on the user-program thread counts the WM_SIZING messages the real drag produces and
// sees the drag end.
std::atomic<int> sizingMessages{0};
std::atomic<bool> sizingEnded{false};
LRESULT CALLBACK WatchSizing(int code, WPARAM wParam, LPARAM lParam)
{
    const UINT message = reinterpret_cast<const CWPSTRUCT*>(lParam)->message;
    if (code == HC_ACTION && message == WM_SIZING)
        ++sizingMessages;
    if (code == HC_ACTION && message == WM_EXITSIZEMOVE)
        sizingEnded = true;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The pointer moved to a screen point, pressing or releasing the left button there, at a
// hand's pace.
void MouseTo(int x, int y, DWORD buttons = 0)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
    SendInput(1, &input, sizeof input);
    PumpFor(60);
}

// Moves the pointer, with the left button held, to a screen point until the report is `at`.
// Under Wine a move can be followed by a late one from the pointer's previous place; the
// next move (one pixel lower every other time, so that each is a move) puts it right again.
bool HeldMouseTo(int x, int y, std::vector<int> at)
{
    int step = 0;
    return PumpUntil([&] {
        MouseTo(x, y + (step++ & 1));
        return std::vector<int>{MouseState.x, MouseState.y, MouseState.left} == at;
    });
}

// A button held over an image window keeps the mouse: a drag that leaves the window is followed
// along the image's edge, and a release anywhere, or the capture taken away, reads as released.
TEST_F(ImageWindowInput, AReleasedButtonReadsReleasedWhereverTheDragEnds)
{
    HWND window = Create(2, "drag", 200, 200, 200, 150, 200);  // a client of 400 x 300
    HWND taker = Create(3, "taker", 800, 200, 60, 40, 100);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    mouseTracking = 1;
    MouseTo(origin.x + 101, origin.y + 51);
    MouseTo(origin.x + 101, origin.y + 51, MOUSEEVENTF_LEFTDOWN);
    EXPECT_TRUE(PumpUntil([] { return MouseState.left == 1; }));
    EXPECT_EQ(std::vector<int>({MouseState.slot, MouseState.x, MouseState.y}), std::vector<int>({2, 50, 25}));
    EXPECT_TRUE(HeldMouseTo(origin.x + 460, origin.y + 340, {199, 149, 1}));  // past the bottom-right corner
    EXPECT_TRUE(HeldMouseTo(origin.x - 100, origin.y - 80, {0, 0, 1}));  // past the top-left, off the frame
    MouseTo(origin.x - 100, origin.y - 80, MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(PumpUntil([] { return MouseState.left == 0; }));
    EXPECT_EQ(OnUserThread([] { return GetCapture(); }), nullptr);

    Send(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(9, 7));
    EXPECT_EQ(OnUserThread([] { return GetCapture(); }), window);
    RunOnUserThread([taker] { SetCapture(taker); });
    EXPECT_EQ(MouseState.left, 0);
}

TEST_F(ImageWindowInput, DraggingTheSizingBorderKeepsTheSize)
{
    HWND window = Create(0, "frame", 200, 200, 300, 200, 100);
    RECT before;
    GetWindowRect(window, &before);
    sizingMessages = 0;
    sizingEnded = false;
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, WatchSizing, nullptr, userThreadId);
    MouseTo(before.right - 2, before.bottom - 2);
    MouseTo(before.right - 2, before.bottom - 2, MOUSEEVENTF_LEFTDOWN);
    for (int step = 1; step <= 4; ++step)
        MouseTo(before.right - 2 + 15 * step, before.bottom - 2 + 10 * step);
    MouseTo(before.right + 58, before.bottom + 38, MOUSEEVENTF_LEFTUP);
    MouseTo(before.right + 59, before.bottom + 39);
    EXPECT_TRUE(PumpUntil([] { return sizingEnded.load(); }));
    UnhookWindowsHookEx(hook);
    EXPECT_GT(sizingMessages, 0) << "the drag reached the window";
    RECT after;
    GetWindowRect(window, &after);
    EXPECT_TRUE(EqualRect(&before, &after));
}

TEST_F(ImageWindowInput, DroppedFilesLoadTheFirstIntoThatImageAndTheCurrentImageReturns)
{
    WriteBmp24(folder / L"first.bmp", 130, 100, PatternColour);
    WriteBmp24(folder / L"second.bmp", 120, 90, [](int, int) { return 0xFF00FFu; });
    WriteBytes(folder / L"notes.txt", {'n', 'o'});
    HWND target = Create(0, "target", 100, 100, 120, 90, 100);
    Create(1, "other", 300, 100, 120, 90, 100);
    Create(2, "current", 500, 100, 120, 90, 100);
    ASSERT_EQ(CurrentImage, 2);
    RunOnUserThread([&] { PatBlt(ImageTable[0].windowDC, 0, 0, 120, 90, WHITENESS); });

    PostMessageW(target, WM_DROPFILES,
                 reinterpret_cast<WPARAM>(MakeDrop({folder / L"first.bmp", folder / L"second.bmp", folder / L"notes.txt"})), 0);
    FlushUserThread();
    int wrong = 0;
    for (int y = 0; y < 90; ++y)
        for (int x = 0; x < 120; ++x)
            wrong += PixelOf(0, x, y) != PatternColour(x, y);
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(CountOther(1, 0), 0);
    EXPECT_EQ(CountOther(2, 0), 0);
    EXPECT_EQ(CurrentImage, 2);
    // The window was invalidated: its paint shows the new pixels.
    Snapshot shown;
    RunOnUserThread([&] {
        UpdateWindow(target);
        shown = TakeSnapshot(ImageTable[0].windowDC, 120, 90);
    });
    EXPECT_EQ(shown.at(0, 0), PatternColour(0, 0));
    EXPECT_EQ(shown.at(119, 89), PatternColour(119, 89));

    Send(target, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({folder / L"notes.txt", folder / L"second.bmp"})));
    EXPECT_EQ(PixelOf(0, 0, 0), PatternColour(0, 0));
    EXPECT_EQ(CurrentImage, 2);

    // The close box and "&Destroy" both end an image.
    Send(target, WM_CLOSE, 0);
    EXPECT_FALSE(ImageTable[0].inUse);
    EXPECT_FALSE(IsWindow(target));
    Send(ImageTable[1].window, WM_COMMAND, 1005);
    EXPECT_FALSE(ImageTable[1].inUse);
}

// While a tool waits, files dropped on any image window are refused: loaded under the tool's
// band, they would be inverted where the band is removed.  The box is drawn as picked over the
// picture that was there.
TEST_F(ImageWindowInput, FilesDroppedWhileAToolWaitsAreRefused)
{
    WriteBmp24(folder / L"dropped.bmp", 120, 90, PatternColour);
    HWND canvas = Create(0, "canvas", 100, 100, 120, 90, 100);
    HWND other = Create(1, "other", 300, 100, 120, 90, 100);
    RunOnUserThread([] { DrawingColour = 0x3366CC; });
    PostMessageW(canvas, WM_COMMAND, 1037, 0);  // Draw Box / Fill
    ASSERT_TRUE(PumpUntil([] { return ToolInProgress == 1; }));
    Send(canvas, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 20));
    Send(canvas, WM_MOUSEMOVE, 0, MAKELPARAM(70, 60));
    Send(canvas, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({folder / L"dropped.bmp"})));
    Send(other, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({folder / L"dropped.bmp"})));
    Send(canvas, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(80, 50));
    ASSERT_TRUE(PumpUntil([] { return ToolInProgress == 0; }));
    FlushUserThread();
    int wrong = 0;
    for (int y = 0; y < 90; ++y)
        for (int x = 0; x < 120; ++x)
            wrong += PixelOf(0, x, y) != (x >= 10 && x <= 80 && y >= 20 && y <= 50 ? 0x3366CCu : 0u);
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(CountOther(1, 0), 0);
}

// A dropped name is read whole: a name of 258 units loads, and neither one cut to 255 units
// nor one converted to the nearest characters is taken for another file's.
TEST_F(ImageWindowInput, ADroppedNameIsReadWholeAndNeverCutToAnotherFilesName)
{
    const std::wstring cut = folder / std::wstring(255 - folder.path().size() - 1, L'a');
    ASSERT_EQ(cut.size(), 255u);
    WriteBmp24(cut, 40, 30, PatternColour);
    WriteBmp24(cut + L"bmp", 40, 30, [](int, int) { return 0xFF00FFu; });
    HWND target = Create(0, "target", 100, 100, 40, 30, 100);
    Send(target, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({cut + L"b.bmp"})));
    EXPECT_EQ(CountOther(0, 0), 0) << "a file of the cut name was loaded";
    Send(target, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({cut + L"bmp"})));
    EXPECT_EQ(CountOther(0, 0xFF00FF), 0);
    // Code page 932 has no e with an acute accent: the name is refused, not read as "cafe".
    WriteBmp24(folder / L"cafe.bmp", 40, 30, [](int, int) { return 0x00FF00u; });
    Send(target, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({folder / L"caf\u00e9.bmp"})));
    EXPECT_NE(PixelOf(0, 0, 0), 0x00FF00u) << "a file of a similar name was loaded";
}

// The rows of operations still to come are chosen without effect.
TEST_F(ImageWindowInput, TheOtherCommandsDoNothingYet)
{
    HWND window = Create(0, "idle", 100, 100, 160, 120, 100);
    RunOnUserThread([] { KRT_SetPixel(3, 4, 0xABCDEF); });
    // Files, zoom, dialogs, patterns, the clipboard, the transforms, the pick tools' commands and
    // the inspection commands act.
    const std::vector<int> handled = {1004, 1005, 1007, 1008, 1009, 1010, 1011, 1012, 1013, 1014, 1015, 1016,
                                      1017, 1018, 1019, 1021, 1022, 1031, 1032, 1034, 1035, 1036, 1037, 1038,
                                      1039, 1040, 1041, 1042, 1043, 1046, 1047, 1048, 1049, 1052, 1053, 1054,
                                      1055, 1058, 1059, 1060, 1061, 1062, 1063, 1064, 1065, 1066, 1067, 1068,
                                      1070, 1071};
    for (int id = 1001; id <= 1071; ++id)
        if (std::find(handled.begin(), handled.end(), id) == handled.end())
            PostMessageW(window, WM_COMMAND, id, 0);
    FlushUserThread();
    EXPECT_TRUE(ImageTable[0].inUse);
    EXPECT_EQ(ImageTable[0].zoom, 100);
    EXPECT_EQ(ImageTable[0].width, 160);
    EXPECT_EQ(CountOther(0, 0), 1);
    EXPECT_EQ(PixelOf(0, 3, 4), 0xABCDEFu);
    EXPECT_FALSE(ImageTable[1].inUse);
    EXPECT_EQ(lineInputOwner, 0);
}

// The common dialogs the user program's thread shows; the test fills them in as a user would.
HWND WaitDialog(const wchar_t* title)
{
    HWND dialog = nullptr;
    PumpUntil([&] { return (dialog = FindWindowW(L"#32770", title)) != nullptr && IsWindowVisible(dialog); });
    return dialog;
}

HWND FileNameField(HWND dialog)
{
    HWND field = GetDlgItem(dialog, edt1);
    return field ? field : GetDlgItem(dialog, cmb13);
}

void Choose(HWND dialog, const std::wstring& name, int filterIndex = 0)
{
    if (filterIndex > 0) {
        HWND filters = GetDlgItem(dialog, cmb1);
        SendMessageW(filters, CB_SETCURSEL, filterIndex - 1, 0);
        const WORD notifications[] = {CBN_SELCHANGE, CBN_SELENDOK};  // dialogs differ in which they follow
        for (WORD notification : notifications)
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(cmb1, notification), reinterpret_cast<LPARAM>(filters));
    }
    SendMessageW(FileNameField(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    PumpUntil([&] { return !IsWindow(dialog); });
    FlushUserThread();
}

TEST_F(ImageWindowInput, LoadAndSaveAsGoThroughTheirDialogs)
{
    WriteBmp24(folder / L"picture.bmp", 64, 48, PatternColour);
    HWND window = Create(0, "dialogs", 100, 100, 64, 48, 100);
    Create(1, "current", 300, 100, 64, 48, 100);

    // "&Load image file" opens with the BMP pattern and leaves the loaded image current.
    PostMessageW(window, WM_COMMAND, 1004, 0);
    HWND dialog = WaitDialog(L"Load image file");
    ASSERT_TRUE(dialog);
    EXPECT_EQ(WindowText(FileNameField(dialog)), L"*.BMP;*.RLE;*.DIB");
    Choose(dialog, folder / L"picture.bmp", 5);
    EXPECT_EQ(PixelOf(0, 63, 47), PatternColour(63, 47));
    EXPECT_EQ(CurrentImage, 0);
    EXPECT_EQ(openFilterIndex, 5);
    EXPECT_EQ(std::string(openFolder), Narrow(folder.path() + L"\\"));
    PostMessageW(window, WM_COMMAND, 1004, 0);
    dialog = WaitDialog(L"Load image file");
    ASSERT_TRUE(dialog);
    EXPECT_EQ(WindowText(FileNameField(dialog)), L"*.PNG");  // the filter used last
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    PumpUntil([&] { return !IsWindow(dialog); });

    // "&Save as" offers "noname"; "All Files" writes a BMP; JPEG is written at quality 100
    // and the program's own quality comes back.
    RunOnUserThread([] { jpegQuality = 30; });
    const struct {
        int filter;
        const wchar_t* typed;
        const wchar_t* written;
    } saves[] = {{0, L"plain", L"plain.bmp"}, {1, L"any", L"any.bmp"}, {3, L"photo", L"photo.jpg"},
                 {4, L"anim", L"anim.gif"},  {5, L"scan", L"scan.png"}, {6, L"page", L"page.tif"}};
    for (const auto& save : saves) {
        PostMessageW(window, WM_COMMAND, 1010, 0);
        dialog = WaitDialog(L"Save as");
        ASSERT_TRUE(dialog) << save.written;
        EXPECT_EQ(WindowText(FileNameField(dialog)), L"noname");
        Choose(dialog, folder / save.typed, save.filter);
        const DecodedFile file = DecodeFile(folder / save.written);
        EXPECT_TRUE(file.ok && file.width == 64 && file.height == 48) << save.written;
    }
    EXPECT_EQ(jpegQuality, 30);
    EXPECT_EQ(std::string(saveFolder), Narrow(folder.path() + L"\\"));
    PostMessageW(window, WM_COMMAND, 1010, 0);
    dialog = WaitDialog(L"Save as");
    ASSERT_TRUE(dialog);
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    PumpUntil([&] { return !IsWindow(dialog); });
    FlushUserThread();
    EXPECT_FALSE(FileExists(folder / L"noname.bmp"));
}

}  // namespace
