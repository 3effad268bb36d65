// Ends the test program on a fault raised by its own code (the library's
// objects are linked into it), or by a jump out of every module (a call
// through a destroyed object): an access violation, an illegal instruction
// (what a trapping undefined-behaviour check executes), a division by zero or
// a stack overflow. The system swallows faults raised inside some window
// procedure calls (a paint, for one), so a test that relies on the unhandled
// exception filter alone would pass over them; a vectored handler sees them
// first. The fault is reported on stderr and the exit code is 3.
#pragma once

// Installs the handler once; later calls do nothing.
void WatchOwnFaults();
