#include "platform/qt/termination_signals.h"

#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QTimer>
#include <array>

namespace platform {
namespace {

std::array<int, 2> gWake = {-1, -1};
constexpr std::array<int, 3> kSignals = {SIGTERM, SIGINT, SIGHUP};

void OnSignal(int) {
    const char byte = 1;
    // Only async-signal-safe work here; the event loop does the rest.
    [[maybe_unused]] const ssize_t written = ::write(gWake[1], &byte, 1);
}

}  // namespace

CloseOnTerminationSignal::CloseOnTerminationSignal(Form& window) : window_(window) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, gWake.data()) != 0) {
        return;
    }
    notifier_ = std::make_unique<QSocketNotifier>(gWake[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { signalled(); });
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : kSignals) {
        ::sigaction(number, &action, nullptr);
    }
}

CloseOnTerminationSignal::~CloseOnTerminationSignal() {
    for (const int number : kSignals) {
        ::signal(number, SIG_DFL);
    }
    notifier_.reset();
    for (int& fd : gWake) {
        if (fd >= 0) {
            ::close(fd);
            fd = -1;
        }
    }
}

void CloseOnTerminationSignal::signalled() {
    std::array<char, 16> drain{};
    while (::read(gWake[0], drain.data(), drain.size()) > 0) {
    }
    closeWhenIdle();
}

void CloseOnTerminationSignal::closeWhenIdle() {
    if (window_.loaded() && !window_.acceptsInput()) {
        QTimer::singleShot(50, this, [this] { closeWhenIdle(); });
        return;
    }
    window_.Unload();
    QCoreApplication::quit();
}

}  // namespace platform
