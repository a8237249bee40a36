// The window-information report and the source text that recreates the window layout, made
// from plain descriptions of the open windows.  Free of the window system: the Win32 side
// gathers the descriptions, prints the report pieces and puts the source on the clipboard.
#pragma once
#include <string>
#include <vector>

#include "core/narrow_text.h"

struct ImageWindowInfo {
    int slot;
    std::string name;   // system code page
    int left, top;      // outer rectangle
    int width, height;  // image size
    int zoom;
    int bitDepth;       // 32, else 8
    int sizeLimitMode;  // 0 FreeLimits, else ScreenFit
};

struct TextWindowInfo {
    int slot;
    int left, top;      // outer rectangle
    int width, height;  // client size
};

struct InputBoxInfo {
    int left, top;
    int labelWidth, editWidth;
    std::vector<std::string> labels;  // one per item
};

struct ButtonBoxInfo {
    int left, top;
    int columns, rows;
    int clientWidth, clientHeight;
    std::vector<std::string> labels;  // one per button
};

struct LayoutInfo {
    std::vector<ImageWindowInfo> images;  // ascending slots
    std::vector<TextWindowInfo> texts;    // ascending slots
    bool hasInputBox = false;
    InputBoxInfo inputBox{};
    bool hasButtonBox = false;
    ButtonBoxInfo buttonBox{};
};

// `text` as the inside of a C string literal: quotes, backslashes and control characters are
// escaped (line feed as \n), characters of several bytes in `codePage` are copied whole.
std::string CStringBody(const std::string& text, const NarrowCodePage& codePage);

// The source text: every line starts with a tab; grows with the layout, nothing is cut.
std::string LayoutSource(const LayoutInfo& layout, const NarrowCodePage& codePage);

// One print of the report.  A coloured piece is printed between a push of its colours and a
// pop; the others in the colours the report runs in (white on black).
struct ReportPiece {
    bool coloured;
    int background, text;  // 0xRRGGBB, when coloured
    std::string words;
};

// The report from its title line down to the closing line of asterisks.
std::vector<ReportPiece> LayoutReport(const LayoutInfo& layout);
