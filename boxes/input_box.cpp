// The input box: a column of labelled edit fields whose committed values the user program reads.
#include "boxes/input_box.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "boxes/box_shared.h"
#include "boxes/box_state.h"
#include "core/framework.h"
#include "core/mailbox.h"
#include "core/text_convert.h"
#include "krtlib.h"

namespace {

bool ItemExists(int item) { return InputBox.box && item >= 0 && item < InputBox.itemCount; }

// The committed value of an existing item, or nullptr.
const char* CommittedValue(int item) { return ItemExists(item) ? InputBox.itemValue[item] : nullptr; }

// What KRT_GetInputBoxText hands out: a copy per item that the library owns, so that a pointer
// a program keeps (across frames, or past the box's closing, which frees the values) stays
// readable until the next KRT_GetInputBoxText for the same item.
char handedOut[kInputBoxMaxItems][kInputValueSize];

// The library lets go of the box, whether or not its window is gone.  The handles are cleared
// too, so that a window left over after a failed destruction cannot commit into freed values.
void ForgetInputBox()
{
    for (char*& value : InputBox.itemValue) {
        delete[] value;
        value = nullptr;
    }
    for (int i = 0; i < kInputBoxMaxItems; ++i)
        InputBox.labels[i] = InputBox.edits[i] = nullptr;
    InputBox.lastFocusedEdit = nullptr;
    InputBox.box = nullptr;
}

void CreateItem(HWND box, int item)
{
    const InputColumns columns = CurrentInputColumns();
    wchar_t label[16];
    swprintf(label, 16, L"Item %d", item);
    InputBox.labels[item] = CreateBoxControl(L"STATIC", label, WS_CHILD | WS_VISIBLE | SS_SIMPLE, 0,
                                             InputLabelRect(columns, item), box, 0);
    InputBox.itemValue[item] = new char[kInputValueSize];
    std::memcpy(InputBox.itemValue[item], "0", 2);
    InputBox.edits[item] = CreateBoxControl(
        L"EDIT", L"0", WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | ES_AUTOHSCROLL,
        WS_EX_CLIENTEDGE, InputEditRect(columns, item), box, 0);
}

}  // namespace

InputColumns CurrentInputColumns() { return {InputBox.labelWidth, InputBox.editWidth}; }

void LayOutInputBox()
{
    const InputColumns columns = CurrentInputColumns();
    for (int i = 0; i < InputBox.itemCount; ++i) {
        if (InputBox.labels[i]) {
            const BoxRect r = InputLabelRect(columns, i);
            SetWindowPos(InputBox.labels[i], nullptr, 0, 0, r.width, r.height,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        if (InputBox.edits[i]) {
            const BoxRect r = InputEditRect(columns, i);
            SetWindowPos(InputBox.edits[i], nullptr, r.x, r.y, r.width, r.height,
                         SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
}

void FocusInputBox()
{
    HWND first = InputBox.edits[0];
    if (!InputBox.lastFocusedEdit)
        InputBox.lastFocusedEdit = first;
    if (InputBox.lastFocusedEdit)
        SetFocus(InputBox.lastFocusedEdit);
    if (first)
        PostMessageW(first, EM_SETSEL, 0, -1);
}

void CommitEdit(HWND edit)
{
    if (!edit)
        return;
    for (int i = 0; i < InputBox.itemCount; ++i) {
        if (InputBox.edits[i] != edit || !InputBox.itemValue[i])
            continue;
        wchar_t text[kInputValueSize];
        GetWindowTextW(edit, text, kInputValueSize);
        NarrowText(text, -1, InputBox.itemValue[i], kInputValueSize);  // cut at a whole character
        return;
    }
}

void SetInputLabel(int item, const char* text)
{
    SetWindowTextW(InputBox.labels[item], L"                    ");
    SetControlText(InputBox.labels[item], text);
}

void KRT_OpenInputBox(int x, int y, int items)
{
    if (InputBox.box)
        return;
    InputBox.itemCount = ClampItemCount(items);
    InputBox.lastFocusedEdit = nullptr;
    HWND box = CreateBoxWindow(kInputBoxClass, L"InputBox", x, y,
                               InputBoxClientSize(CurrentInputColumns(), InputBox.itemCount));
    InputBox.box = box;
    if (!box)
        return;
    for (int i = 0; i < InputBox.itemCount; ++i)
        CreateItem(box, i);
    UpdateWindow(box);
    SetForegroundWindow(box);
    // The window was activated while it was created, before it had fields: what activation
    // does is done now that they exist.
    FocusInputBox();
}

void KRT_ResizeInputBox(int isize, int esize)
{
    // Kept while no box is open, for the next one.  A column is never narrower than 1, as when
    // the frame is dragged.
    InputBox.labelWidth = std::max(1, isize);
    InputBox.editWidth = std::max(1, esize);
    if (!InputBox.box)
        return;
    const InputColumns columns = CurrentInputColumns();
    RECT client;
    GetClientRect(InputBox.box, &client);
    ResizeClientArea(InputBox.box, InputBoxClientSize(columns, InputBox.itemCount).width, client.bottom);
    LayOutInputBox();  // also when the size did not change and no WM_SIZE came
}

void KRT_SetInputBoxTitle(int item, const char* text)
{
    if (ItemExists(item))
        SetInputLabel(item, text);
}

void KRT_SetInputBoxText(int item, const char* text)
{
    if (!ItemExists(item))
        return;
    SetControlText(InputBox.edits[item], text ? text : "");
    CommitEdit(InputBox.edits[item]);  // the value is the field's text, cut as a typed one is
}

void KRT_CloseInputBox(void)
{
    HWND box = InputBox.box;
    if (!box)
        return;
    // The values are freed only after the window is gone: its focused edit commits on the way.
    const bool destroyed = DestroyWindow(box) != FALSE;
    ForgetInputBox();
    if (!destroyed)
        MessageBoxW(MainWindow, L"DestroyWindow[IB] Error", L"KRTLIB Error!", MB_OK | MB_ICONERROR);
}

const char* KRT_GetInputBoxText(int item)
{
    const char* value = CommittedValue(item);
    if (!value)
        return nullptr;
    std::snprintf(handedOut[item], kInputValueSize, "%s", value);  // a value is at most 255 bytes
    return handedOut[item];
}

int KRT_GetInputBoxInt(int item)
{
    const char* text = CommittedValue(item);
    if (!text)
        return 0;
    // strtol, unlike atoi, has a defined result for numbers out of range: they saturate.
    const long value = std::strtol(text, nullptr, 10);
    return static_cast<int>(std::clamp<long>(value, INT_MIN, INT_MAX));
}

double KRT_GetInputBoxDouble(int item)
{
    const char* text = CommittedValue(item);
    return text ? std::strtod(text, nullptr) : 0.0;
}

void OpenInputBoxRequest(MailboxFields& request)
{
    KRT_CloseInputBox();
    KRT_OpenInputBox(request.x, request.y, request.slot);
}
