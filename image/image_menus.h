// The two popup menus of an image window, built afresh for its slot on every right click:
// the image menu (files, clipboard, zoom) and, with Ctrl or the middle button, the tools menu.
#pragma once
#include <windows.h>

HMENU BuildImageMenu(int slot);
HMENU BuildToolsMenu(int slot);

// Command identifiers of the two menus.
enum ImageCommand {
    CmdLoadImage = 1004, CmdDestroyImage = 1005, CmdZoom50 = 1007, CmdZoom100 = 1008,
    CmdZoom200 = 1009, CmdSaveAs = 1010, CmdCut = 1011, CmdCopy = 1012, CmdPasteAt = 1013,
    CmdPasteTopLeft = 1014, CmdPixel = 1015, CmdLineRgb = 1016, CmdLineHsv = 1017,
    CmdLineYCrCb = 1018, CmdClipping = 1019, CmdLineCrCb = 1021, CmdAreaCrCb = 1022,
    CmdColorChange = 1031, CmdDrawLine = 1032, CmdDrawRow = 1034, CmdDrawColumn = 1035,
    CmdDrawBox = 1036, CmdFillBox = 1037, CmdXorFillBox = 1038, CmdDrawCircle = 1039,
    CmdFillCircle = 1040, CmdXorFillCircle = 1041, CmdDrawText = 1042, CmdPaint = 1043,
    CmdZoomPrompt = 1046, CmdResize = 1047, CmdTrueTypeDraw = 1048, CmdFontChange = 1049,
    CmdColorPick = 1052, CmdPatternRgb = 1053, CmdPatternHsv = 1054, CmdPatternYCrCb = 1055,
    CmdInvert = 1058, CmdHorzFlip = 1059, CmdVertFlip = 1060, CmdRotateRight = 1061,
    CmdRotateLeft = 1062, CmdSize50 = 1063, CmdSize70 = 1064, CmdSize141 = 1065,
    CmdSize200 = 1066, CmdPatternYuv = 1067, CmdPatternYiq = 1068, CmdLineLumi = 1070,
    CmdPatternGrey = 1071,
};
