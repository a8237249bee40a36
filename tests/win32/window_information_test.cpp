// Window information: the report in the text window and the layout source on the clipboard.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "boxes/box_state.h"
#include "box_test_support.h"
#include "image_test_support.h"

namespace {

const char* const kHead = "\t// KRTLIB --- Automatic Source Generator\n";
const char* const kTail = "\tKRT_SetForeground(KRTMAINWINDOW);\n";

std::string N(int value) { return std::to_string(value); }

// "left,top" of a window's outer rectangle.
std::string At(HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    return N(r.left) + "," + N(r.top);
}

std::string TextLine(int slot)
{
    return "\tKRT_OpenTextWindow(" + N(slot) + "," + At(TextRecord(slot).window) + "," + N(TextRecord(slot).width) +
           "," + N(TextRecord(slot).height) + ");\n";
}

std::string ButtonBoxLines()
{
    RECT client;
    GetClientRect(ButtonBox.box, &client);
    return "\t// [Button Box]\n\tKRT_OpenButtonBox(" + At(ButtonBox.box) + "," + N(ButtonBox.columns) + "," +
           N(ButtonBox.rows) + ");\n\tKRT_ResizeButtonBox(" + N(client.right) + "," + N(client.bottom) + ");\n";
}

bool Shows(int slot, unsigned colour)
{
    const Snapshot shot = BackBuffer(slot);
    return std::find(shot.pixels.begin(), shot.pixels.end(), colour) != shot.pixels.end();
}

class WindowInformationTest : public FrameworkTest {
protected:
    void SetUp() override
    {
        FrameworkTest::SetUp();
        PutClipboardText(L"before");
    }
    static void StartLog()
    {
        std::remove(LogPath(0).c_str());
        RunOnUserThread([] { KRT_StartLog(0); });
    }
    // The command in a text window, run to its end.
    static void Run(int slot) { SendMessageW(TextRecord(slot).window, WM_COMMAND, 1045, 0); }
};

TEST_F(WindowInformationTest, TheMainWindowOpensTextWindowZeroAndReportsIntoIt)
{
    SendMessageW(MainWindow, WM_COMMAND, 1045, 0);
    ASSERT_TRUE(PumpUntil([] { return TextRecord(0).inUse && Shows(0, 0x000080); }));  // the navy line
    EXPECT_EQ(ClipboardBytes(), kHead + std::string("\t// [Text Window]\n") + TextLine(0) + kTail);
}

TEST_F(WindowInformationTest, TheExampleLayoutItsReportAndTheColoursAfterIt)
{
    ASSERT_EQ(OnUserThread([] { return KRT_CreateImage(0, "000", 10, 20, 320, 240, 100); }), 0);
    ASSERT_EQ(OpenTextWindowOnUserThread(0, 0, 300, 400, 300), 0);
    StartLog();
    RunOnUserThread([] { KRT_PushTextColor(0x123456, 0x654321); });
    const TextWindowRecord before = TextRecord(0);

    Run(0);
    EXPECT_EQ(ClipboardBytes(), kHead + std::string("\t// [Image Window]\n\tKRT_CreateImage(0,\"000\",10,20,320,240,100);\n"
                                                    "\t// [Text Window]\n\tKRT_OpenTextWindow(0,0,300,400,300);\n") +
                                    kTail);
    // The confirmation line: "クリップボードにレイアウト作成ソースリストを保存しました．" in code page 932.
    EXPECT_EQ(TakePromptLog(), "******* Window information *******\r\n[Image Window]\r\n"
                               " 0 32 1  '000' X:10 Y:20 W:320 H:240 ZM:100%\r\n[Text Window]\r\n"
                               " 0 X:0 Y:300 W:400 H:300\r\n**********************************\r\n"
                               "\x83\x4e\x83\x8a\x83\x62\x83\x76\x83\x7b\x81\x5b\x83\x68\x82\xc9\x83\x8c\x83\x43"
                               "\x83\x41\x83\x45\x83\x67\x8d\xec\x90\xac\x83\x5c\x81\x5b\x83\x58\x83\x8a\x83\x58"
                               "\x83\x67\x82\xf0\x95\xdb\x91\xb6\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x81\x44\r\n");
    for (unsigned colour : {0xFFFF00u, 0x00FF00u, 0x0080FFu, 0xFF00FFu, 0xFFFFFFu, 0x000080u})
        EXPECT_TRUE(Shows(0, colour)) << std::hex << colour;
    const TextWindowRecord& after = TextRecord(0);
    EXPECT_EQ(N(after.textColor) + "/" + N(after.backColor), N(before.textColor) + "/" + N(before.backColor));
    EXPECT_TRUE(std::equal(before.textColorStack, before.textColorStack + 8, after.textColorStack));
    EXPECT_TRUE(std::equal(before.backColorStack, before.backColorStack + 8, after.backColorStack));
}

TEST_F(WindowInformationTest, EveryCreateCallTheBoxesAndTheirLabels)
{
    ASSERT_EQ(OpenTextWindowOnUserThread(3, 600, 400, 200, 100), 0);
    RunOnUserThread([] {
        KRT_CreateImage8FL(5, "g\\8", 30, 40, 64, 32, 200);
        KRT_CreateImage8(6, "h", 60, 40, 64, 32, 100);
        KRT_CreateImageFL(7, "say \"hi\"", 90, 40, 64, 32, 100);
        KRT_OpenInputBox(400, 100, 2);
        KRT_ResizeInputBox(90, 60);
        KRT_SetInputBoxTitle(1, "w=\"5\"");
        KRT_OpenButtonBox(100, 300, 2, 1);
        KRT_SetButtonBoxTitle(0, "r\n+");
    });
    Run(3);
    EXPECT_EQ(ClipboardBytes(),
              kHead + ("\t// [Image Window]\n\tKRT_CreateImage8FL(5,\"g\\\\8\"," + At(ImageTable[5].window)) +
                  ",64,32,200);\n\tKRT_CreateImage8(6,\"h\"," + At(ImageTable[6].window) + ",64,32," +
                  N(ImageTable[6].zoom) + ");\n\tKRT_CreateImageFL(7,\"say \\\"hi\\\"\"," + At(ImageTable[7].window) +
                  ",64,32,100);\n\t// [Text Window]\n" + TextLine(3) + "\t// [Input Box]\n\tKRT_OpenInputBox(" +
                  At(InputBox.box) + ",2);\n\tKRT_ResizeInputBox(90,60);\n\tKRT_SetInputBoxTitle(0,\"Item 0\");\n"
                  "\tKRT_SetInputBoxTitle(1,\"w=\\\"5\\\"\");\n" + ButtonBoxLines() +
                  "\tKRT_SetButtonBoxTitle(0,\"r\\n+\");\n\tKRT_SetButtonBoxTitle(1,\"1\");\n" + kTail);
}

TEST_F(WindowInformationTest, AFullLayoutComesWholeOntoTheClipboard)
{
    RunOnUserThread([] {
        for (int slot = 0; slot < 256; ++slot) {
            const std::string name(slot == 9 ? 700 : 100, static_cast<char>('A' + slot % 26));
            KRT_CreateImageFL(slot, name.c_str(), slot * 3, slot * 2, 4, 4, 100);
            KRT_OpenTextWindow(slot, 400 + slot, slot * 2, 40, 30);
        }
        KRT_OpenButtonBox(0, 600, 16, 16);
        for (int i = 0; i < 256; ++i)
            KRT_SetButtonBoxTitle(i, ("button\n" + N(i)).c_str());
    });
    std::string images = "\t// [Image Window]\n", texts = "\t// [Text Window]\n", buttons;
    for (int slot = 0; slot < 256; ++slot) {
        ASSERT_TRUE(ImageTable[slot].inUse && TextRecord(slot).inUse) << slot;
        images += "\tKRT_CreateImageFL(" + N(slot) + ",\"" + ImageTable[slot].name + "\"," +
                  At(ImageTable[slot].window) + ",4,4,100);\n";
        texts += TextLine(slot);
        buttons += "\tKRT_SetButtonBoxTitle(" + N(slot) + ",\"button\\n" + N(slot) + "\");\n";
    }
    const std::string expected = kHead + images + texts + ButtonBoxLines() + buttons + kTail;
    Run(0);
    const std::string clipboard = ClipboardBytes();
    EXPECT_GT(clipboard.size(), 30000u);
    EXPECT_EQ(clipboard.size(), expected.size());
    EXPECT_TRUE(clipboard == expected);  // not printed: 60 KB
    EXPECT_TRUE(Shows(0, 0x000080));
}

TEST_F(WindowInformationTest, WithoutTheClipboardTheReportIsStillPrinted)
{
    ASSERT_EQ(OpenTextWindowOnUserThread(0, 0, 300, 400, 300), 0);
    StartLog();
    ASSERT_TRUE(OpenClipboard(MainWindow));  // held by this thread while the command runs
    Run(0);
    CloseClipboard();
    EXPECT_EQ(TakePromptLog(), "******* Window information *******\r\n[Text Window]\r\n"
                               " 0 X:0 Y:300 W:400 H:300\r\n**********************************\r\n");
    EXPECT_EQ(ClipboardBytes(), "before");
}

}  // namespace
