#include "core/popup_menu.h"
#include "core/text_convert.h"

void InsertTextItem(HMENU menu, UINT position, UINT id, const char* text, UINT state)
{
    wchar_t wide[kMenuTextChars];
    WidenText(text, wide, kMenuTextChars);
    MENUITEMINFOW item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_STATE | MIIM_ID | MIIM_STRING | MIIM_FTYPE;
    item.fType = MFT_STRING;
    item.fState = state;
    item.wID = id;
    item.dwTypeData = wide;
    InsertMenuItemW(menu, position, TRUE, &item);
}

void InsertSeparator(HMENU menu, UINT position)
{
    MENUITEMINFOW item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_FTYPE;
    item.fType = MFT_SEPARATOR;
    InsertMenuItemW(menu, position, TRUE, &item);
}

void InsertSubmenu(HMENU menu, UINT position, HMENU submenu, const char* text)
{
    wchar_t wide[kMenuTextChars];
    WidenText(text, wide, kMenuTextChars);
    MENUITEMINFOW item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_SUBMENU | MIIM_STRING | MIIM_FTYPE;
    item.fType = MFT_STRING;
    item.hSubMenu = submenu;
    item.dwTypeData = wide;
    InsertMenuItemW(menu, position, TRUE, &item);
}

void TrackAndDestroyPopup(HMENU menu, HWND owner)
{
    POINT cursor;
    GetCursorPos(&cursor);
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, owner, nullptr);
    DestroyMenu(menu);
}
