#include "platform/Interruptions.h"

#include <csignal>
#include <signal.h>

namespace {

volatile std::sig_atomic_t noted = 0;

void noteSignal(int signal)
{
    if (noted == 0)
        noted = signal;
}

}  // namespace

void catchInterruptions()
{
    struct sigaction action {};
    action.sa_handler = noteSignal;   // no SA_RESTART: a blocked write or wait returns at once
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

Interruption pendingInterruption()
{
    return interruptionOfSignal(noted);
}
