#include "app/TerminationSignal.h"

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <QWidget>

namespace {
int wakePipe[2] = {-1, -1};
volatile sig_atomic_t receivedSignal = 0;

// Only async-signal-safe work here: one byte into the pipe.
void OnSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = write(wakePipe[1], &byte, 1);
}

void NoteSignal(int signal) { receivedSignal = signal; }
}  // namespace

void CloseOnTerminationSignals(QWidget* window)
{
    if (wakePipe[0] < 0) {
        if (pipe2(wakePipe, O_CLOEXEC | O_NONBLOCK) != 0)
            return;
    }
    auto* notifier = new QSocketNotifier(wakePipe[0], QSocketNotifier::Read, window);
    QObject::connect(notifier, &QSocketNotifier::activated, window, [window] {
        char buffer[16];
        while (read(wakePipe[0], buffer, sizeof buffer) > 0) {
        }
        window->close();
    });
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}

void NoteTerminationSignals()
{
    struct sigaction action = {};
    action.sa_handler = NoteSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        struct sigaction previous = {};
        if (sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler != SIG_IGN)
            sigaction(signal, &action, nullptr);
    }
}

int TerminationSignalReceived() { return receivedSignal; }
