// The point-chain editor: a chain of control points with radii drawn over a copy of image 0,
// edited with the mouse and the button box, written out to the log and the clipboard.
#include <initializer_list>

#include "chain_model.h"
#include "chain_view.h"
#include "code_page_texts.h"
#include "krtlib.h"

namespace {

// Exit ends the run at once: left to run, the thread would be ended by force after 2 s, perhaps
// inside a heap or drawing lock.  (Stop does not end a run; only "break" and Exit do.)
bool Exiting() { return exitState != 0; }

// Kept from one run to the next: the selection and both modes.  Points are set afresh per run.
ChainState chain = {};

enum Button { ButtonEdit = 6, ButtonMove = 7, ButtonFewer = 8, ButtonMore = 9, ButtonWrite = 10, ButtonBreak = 11 };
constexpr int kButtons = 12;

struct Label {
    const wchar_t* text;
    const char* ascii;  // for a code page that lacks its characters
};
const Label kLabels[kButtons] = {
    {L"r-", "r-"}, {L"r+", "r+"}, {L"←", "<-"}, {L"→", "->"}, {L"↑", "^"}, {L"↓", "v"},
    {L"edit", "edit"}, {L"move", "move"}, {L"---", "---"}, {L"---", "---"}, {L"---", "---"}, {L"break", "break"},
};

// Please drag in the fly's-eye image.
const wchar_t kDragInMessage[] = L"tavimoraさんのフライアイ画像をドラッグして下さい";
const char kDragInMessageAscii[] = "Please drag in tavimora's fly's-eye image";

void LabelEditButtons(bool edit)
{
    KRT_SetButtonBoxTitle(ButtonFewer, edit ? "num -" : "---");
    KRT_SetButtonBoxTitle(ButtonMore, edit ? "num +" : "---");
    KRT_SetButtonBoxTitle(ButtonWrite, edit ? "write" : "---");
}

void ToggleMoveView()
{
    chain.moveMode = !chain.moveMode;
    KRT_SetButtonBoxTitle(ButtonEdit, chain.moveMode ? "---" : "edit");
}

// The chain as text, into the log of text window 0 and from there onto the clipboard.
void WriteChain()
{
    KRT_StartLog(0);
    for (int i = 0; i < chain.pointCount; ++i)
        KRT_Print("%d %d %d\n", chain.points[i].x, chain.points[i].y, chain.points[i].radius);
    KRT_Print("\n\n");
    for (int i = 0; i < chain.pointCount; ++i)
        KRT_Print("%d, %d,\n", chain.points[i].x, chain.points[i].y);
    KRT_CopyLog(0);
    KRT_CloseLog(0);
}

void EndRun()
{
    for (int slot : {0, 1})
        if (ImageTable[slot].inUse)
            KRT_DestroyImage(slot);
}

// Carries out button j in the point view; false for "break".
bool PointViewButton(int j)
{
    switch (j) {
    case ButtonEdit:
        ToggleEditView(chain);
        LabelEditButtons(chain.editMode != 0);
        break;
    case ButtonMove:
        ToggleMoveView();
        break;
    case ButtonFewer:
        RemoveChainPoint(chain);
        break;
    case ButtonMore:
        AddChainPoint(chain);
        break;
    case ButtonWrite:
        WriteChain();
        break;
    case ButtonBreak:
        return false;
    default:
        NudgeSelectedPoint(chain, j);
        break;
    }
    return true;
}

// A press near a point grabs it; the point follows the mouse until the button is released.
void DragGrabbedPoints()
{
    for (int i = 0; i < chain.pointCount; ++i) {
        ChainPoint& p = chain.points[i];
        if (!GrabsPoint(p, MouseState.x, MouseState.y) || !MouseState.left)
            continue;
        chain.selectedPoint = i;
        const int dx = p.x - MouseState.x, dy = p.y - MouseState.y;
        while (MouseState.left && !Exiting()) {
            p.x = MouseState.x + dx;
            p.y = MouseState.y + dy;
            DrawChain(chain);
            WaitNextFrame();
        }
    }
}

// In the move view a press anywhere drags the whole chain.
void DragWholeChain()
{
    if (!MouseState.left)
        return;
    ChainPoint copy[kMaxChainPoints];
    for (int i = 0; i < chain.pointCount; ++i)
        copy[i] = chain.points[i];
    const int mx = MouseState.x, my = MouseState.y;
    while (MouseState.left && !Exiting()) {
        for (int i = 0; i < chain.pointCount; ++i) {
            chain.points[i].x = copy[i].x + MouseState.x - mx;
            chain.points[i].y = copy[i].y + MouseState.y - my;
        }
        DrawChain(chain);
        WaitNextFrame();
    }
}

}  // namespace

void UserProgramInit(void)
{
    KRT_OpenTextWindow(0, 0, 218, 152, 469);
    KRT_SetForeground(KRTMAINWINDOW);
    KRT_OpenButtonBox(0, 0, 2, 6);
    for (int i = 0; i < kButtons; ++i)  // does nothing without a box or such a button
        KRT_SetButtonBoxTitle(i, InProgramCodePage(kLabels[i].text, kLabels[i].ascii).c_str());
    mouseTracking = 1;
}

void UserProgramMain(void)
{
    if (GetImageStretchMode(0) == 0) {  // no image 0
        KRT_Pause(InProgramCodePage(kDragInMessage, kDragInMessageAscii).c_str());
        return;
    }
    KRT_CreateImage(1, "tavimora", 216, 0, ImageTable[0].width, ImageTable[0].height, 100);
    StartChain(chain);
    DrawChain(chain);
    while (!Exiting()) {
        if (!chain.moveMode) {
            DragGrabbedPoints();
            for (int j = 0; j < kButtons; ++j) {
                KRT_Print("");  // keeps the console and the windows live
                if (!KRT_GetButton(j))
                    continue;
                if (!PointViewButton(j)) {
                    EndRun();
                    return;
                }
                DrawChain(chain);
            }
        } else {
            DragWholeChain();
            for (int j = 0; j < kButtons; ++j) {
                KRT_Print("");
                if (!KRT_GetButton(j))
                    continue;
                if (j == ButtonMove)
                    ToggleMoveView();
                if (j == ButtonBreak) {
                    EndRun();
                    return;
                }
            }
        }
        WaitNextFrame();  // Stop does not end the run
    }
}
