// The command prompt's commands, matched exactly and case-sensitively in this order.
#pragma once
#include <cstring>

enum PromptCommand { CommandExit, CommandStart, CommandHelp, CommandVer, CommandColor, CommandInvalid };

struct PromptCommandRow {
    const char* text;
    PromptCommand command;
};

constexpr PromptCommandRow kPromptCommands[] = {
    {"exit", CommandExit}, {"start", CommandStart}, {"help", CommandHelp},
    {"ver", CommandVer},   {"color", CommandColor},
};
static_assert(sizeof kPromptCommands / sizeof kPromptCommands[0] == 5, "five commands");

inline PromptCommand FindPromptCommand(const char* line)
{
    for (const PromptCommandRow& row : kPromptCommands)
        if (std::strcmp(line, row.text) == 0)
            return row.command;
    return CommandInvalid;
}
