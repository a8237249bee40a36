#include "imaging/tool_feed.h"

int ToolInProgress = 0;
int ToolSlot = -1;
ToolEvent ToolClick = {};
ToolEvent ToolMove = {};
int ToolCancel = 0;
