#pragma once

// Requests from outside to end the program (Ctrl-C, a termination request,
// the terminal closing), noted instead of acted on at once, so that a
// capture can leave its files in order before it exits.  Blocking system
// calls return early when one comes.
enum class Interruption { None, CtrlC, Termination, HangUp };

// From now on interruptions are noted rather than ending the process.  A
// writer whose reader has gone then gets an error instead of being killed.
void catchInterruptions();

// The first interruption noted since catchInterruptions(), or None.
Interruption pendingInterruption();

// Whether interruptions can come at all, and a thread of its own can look
// out for them: not in a web page, which has neither signals nor threads.
bool interruptionsCanCome();

// What a noted signal number means (0: none noted).  Shared by the systems'
// implementations.
Interruption interruptionOfSignal(int signal);
