// The main window's commands that get work done on the user-program thread: paste, the
// interactive creation dialogues, window information, and dropped files.
#pragma once
#include <windows.h>

// Commands 1026 (Paste), 1027 (Image Window), 1028 (Text Window), 1044 (Input Box),
// 1045 (Window Info) and 1051 (Button Box); other ids do nothing.
void RunMainWindowCommand(int id);

// WM_DROPFILES on the main window.
void OnMainWindowDrop(HDROP drop);
