// The feed between image windows and an interactive tool waiting for the mouse.
#pragma once

struct ToolEvent {
    int set;
    int x, y;
};

extern int ToolInProgress;
extern int ToolSlot;  // -1 when idle
extern ToolEvent ToolClick;
extern ToolEvent ToolMove;
extern int ToolCancel;
