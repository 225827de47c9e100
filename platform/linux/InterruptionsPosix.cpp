#include "platform/Interruptions.h"

#include <atomic>
#include <csignal>
#include <signal.h>

namespace {

// Lock-free, so the handler may set it; atomic, so that any thread reads it.
std::atomic<int> noted{0};
static_assert(std::atomic<int>::is_always_lock_free, "a signal handler needs a lock-free flag");

void noteSignal(int signal)
{
    int none = 0;
    noted.compare_exchange_strong(none, signal);
}

}  // namespace

void catchInterruptions()
{
    struct sigaction action {};
    action.sa_handler = noteSignal;   // no SA_RESTART: a blocked write or wait returns at once
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

Interruption pendingInterruption()
{
    return interruptionOfSignal(noted.load());
}

bool interruptionsCanCome()
{
    return true;
}
