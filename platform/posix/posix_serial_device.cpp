#include "platform/posix/posix_serial_device.h"

#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <utility>

#include "platform/posix/line_speed.h"
#include "platform/posix/raw_line.h"
#include "platform/posix/serial_errno.h"
#include "platform/runtime_error.h"

namespace platform::posix {
namespace {

// Upper bound of one read-all: a peer that keeps sending must not hold the
// caller, whatever the kernel refills between two reads. The rest waits for
// the next call.
constexpr std::size_t kMaxReadAll = 64 * 1024;
// What Linux's line discipline buffers for a reader (N_TTY_BUF_SIZE - 1).
constexpr std::size_t kLineDisciplineBuffer = 4095;
// The speed the driver reports back may differ by this much (percent), as a
// UART's divisor allows, and still be in step with the far end.
constexpr std::int64_t kSpeedTolerancePercent = 2;

bool SpeedMatches(std::int32_t wanted, std::int32_t actual) {
    return std::llabs(static_cast<long long>(actual) - wanted) * 100 <=
           static_cast<long long>(wanted) * kSpeedTolerancePercent;
}

}  // namespace

PosixSerialDevice::PosixSerialDevice(UniqueFd fd, std::shared_ptr<ModemLineIo> io)
    : fd_(std::move(fd)), io_(std::move(io)) {}

PosixSerialDevice::~PosixSerialDevice() {
    if (!fd_) {
        return;
    }
    // Drop the lines even when another descriptor keeps the tty open (HUPCL
    // acts only on the last close).
    io_->lower(fd(), TIOCM_DTR | TIOCM_RTS);
    release();
}

void PosixSerialDevice::release() {
    // Unsent output would make close() wait for the port to drain.
    ::tcflush(fd(), TCIOFLUSH);
    // The exclusive flag outlives us while anyone else holds the tty.
    ::ioctl(fd(), TIOCNXCL);
    fd_.reset();
    pending_.clear();
}

void PosixSerialDevice::removed() {
    if (fd_) {
        release();
    }
    Raise(kErrDeviceRemoved);
}

void PosixSerialDevice::fail(int err) {
    const int number = IoFailure(err);
    if (number == kErrDeviceRemoved) {
        removed();
    }
    Raise(number);
}

void PosixSerialDevice::requireOpen() const {
    if (!fd_) {
        Raise(kErrDeviceRemoved);
    }
}

void PosixSerialDevice::checkLine() {
    requireOpen();
    pollfd p{fd(), POLLIN, 0};
    if (::poll(&p, 1, 0) < 0) {
        fail(errno);
    }
    if ((p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
        removed();
    }
}

void PosixSerialDevice::flushOutput() {
    while (!pending_.empty()) {
        const ssize_t n = ::write(fd(), pending_.data(), pending_.size());
        if (n > 0) {
            pending_.erase(0, static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            fail(errno);
        }
        return;
    }
}

void PosixSerialDevice::configure(const LineSettings& settings) {
    checkLine();
    termios tio{};
    if (::tcgetattr(fd(), &tio) != 0) {
        fail(errno);
    }
    MakeRawLine(tio, settings);
    if (::tcsetattr(fd(), TCSANOW, &tio) != 0) {
        if (errno == EINVAL) {
            Raise(kErrSettingsRefused);
        }
        fail(errno);
    }
    if (const int err = SetLineSpeed(fd(), settings.baud); err != 0) {
        if (err == EINVAL) {
            Raise(kErrSettingsRefused);
        }
        fail(err);
    }
    const auto actual = ReadLineSpeed(fd());
    if (!actual) {
        fail(errno);
    }
    if (!SpeedMatches(settings.baud, *actual)) {
        Raise(kErrSettingsRefused);
    }
    // Some drivers touch the lines on a settings change; put back ours.
    if (dtr_) {
        setLine(TIOCM_DTR, *dtr_);
    }
    if (rts_) {
        setLine(TIOCM_RTS, *rts_);
    }
}

bool PosixSerialDevice::setLine(int bit, bool on) {
    const int err = on ? io_->raise(fd(), bit) : io_->lower(fd(), bit);
    // A pseudo-terminal has no lines to drive.
    if (err == ENOTTY || err == EINVAL) {
        return false;
    }
    if (err != 0) {
        fail(err);
    }
    return true;
}

void PosixSerialDevice::applyLines(bool dtr, bool rts) {
    checkLine();
    setLine(TIOCM_DTR, dtr);
    dtr_ = dtr;
    setLine(TIOCM_RTS, rts);
    rts_ = rts;
}

void PosixSerialDevice::setOutputLine(int bit, bool on, std::optional<bool>& setting) {
    checkLine();
    const bool driven = setLine(bit, on);
    setting = on;
    if (!driven) {
        Raise(kErrLineNotSet);
    }
}

void PosixSerialDevice::setDtr(bool on) {
    setOutputLine(TIOCM_DTR, on, dtr_);
}

void PosixSerialDevice::setRts(bool on) {
    setOutputLine(TIOCM_RTS, on, rts_);
}

// The calls made on every receive tick (lines, inputCount, outputCount) skip
// the hang-up poll: on a hung-up tty each of their ioctls fails with EIO,
// which reports the removal just the same.
std::optional<ModemLines> PosixSerialDevice::lines() {
    requireOpen();
    flushOutput();
    if (!reportsLines_) {
        return std::nullopt;
    }
    int bits = 0;
    if (const int err = io_->get(fd(), bits); err != 0) {
        if (err == ENOTTY || err == EINVAL) {
            // A tty without modem lines never gains them.
            reportsLines_ = false;
            return std::nullopt;
        }
        fail(err);
    }
    return ModemLines{(bits & TIOCM_DSR) != 0, (bits & TIOCM_CTS) != 0, (bits & TIOCM_CAR) != 0};
}

std::size_t PosixSerialDevice::inputCount() {
    requireOpen();
    flushOutput();
    int count = 0;
    if (::ioctl(fd(), FIONREAD, &count) != 0) {
        fail(errno);
    }
    return static_cast<std::size_t>(count);
}

std::vector<std::uint8_t> PosixSerialDevice::readAll() {
    requireOpen();
    flushOutput();
    // Takes what the kernel holds now and never waits for more: a burst
    // larger than its buffers comes over several calls, in order.
    std::vector<std::uint8_t> bytes;
    std::array<std::uint8_t, 16384> chunk;
    while (bytes.size() < kMaxReadAll) {
        const std::size_t room = std::min(chunk.size(), kMaxReadAll - bytes.size());
        const ssize_t n = ::read(fd(), chunk.data(), room);
        if (n > 0) {
            bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + n);
            // A read hands over at most what the line discipline holds; less
            // than that means it was drained, and what comes later is the
            // next call's. A module talking steadily costs one read a call.
            if (static_cast<std::size_t>(n) < kLineDisciplineBuffer) {
                break;
            }
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        // With VMIN and VTIME 0 an empty tty reads 0; EAGAIN means the same.
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            fail(errno);
        }
        break;
    }
    // A hung-up tty reads 0 as well: only when nothing came is the hang-up
    // asked after.
    if (bytes.empty()) {
        checkLine();
    }
    return bytes;
}

void PosixSerialDevice::write(std::string_view bytes) {
    checkLine();
    drained_ = false;
    pending_.append(bytes);
    flushOutput();
}

std::size_t PosixSerialDevice::outputCount() {
    requireOpen();
    // Nothing joins the output queue but our writes: once it was seen empty,
    // it stays empty until the next one, and the tick need not ask again.
    if (drained_) {
        return 0;
    }
    flushOutput();
    int queued = 0;
    if (::ioctl(fd(), TIOCOUTQ, &queued) != 0) {
        fail(errno);
    }
    const std::size_t count = pending_.size() + static_cast<std::size_t>(queued);
    drained_ = count == 0;
    return count;
}

bool PosixSerialDevice::waitReadable(std::chrono::milliseconds timeout) const {
    if (!fd_) {
        return false;
    }
    pollfd p{fd(), POLLIN, 0};
    int ready = 0;
    do {
        ready = ::poll(&p, 1, static_cast<int>(timeout.count()));
    } while (ready < 0 && errno == EINTR);
    return ready > 0;
}

}  // namespace platform::posix
