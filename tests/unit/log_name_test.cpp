#include <gtest/gtest.h>

#include <string>

#include "text/command_table.h"
#include "text/log_name.h"

namespace {

TEST(LogName, InstanceAndSlotFollowEachOtherWithNothingBetween)
{
    char name[520];
    ASSERT_TRUE(FormatLogName(name, sizeof name, "C:\\work\\", 0, 12));
    EXPECT_EQ(std::string(name), "C:\\work\\KRTLIB012.LOG");
    ASSERT_TRUE(FormatLogName(name, sizeof name, "C:\\work\\", 1, 2));
    EXPECT_EQ(std::string(name), "C:\\work\\KRTLIB12.LOG");
    ASSERT_TRUE(FormatLogName(name, sizeof name, "", 2, 3));
    EXPECT_EQ(std::string(name), "KRTLIB23.LOG");
}

TEST(LogName, ANameThatDoesNotFitIsRefused)
{
    char name[16];
    EXPECT_FALSE(FormatLogName(name, sizeof name, "C:\\a\\long\\folder\\", 0, 0));
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
