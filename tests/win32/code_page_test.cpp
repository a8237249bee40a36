// What a user sees of narrow text in the process's code page: 932 here, 1252 in the Western
// prefix, UTF-8 in the build of these tests with the UTF-8 manifest.  Prints and their log, line
// input, titles, labels, the window information and file names keep exactly the characters
// given.  Texts are chosen by what the code page holds (code_page_support.h); every expectation
// comes from the characters in UTF-16, drawn by the test's own TextOutW or converted whole by
// the system.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "boxes/box_state.h"
#include "box_test_support.h"
#include "code_page_support.h"
#include "image_test_support.h"

namespace {

// The characters of `text` that fit `limit` bytes of the code page, each whole.
std::wstring WholeCharactersWithin(const std::wstring& text, size_t limit)
{
    std::wstring kept;
    size_t bytes = 0;
    for (wchar_t character : text) {
        bytes += InCodePage(std::wstring(1, character)).size();
        if (bytes > limit)
            break;
        kept += character;
    }
    return kept;
}

// The character of `text` that takes the most bytes.
wchar_t WidestCharacter(const std::wstring& text)
{
    wchar_t widest = text[0];
    for (wchar_t character : text)
        if (InCodePage(std::wstring(1, character)).size() > InCodePage(std::wstring(1, widest)).size())
            widest = character;
    return widest;
}

// Image `slot`'s title for `name`: the name cut at a whole character within the 255 bytes a
// title holds, and the zoom.
std::wstring TitleOf(const std::wstring& name, int slot)
{
    const std::wstring zoom = L"(" + std::to_wstring(ImageTable[slot].zoom) + L"%)";
    return WholeCharactersWithin(name, 255 - zoom.size()) + zoom;
}

// A line of pieces (cell, text) drawn by the test into text window `slot`'s back buffer with
// the window's font and colours (white on black unless given), from the top left.
Snapshot ReferenceLine(int slot, const std::vector<std::pair<int, std::wstring>>& pieces, unsigned text = 0xFFFFFF,
                       unsigned back = 0)
{
    const TextWindowRecord& r = TextRecord(slot);
    RunOnUserThread([&] {
        PatBlt(r.memoryDC, 0, 0, r.width, r.height, BLACKNESS);
        SetTextColor(r.memoryDC, RGB(text >> 16, text >> 8 & 0xFF, text & 0xFF));
        SetBkColor(r.memoryDC, RGB(back >> 16, back >> 8 & 0xFF, back & 0xFF));
        for (const auto& piece : pieces)
            TextOutW(r.memoryDC, piece.first * r.cellWidth, 0, piece.second.c_str(), static_cast<int>(piece.second.size()));
    });
    return BackBuffer(slot);
}

// Rows [top, top + cell height) of `shot`, the first `width` pixels, against the top of `reference`.
::testing::AssertionResult SameLine(const Snapshot& shot, int top, const Snapshot& reference, int width)
{
    for (int y = 0; y < TextRecord(0).cellHeight; ++y)
        for (int x = 0; x < width; ++x)
            if (shot.at(x, top + y) != reference.at(x, y))
                return ::testing::AssertionFailure() << "first difference at (" << x << ", " << top + y << ")";
    return ::testing::AssertionSuccess();
}

class CodePageText : public FrameworkTest {
protected:
    void SetUp() override
    {
        FrameworkTest::SetUp();
        ASSERT_EQ(OpenTextWindowOnUserThread(0, 0, 0, 640, 400), 0);
        ASSERT_EQ(OpenTextWindowOnUserThread(1, 0, 450, 640, 40), 0);  // the references
        RunOnUserThread([] { KRT_SelectTextWindow(0); });
    }
};

// A print shows and logs the characters given; a text longer than the 4095 bytes a print takes
// is cut after its last whole character, here one that the cut would have split.
TEST_F(CodePageText, PrintsShowAndLogEveryCharacterAndCutAtAWholeOne)
{
    const std::wstring text = SampleText();
    std::remove(LogPath(0).c_str());
    RunOnUserThread([&] {
        KRT_StartLog(0);
        KRT_Print("%s\n", InCodePage(text).c_str());
    });
    EXPECT_TRUE(SameLine(BackBuffer(0), 0, ReferenceLine(1, {{0, text}}), 640));

    size_t before = 0;  // bytes before the first character of several
    while (before < text.size() && InCodePage(text.substr(before, 1)).size() == 1)
        ++before;
    const std::string padding(4094 - before, 'a');
    RunOnUserThread([&] { KRT_Print("%s%s", padding.c_str(), InCodePage(text).c_str()); });
    EXPECT_EQ(TakePromptLog(), InCodePage(text) + "\r\n" + padding +
                                   InCodePage(WholeCharactersWithin(text, 4095 - padding.size())));
}

// Typed characters are echoed each in its cells; Backspace takes a character beyond the basic
// plane whole (two units) and then the text's last character; the line comes back in the code
// page, and Up and Ctrl+V bring the same characters back.
TEST_F(CodePageText, LineInputEchoesErasesRecallsAndPastesWholeCharacters)
{
    const std::wstring text = SampleText(), kept = text.substr(0, text.size() - 1);
    HWND window = TextRecord(0).window;
    PendingLine line;
    StartLineInput(line);
    TypeUnits(window, text + L"\U0001F600\b\b");
    std::vector<std::pair<int, std::wstring>> cells;
    int cell = 0;
    for (wchar_t character : kept) {
        cells.push_back({cell, std::wstring(1, character)});
        cell += character < 0x80 ? 1 : 2;
    }
    // Each wait ends when the cursor stands after the line's last character.
    const TextWindowRecord& r = TextRecord(0);
    auto echoedUpTo = [&](int cells) {
        return PumpUntil([&] { return RingReadIndex(InputRing) == -1 && r.cursorX == cells * r.cellWidth; });
    };
    ASSERT_TRUE(echoedUpTo(cell));
    EXPECT_TRUE(SameLine(BackBuffer(0), 0, ReferenceLine(1, cells), cell * r.cellWidth));
    TypeUnits(window, L"\r");
    EXPECT_TRUE(FinishedWith(line, InCodePage(kept))) << line.text;

    StartLineInput(line);
    PostMessageW(window, WM_KEYDOWN, VK_UP, 0);
    ASSERT_TRUE(echoedUpTo(cell));
    TypeUnits(window, L"\r");
    EXPECT_TRUE(FinishedWith(line, InCodePage(kept))) << line.text;

    PutClipboardText(kept + L"\nthe next line");
    StartLineInput(line);
    RunOnUserThread([] { SetCtrlDown(true); });
    PostMessageW(window, WM_KEYDOWN, 'V', 0);
    ASSERT_TRUE(echoedUpTo(cell));
    RunOnUserThread([] { SetCtrlDown(false); });
    TypeUnits(window, L"\r");
    EXPECT_TRUE(FinishedWith(line, InCodePage(kept))) << line.text;
}

class CodePageNames : public CodePageText {
protected:
    void TearDown() override
    {
        RunOnUserThread([] {
            KRT_CloseButtonBox();
            KRT_CloseInputBox();
        });
        DestroyAllImages();
        CodePageText::TearDown();
    }
};

std::wstring ClipboardUnicode()
{
    std::wstring text;
    if (!OpenClipboard(nullptr))
        return L"<no clipboard>";
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        text = static_cast<const wchar_t*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

// Titles and labels show the characters given, a title too long for its 255 bytes is cut at a
// whole character, and the window information's source holds every name and label as a C
// string that reads back as given (for other programs in UTF-16 as well), and its
// confirmation line reads right in yellow on navy.
TEST_F(CodePageNames, TitlesLabelsAndTheWindowInformationReadRight)
{
    const std::wstring text = SampleText();
    const std::wstring longName = L"a" + std::wstring(300, WidestCharacter(text));
    RunOnUserThread([&] {
        KRT_CreateImage(0, InCodePage(text).c_str(), 660, 0, 40, 30, 100);
        KRT_CreateImage(1, InCodePage(longName).c_str(), 660, 100, 40, 30, 100);
        KRT_OpenButtonBox(700, 400, 2, 1);
        KRT_SetButtonBoxTitle(0, InCodePage(text).c_str());
        KRT_OpenInputBox(700, 600, 1);
        KRT_SetInputBoxTitle(0, (InCodePage(text) + "\"\\").c_str());
        KRT_SelectTextWindow(0);
    });
    EXPECT_EQ(WindowText(ImageTable[0].window), TitleOf(text, 0));
    EXPECT_EQ(WindowText(ImageTable[1].window), TitleOf(longName, 1));
    EXPECT_EQ(WindowText(ButtonBox.buttons[0]), text);
    EXPECT_EQ(WindowText(InputBox.labels[0]), text + L"\"\\");

    SendMessageW(TextRecord(0).window, WM_COMMAND, 1045, 0);
    const std::string narrow = ClipboardBytes();
    for (const std::string& call : {"KRT_CreateImage(0,\"" + InCodePage(text) + "\",",
                                    "KRT_SetInputBoxTitle(0,\"" + InCodePage(text) + "\\\"\\\\\");",
                                    "KRT_SetButtonBoxTitle(0,\"" + InCodePage(text) + "\");"})
        EXPECT_NE(narrow.find(call), std::string::npos) << call;
    EXPECT_NE(ClipboardUnicode().find(L"KRT_SetButtonBoxTitle(0,\"" + text + L"\");"), std::wstring::npos);

    const int confirmation = TextRecord(0).cursorY - TextRecord(0).cellHeight;
    EXPECT_TRUE(SameLine(BackBuffer(0), confirmation,
                         ReferenceLine(1, {{0, L"クリップボードにレイアウト作成ソースリストを保存しました．"}}, 0xFFFF00,
                                       0x000080),
                         640));
}

class CodePageFiles : public FrameworkTest {
protected:
    void TearDown() override
    {
        DestroyAllImages();
        FrameworkTest::TearDown();
    }
    TempFolder folder;
};

// A file saved and loaded under a name of the code page has exactly that name, and dropped on
// the main window it opens titled with it; so does a path nearly as long as a path may be,
// which in UTF-8 takes up to three bytes a unit.
TEST_F(CodePageFiles, SavedLoadedAndDroppedUnderNamesOfTheCodePage)
{
    std::wstring name = L"plain.png";
    for (const wchar_t* candidate : {L"café_日本語_Ωμέγα.png", L"café_Å.png", L"日本語_ソ表.png"})
        if (Holds(candidate)) {
            name = candidate;
            break;
        }
    // Three folders deep, each name of 60 characters (a Unix name holds 255 bytes).
    const std::wstring part(60, WidestCharacter(name));
    const std::wstring longName = part + L"\\" + part + L"\\" + part + L".bmp";
    CreateDirectoryW((folder / part).c_str(), nullptr);
    CreateDirectoryW((folder / (part + L"\\" + part)).c_str(), nullptr);
    ASSERT_LE((folder / longName).size(), 259u);
    int saved = -1, savedLong = -1, loaded = -1;
    RunOnUserThread([&] {
        KRT_CreateImage(9, "source", 0, 0, 40, 30, 100);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x)
                KRT_SetPixel(x, y, static_cast<int>(PatternColour(x, y)));
        saved = KRT_SaveImageFile(30, 40, KRT_PNG, InCodePage(folder / name).c_str());
        savedLong = KRT_SaveImageFile(30, 40, KRT_BMP, InCodePage(folder / longName).c_str());
        KRT_CreateImage(8, "loaded", 0, 100, 40, 30, 100);
        loaded = KRT_LoadImageFile(InCodePage(folder / name).c_str(), 0, 0);
    });
    EXPECT_EQ(saved, 0);
    EXPECT_EQ(savedLong, 0);
    EXPECT_EQ(loaded, 0);
    EXPECT_TRUE(FileExists(folder / name) && FileExists(folder / longName));

    SendMessageW(MainWindow, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({folder / name, folder / longName})), 0);
    ASSERT_TRUE(ImageTable[0].inUse && ImageTable[1].inUse);
    EXPECT_EQ(WindowText(ImageTable[0].window), TitleOf(L"000 " + name, 0));
    EXPECT_EQ(WindowText(ImageTable[1].window), TitleOf(L"001 " + part + L".bmp", 1));
    int wrong = 0;
    for (int slot : {0, 1, 8})
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x)
                wrong += PixelOf(slot, x, y) != PatternColour(x, y);
    EXPECT_EQ(wrong, 0);

    // Bytes that are no character of the code page (where it has such bytes) name no file: not
    // the one whose name has a stand-in character in their place.
    CPINFO info = {};
    GetCPInfo(CP_ACP, &info);
    if (info.MaxCharSize > 1) {
        const std::string broken = InCodePage(folder / L"bad") + (GetACP() == CP_UTF8 ? "\xFF" : "\x81") + ".png";
        wchar_t standIn[MAX_PATH] = L"";
        MultiByteToWideChar(CP_ACP, 0, broken.c_str(), -1, standIn, MAX_PATH);
        ASSERT_TRUE(CopyFileW((folder / name).c_str(), standIn, FALSE));
        int loadedBroken = -1, savedBroken = -1;
        RunOnUserThread([&] {
            loadedBroken = KRT_LoadImageFile(broken.c_str(), 0, 0);
            savedBroken = KRT_SaveImageFile(30, 40, KRT_PNG, broken.c_str());
        });
        EXPECT_EQ(loadedBroken, 1);
        EXPECT_EQ(savedBroken, 1);
        EXPECT_EQ(ReadBytes(standIn), ReadBytes(folder / name));  // not overwritten
    }
}

}  // namespace
