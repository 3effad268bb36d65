// Where the program of a registered browser command ends, for a launch that
// hands the program and its arguments to the desktop shell separately.
#pragma once
#include "platform/WinSeam.h"

// Byte positions in the command: the program's path without its quotes, and
// the arguments after the blanks that follow the program.
struct CommandParts {
    int programStart;
    int programLength;
    int argumentsStart;
};

// A quoted program ends at its closing quote; an unquoted one after the
// first ".exe" (any case) followed by a blank or the end, because registered
// paths with blanks are often left unquoted; one without ".exe" at the first
// blank. False when no program is named, a quote is not closed, or the
// program holds "%1": the address must never become the file the shell opens.
bool FindCommandProgram(const char* command, CommandParts& parts);
