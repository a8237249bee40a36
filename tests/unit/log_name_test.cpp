#include <gtest/gtest.h>

#include <string>

#include "text/command_table.h"
#include "text/log_name.h"

namespace {

TEST(LogName, InstanceAndSlotFollowEachOtherWithNothingBetween)
{
    wchar_t name[kLogNameUnits];
    ASSERT_TRUE(FormatLogName(name, kLogNameUnits, L"C:\\work\\", 0, 12));
    EXPECT_EQ(std::wstring(name), L"C:\\work\\KRTLIB012.LOG");
    ASSERT_TRUE(FormatLogName(name, kLogNameUnits, L"C:\\\x65E5\xD55C\\", 1, 2));  // any character
    EXPECT_EQ(std::wstring(name), L"C:\\\x65E5\xD55C\\KRTLIB12.LOG");
    ASSERT_TRUE(FormatLogName(name, kLogNameUnits, L"", 2, 3));
    EXPECT_EQ(std::wstring(name), L"KRTLIB23.LOG");
}

TEST(LogName, TheLongestFolderFitsAndANameThatDoesNotFitIsRefused)
{
    wchar_t name[kLogNameUnits];
    const std::wstring longest = L"C:\\" + std::wstring(kFolderChars - 5, L'd') + L"\\";
    ASSERT_TRUE(FormatLogName(name, kLogNameUnits, longest.c_str(), 9, 255));
    EXPECT_EQ(std::wstring(name), longest + L"KRTLIB9255.LOG");
    EXPECT_FALSE(FormatLogName(name, 16, L"C:\\a\\long\\folder\\", 0, 0));
    EXPECT_FALSE(FormatLogName(name, 12, L"", 0, 0));  // "KRTLIB00.LOG" needs 13 with its end
    EXPECT_TRUE(FormatLogName(name, 13, L"", 0, 0));
}

TEST(CommandTable, ExactCaseSensitiveMatches)
{
    EXPECT_EQ(FindPromptCommand("exit"), CommandExit);
    EXPECT_EQ(FindPromptCommand("start"), CommandStart);
    EXPECT_EQ(FindPromptCommand("help"), CommandHelp);
    EXPECT_EQ(FindPromptCommand("ver"), CommandVer);
    EXPECT_EQ(FindPromptCommand("color"), CommandColor);
    EXPECT_EQ(FindPromptCommand("Exit"), CommandInvalid);
    EXPECT_EQ(FindPromptCommand(" help"), CommandInvalid);
    EXPECT_EQ(FindPromptCommand(""), CommandInvalid);
}

}  // namespace
