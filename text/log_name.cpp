#include "text/log_name.h"

#include <cstdio>
#include <cwchar>

bool FormatLogName(wchar_t* out, std::size_t units, const wchar_t* folder, int instance, int slot)
{
    char file[32];  // "KRTLIB%d%d.LOG": digits and ASCII letters only
    const int fileLength = std::snprintf(file, sizeof file, "KRTLIB%d%d.LOG", instance, slot);
    const std::size_t folderLength = folder ? std::wcslen(folder) : 0;
    if (!out || fileLength < 0 || static_cast<std::size_t>(fileLength) >= sizeof file ||
        folderLength + fileLength >= units)
        return false;
    if (folderLength > 0)
        std::wmemcpy(out, folder, folderLength);
    for (int i = 0; i < fileLength; ++i)
        out[folderLength + i] = static_cast<wchar_t>(file[i]);
    out[folderLength + fileLength] = L'\0';
    return true;
}
