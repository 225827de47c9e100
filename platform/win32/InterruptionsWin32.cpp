#include "platform/Interruptions.h"

#include <csignal>

namespace {

volatile std::sig_atomic_t noted = 0;

void noteSignal(int signal)
{
    if (noted == 0)
        noted = signal;
    // The C runtime resets a handler once it has run: keep noting.
    std::signal(signal, noteSignal);
}

}  // namespace

// Windows has no broken-pipe signal (failed writes report themselves) and no
// restartable system calls to break: noting the two signals is all.
void catchInterruptions()
{
    std::signal(SIGINT, noteSignal);
    std::signal(SIGTERM, noteSignal);
}

Interruption pendingInterruption()
{
    return interruptionOfSignal(noted);
}
