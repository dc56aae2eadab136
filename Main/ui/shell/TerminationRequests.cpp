#include "ui/shell/TerminationRequests.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>

namespace ui {
namespace {

constexpr std::array kSignals{SIGTERM, SIGHUP, SIGINT};

// The write end is read by the handler; one pipe serves the whole process.
volatile sig_atomic_t writeEnd = -1;
int readEnd = -1;

void Handler(int signal) {
    const int saved = errno;
    const auto byte = static_cast<unsigned char>(signal);
    // A full pipe already holds a request; nothing more to say.
    if (writeEnd >= 0) (void)!write(writeEnd, &byte, 1);
    // The next signal of any of the three takes its default course.
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    for (const int s : kSignals) sigaction(s, &fallback, nullptr);
    errno = saved;
}

void Install(void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int s : kSignals) sigaction(s, &action, nullptr);
}

}  // namespace

TTerminationRequests::TTerminationRequests(QObject* parent) : QObject(parent) {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) return;
    readEnd = ends[0];
    writeEnd = ends[1];
    notifier_ = new QSocketNotifier(readEnd, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TTerminationRequests::Read);
    Install(Handler);
}

TTerminationRequests::~TTerminationRequests() {
    if (!notifier_) return;
    Install(SIG_DFL);
    const int w = writeEnd;
    writeEnd = -1;
    close(w);
    close(readEnd);
    readEnd = -1;
}

void TTerminationRequests::Read() {
    unsigned char byte = 0;
    int last = 0;
    while (read(readEnd, &byte, 1) == 1) last = byte;
    if (last != 0) Q_EMIT Requested(last);
}

}  // namespace ui
