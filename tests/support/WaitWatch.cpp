#include "tests/support/WaitWatch.h"

#include <sys/time.h>

namespace {
volatile sig_atomic_t interrupts = 0;

void CountInterrupt(int) { interrupts = interrupts + 1; }
}  // namespace

WaitWatch::WaitWatch()
{
    interrupts = 0;
    // Without SA_RESTART, so that the interrupted call returns instead of
    // going back to wait.
    struct sigaction onAlarm {};
    onAlarm.sa_handler = CountInterrupt;
    sigemptyset(&onAlarm.sa_mask);
    sigaction(SIGALRM, &onAlarm, &previous);
    const itimerval every = {{2, 0}, {2, 0}};
    setitimer(ITIMER_REAL, &every, nullptr);
}

WaitWatch::~WaitWatch()
{
    const itimerval off = {};
    setitimer(ITIMER_REAL, &off, nullptr);
    sigaction(SIGALRM, &previous, nullptr);
}

int WaitWatch::Interrupts() const { return interrupts; }
