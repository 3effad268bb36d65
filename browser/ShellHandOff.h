// Starting a program through the desktop shell (explorer), so that it runs in
// the desktop user's session with that user's rights rather than with the
// rights of the process that asks: the way an elevated installer opens a
// browser without handing it an administrator token.
#pragma once

// Asks the desktop's shell to start the program (a path without quotes) with
// the arguments. True when the shell accepted. Runs on the calling thread in
// a single-threaded apartment (or the apartment the thread already has), so
// the thread's windows are repainted while explorer answers.
bool StartThroughDesktopShell(const char* program, const char* arguments);
