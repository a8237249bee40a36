// Window information: the coloured report of every open library window, printed into the text
// window whose command ran, and the source text that recreates the layout, put on the
// clipboard as CF_TEXT and CF_UNICODETEXT.
#include "text/window_information.h"

#include <cstring>
#include <string>
#include <vector>

#include "boxes/box_state.h"
#include "core/clipboard_text.h"
#include "core/narrow_text.h"
#include "core/text_convert.h"
#include "krtlib.h"
#include "text/layout_source.h"
#include "text/text_window.h"

namespace {

// The layout-creation source list was saved to the clipboard.  Kept in UTF-16 and printed as
// such, so that it reads right whatever the code page.
constexpr const wchar_t kSavedToClipboard[] = L"クリップボードにレイアウト作成ソースリストを保存しました．\n";

POINT TopLeft(HWND window)
{
    RECT r = {};
    GetWindowRect(window, &r);
    return {r.left, r.top};
}

// A control's whole text in the system code page.  Read whole rather than cut at 255 bytes: a
// label of 255 two-byte characters would otherwise come back as another label.
std::string ControlText(HWND control)
{
    const int units = GetWindowTextLengthW(control);
    if (units <= 0)
        return std::string();
    std::vector<wchar_t> wide(static_cast<size_t>(units) + 1);
    const int read = GetWindowTextW(control, wide.data(), units + 1);
    std::vector<char> narrow(static_cast<size_t>(read) * kMaxNarrowBytesPerUnit + 1);
    NarrowText(wide.data(), read, narrow.data(), static_cast<int>(narrow.size()));
    return narrow.data();
}

LayoutInfo DescribeLayout()
{
    LayoutInfo layout;
    for (int slot = 0; slot < kImageSlots; ++slot) {
        const ImageRecord& r = ImageTable[slot];
        if (r.inUse != 1)
            continue;
        const POINT at = TopLeft(r.window);
        layout.images.push_back({slot, r.name ? r.name : "", at.x, at.y, r.width, r.height, r.zoom, r.bitDepth,
                                 r.sizeLimitMode});
    }
    for (int slot = 0; slot < kTextWindowSlots; ++slot) {
        const TextWindowRecord& r = TextWindowTable[slot];
        if (!r.inUse)
            continue;
        const POINT at = TopLeft(r.window);
        layout.texts.push_back({slot, at.x, at.y, r.width, r.height});
    }
    if (InputBox.box) {
        layout.hasInputBox = true;
        const POINT at = TopLeft(InputBox.box);
        layout.inputBox = {at.x, at.y, InputBox.labelWidth, InputBox.editWidth, {}};
        for (int i = 0; i < InputBox.itemCount; ++i)
            layout.inputBox.labels.push_back(ControlText(InputBox.labels[i]));
    }
    if (ButtonBox.box) {
        layout.hasButtonBox = true;
        const POINT at = TopLeft(ButtonBox.box);
        RECT client = {};
        GetClientRect(ButtonBox.box, &client);
        layout.buttonBox = {at.x, at.y, ButtonBox.columns, ButtonBox.rows, client.right, client.bottom, {}};
        for (int i = 0; i < ButtonBox.count; ++i)
            layout.buttonBox.labels.push_back(ControlText(ButtonBox.buttons[i]));
    }
    return layout;
}

// Yellow on navy, after the source is on the clipboard.
void PrintConfirmation()
{
    KRT_PushTextColor(0x000080, 0xFFFF00);
    PrintWideText(kSavedToClipboard);
    KRT_PopTextColor();
}

void PrintPiece(const ReportPiece& piece)
{
    if (piece.coloured)
        KRT_PushTextColor(piece.background, piece.text);
    KRT_Print("%s", piece.words.c_str());
    if (piece.coloured)
        KRT_PopTextColor();
}

// The source as CF_TEXT and CF_UNICODETEXT.  Returns true only when the clipboard took it;
// without a clipboard nothing is reported, and a failed allocation shows its box.
bool PutSourceOnClipboard(const std::string& source)
{
    if (!OpenClipboard(nullptr))
        return false;
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, source.size() + 1);
    if (!block) {
        CloseClipboard();
        MessageBoxW(nullptr, L"GlobalAlloc() failed. (ID_INFO)", L"Pause", MB_OK);
        return false;
    }
    bool placed = false;
    if (void* bytes = GlobalLock(block)) {
        std::memcpy(bytes, source.c_str(), source.size() + 1);
        GlobalUnlock(block);
        HGLOBAL wide = WidenedTextBlock(block);
        placed = GiveToClipboard(CF_TEXT, block);
        if (placed)
            GiveToClipboard(CF_UNICODETEXT, wide);
        else if (wide)
            GlobalFree(wide);
    } else {
        GlobalFree(block);
    }
    CloseClipboard();
    return placed;
}

}  // namespace

void WindowInformation(HWND window)
{
    KRT_SelectTextWindow(FindTextWindowSlot(window));
    // The layout is read once, before anything is printed: every print dispatches messages.
    const LayoutInfo layout = DescribeLayout();
    const std::string source = LayoutSource(layout, ProcessCodePage());

    KRT_PushTextColor(0x000000, 0xFFFFFF);
    for (const ReportPiece& piece : LayoutReport(layout))
        PrintPiece(piece);
    if (PutSourceOnClipboard(source))
        PrintConfirmation();
    KRT_PopTextColor();
}
