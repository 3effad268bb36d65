#include <gtest/gtest.h>

#include <string>

#include "browser/CommandProgram.h"

namespace {

TEST(FindCommandProgram, SplitsWhereTheProgramEnds) {
    const struct {
        const char* command;
        bool found;
        const char* program;
        const char* arguments;
    } cases[] = {
        {"\"C:\\Program Files\\B\\b.exe\" -x \"%1\"", true, "C:\\Program Files\\B\\b.exe", "-x \"%1\""},
        // Unquoted paths with blanks end after the first ".exe" that a blank or the end follows.
        {"C:\\Program Files\\B.exec\\b.EXE  -x %1", true, "C:\\Program Files\\B.exec\\b.EXE", "-x %1"},
        {"browser %1", true, "browser", "%1"},
        {"\"C:\\B\\b.exe -x %1", false, "", ""},
        {"   ", false, "", ""},
        // The address must never be the file the shell opens.
        {"%1", false, "", ""},
    };
    for (const auto& c : cases) {
        CommandParts parts = {-1, -1, -1};
        ASSERT_EQ(FindCommandProgram(c.command, parts), c.found) << c.command;
        if (!c.found) continue;
        std::string command = c.command;
        EXPECT_EQ(command.substr(parts.programStart, parts.programLength), c.program) << c.command;
        EXPECT_EQ(command.substr(parts.argumentsStart), c.arguments) << c.command;
    }
}

}  // namespace
