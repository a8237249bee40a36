// The status line setter, the pause box and bringing the main window forward.
#include <cstdio>

#include "core/framework.h"
#include "core/process_state.h"
#include "core/status_text.h"
#include "core/text_convert.h"
#include "krtlib.h"

void SetStatusText(const char* text)
{
    char line[kStatusLineSize];
    FormatStatusLine(text, line);
    wchar_t wide[kStatusLineSize];
    WidenText(line, wide, kStatusLineSize);
    if (statusLine)
        SetWindowTextW(statusLine, wide);
}

void ShowIdleStatus()
{
    char text[16];
    std::snprintf(text, sizeof text, "%d-bit color", displayColourDepth);
    SetStatusText(text);
}

void KRT_Pause(const char* text)
{
    wchar_t wide[256];
    WidenText(text, wide, 256);
    MessageBoxW(nullptr, wide, L"Pause", MB_OK);
}

void KRT_SetForeground(int window)
{
    if (window == KRTMAINWINDOW && MainWindow)
        SetForegroundWindow(MainWindow);
}
