#include "bench/support/pty_peer.h"

#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "bench/support/peer_stream.h"

namespace bench {
namespace {

constexpr long kPeriodNs = 5'000'000;
// What could not be written stays offered for at most this many periods.
constexpr double kBacklogPeriods = 2;

void AddNs(timespec& at, long ns) {
    at.tv_nsec += ns;
    while (at.tv_nsec >= 1'000'000'000) {
        at.tv_nsec -= 1'000'000'000;
        ++at.tv_sec;
    }
}

}  // namespace

PtyPeer::PtyPeer(const std::string& programFolder) {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
        std::perror("pseudo-terminal");
        std::exit(1);
    }
    const std::string slave = ptsname(master_);
    slave_ = open(slave.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave_ < 0 || symlink(slave.c_str(), (programFolder + "/COM1").c_str()) != 0) {
        std::perror("pseudo-terminal link");
        std::exit(1);
    }
}

PtyPeer::~PtyPeer() {
    stopStream();
    close(slave_);
    close(master_);
}

void PtyPeer::startStream(double bytesPerSecond) {
    stopStream();
    streaming_ = true;
    writer_ = std::thread([this, bytesPerSecond] { stream(bytesPerSecond); });
}

void PtyPeer::stopStream() {
    streaming_ = false;
    if (writer_.joinable()) {
        writer_.join();
    }
}

void PtyPeer::stream(double bytesPerSecond) {
    timespec next{};
    clock_gettime(CLOCK_MONOTONIC, &next);
    const double perPeriod = bytesPerSecond * static_cast<double>(kPeriodNs) / 1e9;
    double offered = 0;
    std::uint64_t taken = 0;
    std::array<char, 4096> echo{};
    while (streaming_) {
        AddNs(next, kPeriodNs);
        clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, nullptr);
        offered += perPeriod;
        if (offered - static_cast<double>(taken) > perPeriod * kBacklogPeriods) {
            offered = static_cast<double>(taken) + perPeriod * kBacklogPeriods;
        }
        const auto want = static_cast<std::uint64_t>(offered) - taken;
        if (want > 0) {
            const std::string bytes = StreamBytes(written_, want);
            const ssize_t n = write(master_, bytes.data(), bytes.size());
            if (n > 0) {
                taken += static_cast<std::uint64_t>(n);
                written_ += static_cast<std::uint64_t>(n);
            }
        }
        // Whatever the program sends is read and dropped.
        while (read(master_, echo.data(), echo.size()) > 0) {
        }
    }
}

}  // namespace bench
