#include "platform/Interruptions.h"

#include <windows.h>

#include <atomic>
#include <csignal>

namespace {

// The signal number the interruption stands for (SIGINT, SIGTERM), so that
// the shared interruptionOfSignal() reads it as on POSIX.
std::atomic<int> noted{0};

// How long a console that is closing (or a session that ends) waits for
// this handler before the system ends the process: the capture tidies up
// meanwhile and leaves through exit() on its own.
constexpr DWORD kTidyUpMs = 4000;

// Runs on a thread the system starts for the event.  Ctrl-C is the user's
// interruption; Ctrl-Break, the console closing, logoff and shutdown ask the
// program to end, as a termination signal does on POSIX.
BOOL WINAPI noteConsoleEvent(DWORD event)
{
    int expected = 0;
    noted.compare_exchange_strong(expected, event == CTRL_C_EVENT ? SIGINT : SIGTERM);
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT)
        Sleep(kTidyUpMs);
    return TRUE;
}

}  // namespace

// Windows has no broken-pipe signal (failed writes report themselves) and
// nothing breaks a blocking call: waits that may be long look at
// pendingInterruption() themselves.
void catchInterruptions()
{
    // A process started in a new process group ignores Ctrl-C until it
    // says otherwise.
    SetConsoleCtrlHandler(nullptr, FALSE);
    SetConsoleCtrlHandler(noteConsoleEvent, TRUE);
}

Interruption pendingInterruption()
{
    return interruptionOfSignal(noted.load());
}

bool interruptionsCanCome()
{
    return true;
}
