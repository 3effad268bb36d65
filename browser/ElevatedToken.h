// Whether this process runs with the full token of an elevated administrator
// (Vista and later, with UAC on). A browser started from such a process would
// inherit that token, so links are then opened by the desktop shell instead.
#pragma once

// False on systems that know no elevation (9x, NT 4 to XP), for a limited
// token, with UAC turned off, and when the token cannot be read.
bool IsProcessElevated();
