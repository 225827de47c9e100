#include "platform/Interruptions.h"

#include <csignal>

Interruption interruptionOfSignal(int signal)
{
    switch (signal) {
    case 0:
        return Interruption::None;
    case SIGINT:
        return Interruption::CtrlC;
    default:
        return Interruption::Termination;
    }
}
