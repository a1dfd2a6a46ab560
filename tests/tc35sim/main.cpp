// tc35sim: a TC35/TC35i on a pseudo-terminal, in real time, so that the
// program can be tried without a module.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/signalfd.h>
#include <sys/stat.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <iostream>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "tests/support/pty_line_speed.h"
#include "tests/support/tc35_simulator.h"
#include "tests/support/tc35sim_options.h"
#include "tests/support/timed_output_queue.h"

namespace {

using platform::Micros;

[[noreturn]] void Fail(const std::string& what) {
    throw std::system_error(errno, std::generic_category(), what);
}

class UniqueFd {
  public:
    explicit UniqueFd(int fd) : fd_(fd) {}
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int get() const { return fd_; }

  private:
    int fd_;
};

// The link to the slave, removed again however the program ends.
class SlaveLink {
  public:
    SlaveLink(const std::string& target, std::string path) : path_(std::move(path)) {
        struct stat old {};
        // A link left behind by an earlier run is ours to replace.
        if (::lstat(path_.c_str(), &old) == 0 && S_ISLNK(old.st_mode)) {
            ::unlink(path_.c_str());
        }
        if (::symlink(target.c_str(), path_.c_str()) != 0) {
            Fail("cannot link " + path_);
        }
    }
    SlaveLink(const SlaveLink&) = delete;
    SlaveLink& operator=(const SlaveLink&) = delete;
    ~SlaveLink() { ::unlink(path_.c_str()); }

  private:
    std::string path_;
};

Micros Now() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<Micros>(now.tv_sec) * 1'000'000 + now.tv_nsec / 1000;
}

int StopSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    if (::sigprocmask(SIG_BLOCK, &signals, nullptr) != 0) {
        Fail("sigprocmask");
    }
    const int fd = ::signalfd(-1, &signals, SFD_CLOEXEC);
    if (fd < 0) {
        Fail("signalfd");
    }
    return fd;
}

std::string SlaveName(int master) {
    if (::grantpt(master) != 0 || ::unlockpt(master) != 0) {
        Fail("grantpt/unlockpt");
    }
    char name[256];
    if (::ptsname_r(master, name, sizeof name) != 0) {
        Fail("ptsname_r");
    }
    return name;
}

// Until the program configures the line, it must not echo or translate.
void MakeRaw(int slave) {
    termios settings{};
    if (::tcgetattr(slave, &settings) != 0) {
        Fail("tcgetattr");
    }
    ::cfmakeraw(&settings);
    if (::tcsetattr(slave, TCSANOW, &settings) != 0) {
        Fail("tcsetattr");
    }
}

int PollTimeout(const tc35::TimedOutputQueue& queue, Micros now) {
    const auto due = queue.nextDue();
    if (!due) {
        return -1;
    }
    return *due <= now ? 0 : static_cast<int>((*due - now + 999) / 1000);
}

int Run(const tc35::Tc35SimOptions& options) {
    const UniqueFd stop{StopSignals()};
    const UniqueFd master{::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)};
    if (master.get() < 0) {
        Fail("posix_openpt");
    }
    const std::string slaveName = SlaveName(master.get());
    // Held open so that the line does not hang up between the program's opens.
    const UniqueFd slave{::open(slaveName.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC)};
    if (slave.get() < 0) {
        Fail("open " + slaveName);
    }
    MakeRaw(slave.get());
    const SlaveLink link{slaveName, options.link};
    std::cout << slaveName << std::endl;

    tc35::Tc35Simulator module{options.config, Now()};
    tc35::TimedOutputQueue queue;
    module.setSink([&](Micros at, std::string bytes) { queue.push(at, std::move(bytes)); });
    std::string unsent;

    for (;;) {
        pollfd fds[] = {
            {master.get(), static_cast<short>(POLLIN | (unsent.empty() ? 0 : POLLOUT)), 0},
            {stop.get(), POLLIN, 0}};
        if (::poll(fds, 2, unsent.empty() ? PollTimeout(queue, Now()) : -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            Fail("poll");
        }
        if (fds[1].revents & POLLIN) {
            return 0;
        }
        if (fds[0].revents & POLLIN) {
            char bytes[4096];
            const ssize_t count = ::read(master.get(), bytes, sizeof bytes);
            if (count > 0) {
                const std::int32_t baud = tc35::PtyLineSpeed(master.get()).value_or(0);
                module.receive(std::string_view{bytes, static_cast<std::size_t>(count)}, Now(),
                               baud);
            }
        }
        unsent += queue.takeDue(Now());
        while (!unsent.empty()) {
            const ssize_t written = ::write(master.get(), unsent.data(), unsent.size());
            if (written < 0) {
                if (errno != EAGAIN && errno != EINTR) {
                    // Nobody to hear it: what a module sends then is lost.
                    unsent.clear();
                }
                break;
            }
            unsent.erase(0, static_cast<std::size_t>(written));
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    tc35::Tc35SimOptions options;
    try {
        options = tc35::ParseTc35SimArguments(arguments);
    } catch (const std::invalid_argument& error) {
        std::cerr << "tc35sim: " << error.what() << "\n" << tc35::Tc35SimUsage();
        return 2;
    }
    if (options.help) {
        std::cout << tc35::Tc35SimUsage();
        return 0;
    }
    try {
        return Run(options);
    } catch (const std::exception& error) {
        std::cerr << "tc35sim: " << error.what() << "\n";
        return 1;
    }
}
