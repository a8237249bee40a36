#include "core/clipboard_text.h"

HGLOBAL WidenedTextBlock(HGLOBAL narrowBlock)
{
    const char* narrow = narrowBlock ? static_cast<const char*>(GlobalLock(narrowBlock)) : nullptr;
    if (!narrow)
        return nullptr;
    HGLOBAL wide = nullptr;
    const int units = MultiByteToWideChar(CP_ACP, 0, narrow, -1, nullptr, 0);  // with the terminator
    if (units > 0)
        wide = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, static_cast<SIZE_T>(units) * sizeof(wchar_t));
    if (wchar_t* out = wide ? static_cast<wchar_t*>(GlobalLock(wide)) : nullptr) {
        MultiByteToWideChar(CP_ACP, 0, narrow, -1, out, units);
        GlobalUnlock(wide);
    } else if (wide) {
        GlobalFree(wide);
        wide = nullptr;
    }
    GlobalUnlock(narrowBlock);
    return wide;
}

bool GiveToClipboard(UINT format, HGLOBAL block)
{
    if (!block)
        return false;
    if (SetClipboardData(format, block))
        return true;
    GlobalFree(block);  // the clipboard did not take it, so it is still ours
    return false;
}
