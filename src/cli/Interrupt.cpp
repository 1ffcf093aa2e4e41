#include "cli/Interrupt.h"

#include <signal.h>

#include <csignal>

namespace kyv::cli {

namespace {

volatile std::sig_atomic_t interrupted = 0;

void OnInterrupt(int signalNumber)
{
    if (interrupted != 0) {
        // Asked twice: the default action ends the program now.
        std::signal(signalNumber, SIG_DFL);
        std::raise(signalNumber);
        return;
    }
    interrupted = 1;
}

}  // namespace

void InstallInterruptHandler()
{
    struct sigaction action {};
    action.sa_handler = &OnInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no SA_RESTART
    sigaction(SIGINT, &action, nullptr);
}

bool InterruptRequested() { return interrupted != 0; }

}  // namespace kyv::cli
