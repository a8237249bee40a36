// The main window's "Image Window" dialogue: three answers typed into the console while the
// dialogue reads them on the GUI thread.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/control_flags.h"
#include "core/framework.h"
#include "image/image_table.h"
#include "text_test_support.h"

namespace {

using ImageDialogue = FrameworkTest;

// Types the next answer into text window 0 whenever a line input waits on a new prompt line;
// runs as a timer of the GUI thread, inside the dialogue's own reading loop.
std::vector<std::wstring> answers;
size_t answered = 0;
int answeredLine = -1;  // the console line of the last answer

void CALLBACK TypeNextAnswer(HWND, UINT, UINT_PTR, DWORD)
{
    const TextWindowRecord& console = TextWindowTable[0];
    if (lineInputOwner == 0 || console.cursorY == answeredLine || answered >= answers.size())
        return;
    answeredLine = console.cursorY;
    for (wchar_t unit : answers[answered] + L"\r")
        PostMessageW(console.window, WM_CHAR, unit, 0);
    ++answered;
}

void RunDialogue(std::vector<std::wstring> typed)
{
    answers = std::move(typed);
    answered = 0;
    answeredLine = -1;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, TypeNextAnswer);
    SendMessageW(MainWindow, WM_COMMAND, 1027, 0);
    KillTimer(nullptr, timer);
}


TEST_F(ImageDialogue, AnswersOpenAnImageInTheLowestFreeSlot)
{
    RunDialogue({L"320", L"240", L"32"});
    ASSERT_TRUE(ImageTable[0].inUse);
    EXPECT_EQ(WindowText(ImageTable[0].window), L"000(100%)");
    EXPECT_EQ(ImageTable[0].width, 320);
    EXPECT_EQ(ImageTable[0].height, 240);
    EXPECT_EQ(ImageTable[0].bitDepth, 32);
    RunDialogue({L"200", L"150", L"8"});
    ASSERT_TRUE(ImageTable[1].inUse);
    EXPECT_EQ(WindowText(ImageTable[1].window), L"001(100%)[8bit]");
    EXPECT_EQ(ImageTable[1].bitDepth, 8);
}

TEST_F(ImageDialogue, ADepthOtherThan32Or8OpensNothing)
{
    RunDialogue({L"320", L"240", L"16"});
    for (const ImageRecord& record : ImageTable)
        EXPECT_FALSE(record.inUse);
}

TEST_F(ImageDialogue, ExitDuringAPromptEndsTheDialogueWithoutCreating)
{
    answers.clear();
    SetTimer(nullptr, 0, 200, [](HWND, UINT, UINT_PTR timer, DWORD) {
        KillTimer(nullptr, timer);
        SendMessageW(MainWindow, WM_COMMAND, 1002, 0);  // Exit while " Width=" waits
    });
    SendMessageW(MainWindow, WM_COMMAND, 1027, 0);
    EXPECT_EQ(exitState, 2);
    EXPECT_FALSE(IsWindow(MainWindow));
    for (const ImageRecord& record : ImageTable)
        EXPECT_FALSE(record.inUse);
}

}  // namespace
