#include "platform/Interruptions.h"

#include <csignal>

Interruption interruptionOfSignal(int signal)
{
    switch (signal) {
    case 0:
        return Interruption::None;
    case SIGINT:
        return Interruption::CtrlC;
#ifdef SIGHUP
    case SIGHUP:
        return Interruption::HangUp;
#endif
    default:
        return Interruption::Termination;
    }
}
