#pragma once

// Output that may go nowhere: a reader of the output that has gone (`kkt-cli ... | head -1`)
// must not end a run half-way, with a register half-written. Lines that cannot be written are
// dropped; the run and its exit status go on as they would.

// Called once before the first line: a write to a closed pipe then fails instead of ending
// the program (POSIX sends it a signal; Windows only fails the write).
void KeepRunningWithoutReader();
