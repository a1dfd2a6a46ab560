#include "platform/posix/posix_serial_ports.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <utility>

#include "platform/posix/posix_serial_device.h"
#include "platform/posix/serial_errno.h"
#include "platform/posix/unique_fd.h"
#include "platform/runtime_error.h"
#include "platform/utf.h"

namespace platform::posix {
namespace {

constexpr int kMinPort = 1;
constexpr int kMaxPort = 16;

// A COM<n> link that points nowhere: the operator made the link, so the
// message names it and where it points rather than advising to make one.
[[noreturn]] void RaiseOpenFailure(int err, const std::string& path) {
    std::error_code error;
    if (err == ENOENT && std::filesystem::is_symlink(path, error)) {
        const std::filesystem::path target = std::filesystem::read_symlink(path, error);
        if (!error) {
            Raise(kErrLinkTargetMissing, u"找不到串口设备:链接 " + FromUtf8(path) + u" 指向的 " +
                                             FromUtf8(target.string()) + u" 不存在");
        }
    }
    Raise(OpenFailure(err));
}

}  // namespace

std::string DevicePath(const std::string& programFolder, int port) {
    const std::filesystem::path link =
        std::filesystem::path(programFolder) / ("COM" + std::to_string(port));
    std::error_code error;
    // A dangling link still names the port; opening it then reports the
    // missing device.
    if (std::filesystem::exists(std::filesystem::symlink_status(link, error))) {
        return link.string();
    }
    return "/dev/ttyS" + std::to_string(port - 1);
}

PosixSerialPorts::PosixSerialPorts(std::string programFolder, std::shared_ptr<ModemLineIo> io)
    : folder_(std::move(programFolder)), io_(std::move(io)) {}

std::unique_ptr<SerialDevice> PosixSerialPorts::open(int port, const LineSettings& settings,
                                                     bool dtr, bool rts) {
    if (port < kMinPort || port > kMaxPort) {
        Raise(kErrInvalidPortNumber);
    }
    const std::string path = DevicePath(folder_, port);
    UniqueFd fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (!fd) {
        RaiseOpenFailure(errno, path);
    }
    termios tio{};
    if (::tcgetattr(fd.get(), &tio) != 0) {
        Raise(errno == ENOTTY || errno == EINVAL ? kErrNotASerialPort : OpenFailure(errno));
    }
    // TIOCEXCL does not stop root; the lock stops every program that locks.
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
        Raise(errno == EWOULDBLOCK ? kErrPortInUse : OpenFailure(errno));
    }
    ::ioctl(fd.get(), TIOCEXCL);
    auto device = std::make_unique<PosixSerialDevice>(std::move(fd), io_);
    // The kernel raised both lines at open and settings calls may reset them,
    // so the lines come last.
    device->configure(settings);
    device->applyLines(dtr, rts);
    return device;
}

}  // namespace platform::posix
