// Window information: the coloured report of every open library window, printed into the text
// window whose command ran, and the source text that recreates the layout, put on the
// clipboard as CF_TEXT.
#include "text/window_information.h"

#include <cstring>
#include <string>
#include <vector>

#include "boxes/box_state.h"
#include "core/text_convert.h"
#include "krtlib.h"
#include "text/layout_source.h"
#include "text/text_window.h"

namespace {

// "クリップボードにレイアウト作成ソースリストを保存しました．" in code page 932.
constexpr const char kSavedToClipboard[] =
    "\x83\x4e\x83\x8a\x83\x62\x83\x76\x83\x7b\x81\x5b\x83\x68\x82\xc9\x83\x8c\x83\x43\x83\x41"
    "\x83\x45\x83\x67\x8d\xec\x90\xac\x83\x5c\x81\x5b\x83\x58\x83\x8a\x83\x58\x83\x67\x82\xf0"
    "\x95\xdb\x91\xb6\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x81\x44\n";

bool IsSystemLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

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
    std::vector<char> narrow(static_cast<size_t>(read) * 2 + 1);
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

void PrintPiece(const ReportPiece& piece)
{
    if (piece.coloured)
        KRT_PushTextColor(piece.background, piece.text);
    KRT_Print("%s", piece.words.c_str());
    if (piece.coloured)
        KRT_PopTextColor();
}

// The source as CF_TEXT.  Returns true only when the clipboard took it; without a clipboard
// nothing is reported, and a failed allocation shows its box.
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
        placed = SetClipboardData(CF_TEXT, block) != nullptr;
    }
    if (!placed)
        GlobalFree(block);  // the clipboard did not take it, so it is still ours
    CloseClipboard();
    return placed;
}

}  // namespace

void WindowInformation(HWND window)
{
    KRT_SelectTextWindow(FindTextWindowSlot(window));
    // The layout is read once, before anything is printed: every print dispatches messages.
    const LayoutInfo layout = DescribeLayout();
    const std::string source = LayoutSource(layout, IsSystemLeadByte);

    KRT_PushTextColor(0x000000, 0xFFFFFF);
    for (const ReportPiece& piece : LayoutReport(layout))
        PrintPiece(piece);
    if (PutSourceOnClipboard(source))
        PrintPiece({true, 0x000080, 0xFFFF00, kSavedToClipboard});  // yellow on navy
    KRT_PopTextColor();
}
