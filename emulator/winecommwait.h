#pragma once

// Windows, for the tests and the demo emulator: under Wine the serial library's wait for a COM
// port's input never comes back. The library asks for it with an overlapped WaitCommEvent and
// takes its end from the I/O completion port the port handle is bound to; Wine serves that wait
// synchronously, in the calling thread, and posts nothing to the completion port (on a
// pseudo-terminal, which has no modem lines, it even ends the wait at once as cancelled). So the
// library never starts a read and no answer is ever seen.
//
// InstallWineCommWait() sends this program's own calls of WaitCommEvent, CreateIoCompletionPort,
// CancelIo and CancelIoEx through stand-ins (by rewriting the program's import table) that do
// what Windows does: a wait on a port bound to a completion port is left pending, a thread looks
// at the port's input queue every millisecond, and once a byte is there the wait's end (EV_RXCHAR)
// is posted to that completion port; cancelling the port's I/O drops the wait. Everything else,
// the reads and writes included, is Wine's own. Does nothing outside Wine (on Windows and
// Linux), and only once.
//
// Returns whether the stand-ins are in place (false outside Wine, or when the import table does
// not name the functions).
bool InstallWineCommWait();

// Whether this program runs under Wine.
bool RunningUnderWine();
