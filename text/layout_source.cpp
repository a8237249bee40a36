#include "text/layout_source.h"

#include <cstdarg>
#include <cstdio>

namespace {

// printf into a string of whatever length the text needs.
std::string Format(const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    va_list again;
    va_copy(again, arguments);
    const int length = std::vsnprintf(nullptr, 0, format, arguments);
    va_end(arguments);
    std::string text;
    if (length > 0) {
        text.resize(static_cast<size_t>(length) + 1);
        std::vsnprintf(&text[0], text.size(), format, again);
        text.resize(static_cast<size_t>(length));
    }
    va_end(again);
    return text;
}

constexpr int kWhite = 0xFFFFFF;
constexpr int kBlack = 0x000000;
constexpr int kYellow = 0xFFFF00;
constexpr int kGreen = 0x00FF00;
constexpr int kAzure = 0x0080FF;    // the bit depth
constexpr int kMagenta = 0xFF00FF;  // the size-limit mode

// Each create call, by bit depth and size-limit mode.
const char* CreateCall(int bitDepth, int sizeLimitMode)
{
    if (bitDepth == 32)
        return sizeLimitMode != 0 ? "KRT_CreateImage" : "KRT_CreateImageFL";
    return sizeLimitMode != 0 ? "KRT_CreateImage8" : "KRT_CreateImage8FL";
}

void AppendCall(std::string& source, const char* call, const std::string& quoted, const std::string& rest)
{
    source += '\t';
    source += call;
    source += quoted;
    source += rest;
}

struct Report {
    std::vector<ReportPiece> pieces;
    void plain(std::string words) { pieces.push_back({false, 0, 0, std::move(words)}); }
    void coloured(int background, int text, std::string words)
    {
        pieces.push_back({true, background, text, std::move(words)});
    }
    void heading(const char* words) { coloured(kBlack, kGreen, words); }
};

// The bytes of the character at text[i] when it takes several: they are copied whole, since in
// a double-byte code page its second byte may be a quote or a backslash and is still part of
// it.  No double-byte code page has a trail byte below 0x40 or at DEL: a lead byte before a
// control character, a digit or a quote stands alone, and the quote is escaped.
int WholeCharacterAt(const NarrowCodePage& codePage, const std::string& text, size_t i)
{
    const int count = CharacterBytes(codePage, text.c_str() + i, static_cast<int>(text.size() - i));
    if (count < 2)
        return 0;
    const unsigned char trail = static_cast<unsigned char>(text[i + 1]);
    if (codePage.kind == NarrowCodePage::DoubleByte && (trail < 0x40 || trail == 0x7F))
        return 0;
    return count;
}

}  // namespace

// Every name and label goes through here, image names and input-box labels as well as button
// labels: a quote, a backslash or a line feed copied as it is would leave the pasted program
// unable to compile, and the source exists to be compiled.
std::string CStringBody(const std::string& text, const NarrowCodePage& codePage)
{
    std::string body;
    body.reserve(text.size() + 8);
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char byte = static_cast<unsigned char>(text[i]);
        if (const int count = WholeCharacterAt(codePage, text, i)) {
            body.append(text, i, static_cast<size_t>(count));
            i += static_cast<size_t>(count) - 1;
        } else if (byte == '"' || byte == '\\') {
            body += '\\';
            body += text[i];
        } else if (byte == '\n') {
            body += "\\n";
        } else if (byte < 0x20 || byte == 0x7F) {
            body += Format("\\%03o", byte);  // three digits: a digit after it stays a digit
        } else {
            body += text[i];
        }
    }
    return body;
}

std::string LayoutSource(const LayoutInfo& layout, const NarrowCodePage& codePage)
{
    std::string source = "\t// KRTLIB --- Automatic Source Generator\n";
    if (!layout.images.empty()) {
        source += "\t// [Image Window]\n";
        for (const ImageWindowInfo& image : layout.images)
            AppendCall(source, CreateCall(image.bitDepth, image.sizeLimitMode),
                       Format("(%d,\"", image.slot) + CStringBody(image.name, codePage),
                       Format("\",%d,%d,%d,%d,%d);\n", image.left, image.top, image.width, image.height,
                              image.zoom));
    }
    source += "\t// [Text Window]\n";
    for (const TextWindowInfo& text : layout.texts)
        source += Format("\tKRT_OpenTextWindow(%d,%d,%d,%d,%d);\n", text.slot, text.left, text.top, text.width,
                         text.height);
    if (layout.hasInputBox) {
        const InputBoxInfo& box = layout.inputBox;
        source += "\t// [Input Box]\n";
        source += Format("\tKRT_OpenInputBox(%d,%d,%d);\n", box.left, box.top, static_cast<int>(box.labels.size()));
        source += Format("\tKRT_ResizeInputBox(%d,%d);\n", box.labelWidth, box.editWidth);
        for (size_t i = 0; i < box.labels.size(); ++i)
            AppendCall(source, "KRT_SetInputBoxTitle",
                       Format("(%d,\"", static_cast<int>(i)) + CStringBody(box.labels[i], codePage), "\");\n");
    }
    if (layout.hasButtonBox) {
        const ButtonBoxInfo& box = layout.buttonBox;
        source += "\t// [Button Box]\n";
        source += Format("\tKRT_OpenButtonBox(%d,%d,%d,%d);\n", box.left, box.top, box.columns, box.rows);
        source += Format("\tKRT_ResizeButtonBox(%d,%d);\n", box.clientWidth, box.clientHeight);
        for (size_t i = 0; i < box.labels.size(); ++i)
            AppendCall(source, "KRT_SetButtonBoxTitle",
                       Format("(%d,\"", static_cast<int>(i)) + CStringBody(box.labels[i], codePage), "\");\n");
    }
    source += "\tKRT_SetForeground(KRTMAINWINDOW);\n";
    return source;
}

std::vector<ReportPiece> LayoutReport(const LayoutInfo& layout)
{
    Report report;
    report.coloured(kBlack, kYellow, "******* Window information *******\n");
    if (!layout.images.empty()) {
        report.heading("[Image Window]\n");
        for (const ImageWindowInfo& image : layout.images) {
            report.plain(Format(" %d ", image.slot));
            report.coloured(kBlack, kAzure, Format("%d ", image.bitDepth));
            report.coloured(kBlack, kMagenta, Format("%d ", image.sizeLimitMode));
            report.plain(Format(" '%s' X:%d Y:%d W:%d H:%d ZM:%d%%\n", image.name.c_str(), image.left, image.top,
                                image.width, image.height, image.zoom));
        }
    }
    report.heading("[Text Window]\n");
    for (const TextWindowInfo& text : layout.texts)
        report.plain(Format(" %d X:%d Y:%d W:%d H:%d\n", text.slot, text.left, text.top, text.width, text.height));
    if (layout.hasInputBox) {
        const InputBoxInfo& box = layout.inputBox;
        report.heading("[Input Box]\n");
        report.plain(Format(" X:%d Y:%d ITEM:%d ", box.left, box.top, static_cast<int>(box.labels.size())));
        report.plain(Format("ISIZE:%d ESIZE:%d\n", box.labelWidth, box.editWidth));
    }
    if (layout.hasButtonBox) {
        const ButtonBoxInfo& box = layout.buttonBox;
        report.heading("[Button Box]\n");
        report.plain(Format(" X:%d Y:%d NX:%d NY:%d ", box.left, box.top, box.columns, box.rows));
        report.plain(Format("SIZE:%dx%d\n", box.clientWidth, box.clientHeight));
    }
    report.coloured(kBlack, kYellow, "**********************************\n");
    return report.pieces;
}
