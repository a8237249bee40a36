#include "core/dropped_files.h"

std::wstring DroppedFileName(HDROP drop, UINT index)
{
    const UINT length = DragQueryFileW(drop, index, nullptr, 0);
    if (length == 0)
        return {};
    std::wstring name(length + 1, L'\0');
    const UINT copied = DragQueryFileW(drop, index, &name[0], length + 1);
    name.resize(copied == length ? length : 0);
    return name;
}
