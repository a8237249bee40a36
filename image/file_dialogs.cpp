// The open and save dialogs of image windows.  Each remembers the folder of its last file and
// the filter used last.
#include <windows.h>
#include <commdlg.h>

#include <cstring>
#include <string>

#include "core/framework.h"
#include "core/process_state.h"
#include "core/text_convert.h"
#include "image/file_formats.h"
#include "image/image_file.h"
#include "image/image_selection.h"
#include "image/image_table.h"
#include "krtlib.h"

namespace {

constexpr int kNameChars = 260;

// "text\0pattern\0...\0\0" for the first `count` filters.
std::wstring FilterList(int count)
{
    std::wstring list;
    for (int i = 0; i < count; ++i) {
        wchar_t text[128], pattern[64];
        WidenText(kOpenFilters[i].text, text, 128);
        WidenText(kOpenFilters[i].pattern, pattern, 64);
        list += text;
        list.push_back(L'\0');
        list += pattern;
        list.push_back(L'\0');
    }
    list.push_back(L'\0');
    return list;
}

// The chosen file's folder, as the next dialog's first folder.
void RememberFolder(const wchar_t* chosen, wchar_t* folderW, char* folder)
{
    wchar_t full[kNameChars];
    wchar_t* filePart = nullptr;
    const DWORD length = GetFullPathNameW(chosen, kNameChars, full, &filePart);
    if (length == 0 || length >= kNameChars || !filePart)
        return;
    *filePart = L'\0';
    wcscpy(folderW, full);
    NarrowText(folderW, -1, folder, kFolderBytes);  // room for every unit in any code page
}

int Ask(bool save, char* buffer)
{
    const std::wstring filters = FilterList(save ? kSaveFilterCount : kOpenFilterCount);
    int& filterIndex = save ? saveFilterIndex : openFilterIndex;
    wchar_t* folderW = save ? saveFolderW : openFolderW;
    char* folder = save ? saveFolder : openFolder;
    wchar_t file[kNameChars] = L"";
    if (save)
        wcscpy(file, L"noname");
    else if (filterIndex >= 1 && filterIndex <= kOpenFilterCount)
        WidenText(kOpenFilters[filterIndex - 1].pattern, file, kNameChars);

    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;  // the full structure of this platform
    dialog.lpstrFilter = filters.c_str();
    dialog.nFilterIndex = filterIndex;
    dialog.lpstrFile = file;
    dialog.nMaxFile = kNameChars;
    dialog.lpstrInitialDir = folderW;
    dialog.lpstrTitle = save ? L"Save as" : L"Load image file";
    dialog.Flags = save ? (OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT)
                        : (OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST);
    const BOOL chosen = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    // A name the caller's buffer cannot hold whole counts as none.
    if (!chosen || !NarrowWhole(file, buffer, kImageNameBytes))
        return 1;
    filterIndex = static_cast<int>(dialog.nFilterIndex);
    RememberFolder(file, folderW, folder);
    return 0;
}

}  // namespace

int AskOpenImageFile(char* buffer) { return Ask(false, buffer); }
int AskSaveImageFile(char* buffer) { return Ask(true, buffer); }

void SaveCurrentImageAs(const char* name, int filterIndex)
{
    const int format = FormatOfSaveFilter(filterIndex);
    if (format < 0 || !IsLiveImage(CurrentImage))
        return;
    const ImageRecord& record = ImageTable[CurrentImage];
    if (format == FormatJpeg) {
        const int kept = jpegQuality;
        jpegQuality = 100;
        KRT_SaveImageFile(record.height, record.width, format, name);
        jpegQuality = kept;
        return;
    }
    KRT_SaveImageFile(record.height, record.width, format, name);
}
