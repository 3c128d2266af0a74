// Turns a call that would wait for ever into one that fails: while a
// WaitWatch lives, a timer interrupts any blocking system call every two
// seconds (the call returns EINTR) and counts the interruptions.  A test
// asserts Interrupts() == 0 to show that its call never waited.
#pragma once

#include <csignal>

class WaitWatch {
public:
    WaitWatch();
    ~WaitWatch();
    WaitWatch(const WaitWatch&) = delete;
    WaitWatch& operator=(const WaitWatch&) = delete;

    int Interrupts() const;

private:
    struct sigaction previous {};
};
