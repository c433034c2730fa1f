// SIGINT, SIGTERM and SIGHUP as a request to stop, not an instant death: a
// build polls the request between its steps and while the compiler runs, so it
// can stop the compiler, remove its work folder and release its lock before
// the program ends. A second signal of the same kind ends the program at once,
// for a user whose first Ctrl-C seems to do nothing.
#pragma once

namespace vv {

// Installs the handlers (once; later calls do nothing).
void catchInterrupts();

// The signal that asked to stop, or 0.
int interruptSignal();

// Forgets a request (for tests and for a window program that declined to quit).
void clearInterrupt();

// The exit code of a program ended by `signalNumber`: 128 + the number.
inline int exitCodeForSignal(int signalNumber) {
    return 128 + signalNumber;
}

} // namespace vv
