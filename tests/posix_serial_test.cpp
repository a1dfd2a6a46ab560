#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/mscomm.h"
#include "platform/posix/line_speed.h"
#include "platform/posix/modem_line_io.h"
#include "platform/posix/posix_serial_device.h"
#include "platform/posix/posix_serial_ports.h"
#include "platform/posix/raw_line.h"
#include "platform/posix/serial_errno.h"
#include "platform/posix/unique_fd.h"
#include "platform/runtime_error.h"
#include "platform/utf.h"
#include "tests/support/run_time_error.h"

namespace {

using test_support::ErrorOf;
using namespace std::chrono_literals;
using platform::MSComm;
using platform::posix::ModemLineIo;
using platform::posix::PosixSerialDevice;
using platform::posix::PosixSerialPorts;
using platform::posix::UniqueFd;

constexpr auto kTimeout = 10s;
constexpr int kPort = 3;

int MillisLeft(std::chrono::steady_clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

// The far end of a pseudo-terminal: the test holds the master, the program
// opens the slave.
class PtyPair {
  public:
    PtyPair() : master_(::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)) {
        if (!master_ || ::grantpt(master_.get()) != 0 || ::unlockpt(master_.get()) != 0) {
            ADD_FAILURE() << "no pseudo-terminal: " << errno;
            return;
        }
        char name[128] = {};
        if (::ptsname_r(master_.get(), name, sizeof name) == 0) {
            slave_ = name;
        }
    }

    int master() const { return master_.get(); }
    const std::string& slave() const { return slave_; }
    void closeMaster() { master_.reset(); }

    void write(std::string_view bytes) const {
        const auto deadline = std::chrono::steady_clock::now() + kTimeout;
        while (!bytes.empty()) {
            pollfd p{master(), POLLOUT, 0};
            ASSERT_GT(::poll(&p, 1, MillisLeft(deadline)), 0) << "master not writable";
            const ssize_t n = ::write(master(), bytes.data(), bytes.size());
            ASSERT_TRUE(n > 0 || errno == EAGAIN) << errno;
            if (n > 0) {
                bytes.remove_prefix(static_cast<std::size_t>(n));
            }
        }
    }

    // Reads until `count` bytes came or the time is up; `pump` runs before
    // each wait, so that the program can hand over what it still holds.
    std::string read(std::size_t count, const std::function<void()>& pump = {}) const {
        std::string got;
        const auto deadline = std::chrono::steady_clock::now() + kTimeout;
        std::vector<char> chunk(65536);
        while (got.size() < count) {
            if (pump) {
                pump();
            }
            pollfd p{master(), POLLIN, 0};
            if (::poll(&p, 1, MillisLeft(deadline)) <= 0) {
                break;
            }
            const ssize_t n = ::read(master(), chunk.data(), chunk.size());
            if (n > 0) {
                got.append(chunk.data(), static_cast<std::size_t>(n));
            } else if (n < 0 && errno != EAGAIN) {
                break;
            }
        }
        return got;
    }

    bool readable() const {
        pollfd p{master(), POLLIN, 0};
        return ::poll(&p, 1, 0) > 0;
    }

  private:
    UniqueFd master_;
    std::string slave_;
};

class TempFolder {
  public:
    TempFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "korvel-serial-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) {
            path_ = pattern;
        }
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& path() const { return path_; }
    void link(int port, const std::string& target) const {
        std::filesystem::create_symlink(target, path_ / ("COM" + std::to_string(port)));
    }

  private:
    std::filesystem::path path_;
};

// Passes opens on and keeps a view of the last device, so a test can wait on
// its descriptor while the control owns it.
class WatchingOpener final : public platform::SerialPortOpener {
  public:
    explicit WatchingOpener(platform::SerialPortOpener& inner) : inner_(inner) {}
    std::unique_ptr<platform::SerialDevice> open(int port, const platform::LineSettings& settings,
                                                 bool dtr, bool rts) override {
        auto device = inner_.open(port, settings, dtr, rts);
        last = dynamic_cast<PosixSerialDevice*>(device.get());
        return device;
    }
    PosixSerialDevice* last = nullptr;

  private:
    platform::SerialPortOpener& inner_;
};

std::string Text(const std::vector<std::uint8_t>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

std::int32_t MasterSpeed(const PtyPair& pty) {
    // Termios requests on the master act on the slave.
    return platform::posix::ReadLineSpeed(pty.master()).value_or(-1);
}

class PosixSerialTest : public ::testing::Test {
  protected:
    PosixSerialTest() {
        folder.link(kPort, pty.slave());
        comm.setCommPort(kPort);
    }

    // Waits until the slave has input for the program.
    void waitForInput() const {
        ASSERT_NE(opener.last, nullptr);
        ASSERT_TRUE(opener.last->waitReadable(kTimeout)) << "no input arrived";
    }

    PtyPair pty;
    TempFolder folder;
    PosixSerialPorts ports{folder.path().string()};
    WatchingOpener opener{ports};
    MSComm comm{opener};
};

TEST_F(PosixSerialTest, OpensThroughTheLinkAndCarriesRawBytesBothWays) {
    comm.setPortOpen(true);
    ASSERT_TRUE(comm.PortOpen());

    comm.setOutput(u"AT\r\n\u4E2D");
    EXPECT_EQ(pty.read(6), "AT\r\n\xD6\xD0");

    const std::string reply("\r\nOK\r\n\x03\x04\x11\x13\x1A\x7F\x00\xFF", 14);
    pty.write(reply);
    waitForInput();
    EXPECT_EQ(comm.InBufferCount(), static_cast<std::int16_t>(reply.size()));
    EXPECT_EQ(Text(comm.Input()), reply);
    EXPECT_EQ(comm.InBufferCount(), 0);
    EXPECT_FALSE(pty.readable()) << "the port echoed input";
}

TEST_F(PosixSerialTest, ASecondOpenIsRefusedUntilTheFirstCloses) {
    MSComm other(opener);
    other.setCommPort(kPort);
    comm.setPortOpen(true);
    EXPECT_EQ(ErrorOf([&] { other.setPortOpen(true); }), platform::kErrPortInUse);
    EXPECT_FALSE(other.PortOpen());

    comm.setPortOpen(false);
    other.setPortOpen(true);
    EXPECT_TRUE(other.PortOpen());
    other.setOutput(u"x");
    EXPECT_EQ(pty.read(1), "x");
}

TEST_F(PosixSerialTest, APortLockedByAnotherProgramIsInUse) {
    UniqueFd holder(::open(pty.slave().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    ASSERT_TRUE(holder);
    ASSERT_EQ(::flock(holder.get(), LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(ErrorOf([&] { comm.setPortOpen(true); }), platform::kErrPortInUse);
    holder.reset();
    comm.setPortOpen(true);
    EXPECT_TRUE(comm.PortOpen());
}

class PosixBurstTest : public PosixSerialTest, public ::testing::WithParamInterface<std::size_t> {};

TEST_P(PosixBurstTest, LargerThanTheKernelBuffersArrivesWholeAndInOrderOverSeveralInputs) {
    comm.setPortOpen(true);
    std::string burst(GetParam(), '\0');
    for (std::size_t i = 0; i < burst.size(); ++i) {
        burst[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
    }
    // A pseudo-terminal holds less than this, so the peer goes on writing
    // while the program reads, one Input a tick.
    std::jthread peer([&] { pty.write(burst); });
    std::string got;
    const auto deadline = std::chrono::steady_clock::now() + kTimeout;
    while (got.size() < burst.size() && MillisLeft(deadline) > 0) {
        waitForInput();
        got += Text(comm.Input());
    }
    peer.join();
    ASSERT_EQ(got.size(), burst.size());
    EXPECT_EQ(got, burst);
    EXPECT_EQ(comm.InBufferCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Sizes, PosixBurstTest,
                         ::testing::Values(18 * 1024, 64 * 1024, 256 * 1024));

TEST_F(PosixSerialTest, InputEndsWhileThePeerKeepsSending) {
    comm.setPortOpen(true);
    // A backlog larger than the line discipline holds, then a module that
    // keeps talking: 40 bytes every 2 ms for up to 5 s.
    pty.write(std::string(5000, 'b'));
    std::atomic<bool> inputReturned = false;
    std::atomic<bool> peerGaveUp = false;
    std::jthread peer([&] {
        const auto end = std::chrono::steady_clock::now() + 5s;
        while (!inputReturned) {
            if (std::chrono::steady_clock::now() >= end) {
                peerGaveUp = true;
                return;
            }
            pty.write(std::string(40, 's'));
            ::poll(nullptr, 0, 2);
        }
    });
    waitForInput();
    const std::vector<std::uint8_t> got = comm.Input();
    inputReturned = true;
    peer.join();
    EXPECT_FALSE(peerGaveUp) << "Input waited for as long as the peer kept sending";
    EXPECT_FALSE(got.empty());
}

TEST_F(PosixSerialTest, OutputLargerThanTheKernelTakesArrivesWholeAndInOrder) {
    comm.setPortOpen(true);
    std::u16string text(256 * 1024, u' ');
    std::string expected(text.size(), ' ');
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = static_cast<char>(0x20 + (i * 13 + i / 95) % 95);
        text[i] = static_cast<char16_t>(c);
        expected[i] = c;
    }
    const auto before = std::chrono::steady_clock::now();
    comm.setOutput(text);
    EXPECT_LT(std::chrono::steady_clock::now() - before, 2s) << "the write blocked";
    EXPECT_GT(comm.OutBufferCount(), 0);

    const std::string got = pty.read(expected.size(), [&] { comm.OutBufferCount(); });
    ASSERT_EQ(got.size(), expected.size());
    EXPECT_EQ(got, expected);
    EXPECT_EQ(comm.OutBufferCount(), 0);

    // A drained queue counts again from the next write on.
    comm.setOutput(text);
    EXPECT_GT(comm.OutBufferCount(), 0);
    EXPECT_EQ(pty.read(expected.size(), [&] { comm.OutBufferCount(); }), expected);
    EXPECT_EQ(comm.OutBufferCount(), 0);
}

class PosixSpeedTest : public PosixSerialTest, public ::testing::WithParamInterface<int> {};

TEST_P(PosixSpeedTest, IsSetExactlyAtOpenAndWhileOpen) {
    const std::u16string settings = platform::FromUtf8(std::to_string(GetParam())) + u",N,8,1";
    comm.setSettings(settings);
    comm.setPortOpen(true);
    EXPECT_EQ(MasterSpeed(pty), GetParam());

    comm.setSettings(u"9600,N,8,1");
    EXPECT_EQ(MasterSpeed(pty), 9600);
    comm.setSettings(settings);
    EXPECT_EQ(MasterSpeed(pty), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Speeds, PosixSpeedTest,
                         ::testing::Values(50, 75, 110, 300, 1200, 14400, 19200, 28800, 57600,
                                           115200, 128000, 230400, 256000, 12345));

TEST_F(PosixSerialTest, OpensRawWithoutFlowControl) {
    comm.setPortOpen(true);
    termios tio{};
    ASSERT_EQ(::tcgetattr(pty.master(), &tio), 0);
    EXPECT_EQ(tio.c_cflag & (CSIZE | PARENB | CSTOPB), CS8);
    EXPECT_EQ(tio.c_cflag & (CLOCAL | CREAD | HUPCL), CLOCAL | CREAD | HUPCL);
    EXPECT_EQ(tio.c_cflag & CRTSCTS, 0u);
    EXPECT_EQ(tio.c_iflag & (IXON | IXOFF | IXANY | ICRNL | INLCR | IGNCR | ISTRIP | INPCK), 0u);
    EXPECT_EQ(tio.c_oflag & OPOST, 0u);
    EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
    EXPECT_EQ(tio.c_cc[VMIN], 0);
    EXPECT_EQ(tio.c_cc[VTIME], 0);
}

// A pseudo-terminal keeps only 8 bits without parity, so the frame is checked
// on the request itself.
struct Frame {
    const char* name;
    platform::LineSettings settings;
    tcflag_t size;
    tcflag_t parity;
    bool twoStops;
};

class RawLineFrameTest : public ::testing::TestWithParam<Frame> {};

TEST_P(RawLineFrameTest, SetsTheFrameAndLeavesTheSpeedAlone) {
    termios tio{};
    tio.c_iflag = ICRNL | IXON | IXOFF | INPCK | ISTRIP | BRKINT;
    tio.c_oflag = OPOST | ONLCR;
    tio.c_lflag = ICANON | ECHO | ISIG | IEXTEN;
    tio.c_cflag = CS7 | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS;
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 5;
    cfsetospeed(&tio, B38400);
    cfsetispeed(&tio, B38400);

    platform::posix::MakeRawLine(tio, GetParam().settings);
    EXPECT_EQ(tio.c_cflag & CSIZE, GetParam().size);
    EXPECT_EQ(tio.c_cflag & (PARENB | PARODD | CMSPAR), GetParam().parity);
    EXPECT_EQ((tio.c_cflag & CSTOPB) != 0, GetParam().twoStops);
    EXPECT_EQ(tio.c_cflag & (CLOCAL | CREAD | HUPCL | CRTSCTS), CLOCAL | CREAD | HUPCL);
    EXPECT_EQ(tio.c_iflag & (IXON | IXOFF | IXANY | ICRNL | ISTRIP | INPCK | BRKINT), 0u);
    EXPECT_EQ(tio.c_oflag & OPOST, 0u);
    EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
    EXPECT_EQ(tio.c_cc[VMIN], 0);
    EXPECT_EQ(tio.c_cc[VTIME], 0);
    EXPECT_EQ(cfgetospeed(&tio), static_cast<speed_t>(B38400));
}

using platform::Parity;
using platform::StopBits;

INSTANTIATE_TEST_SUITE_P(
    Frames, RawLineFrameTest,
    ::testing::Values(
        Frame{"N81", {9600, Parity::None, 8, StopBits::One}, CS8, 0, false},
        Frame{"E72", {9600, Parity::Even, 7, StopBits::Two}, CS7, PARENB, true},
        Frame{"O515", {9600, Parity::Odd, 5, StopBits::OneAndHalf}, CS5, PARENB | PARODD, true},
        Frame{"M81", {9600, Parity::Mark, 8, StopBits::One}, CS8, PARENB | PARODD | CMSPAR, false},
        Frame{"S61", {9600, Parity::Space, 6, StopBits::One}, CS6, PARENB | CMSPAR, false}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(PosixSerialTest, AMalformedSettingsStringIsRefusedAndTheLineKeepsItsSpeed) {
    comm.setSettings(u"14400,N,8,1");
    comm.setPortOpen(true);
    EXPECT_EQ(ErrorOf([&] { comm.setSettings(u"9600,N,8"); }), platform::kErrInvalidPropertyValue);
    EXPECT_EQ(MasterSpeed(pty), 14400);
    EXPECT_EQ(comm.Settings(), u"14400,N,8,1");
}

TEST_F(PosixSerialTest, APeerHangingUpRaisesDeviceRemovedAndThePortStillCloses) {
    comm.setPortOpen(true);
    pty.write("partial");
    pty.closeMaster();
    const std::vector<std::function<void()>> calls = {
        [&] { comm.InBufferCount(); },  [&] { comm.Input(); },
        [&] { comm.OutBufferCount(); }, [&] { comm.setOutput(u"AT\r"); },
        [&] { comm.DSRHolding(); },     [&] { comm.setSettings(u"9600,N,8,1"); },
    };
    for (std::size_t i = 0; i < calls.size(); ++i) {
        EXPECT_EQ(ErrorOf(calls[i]), platform::kErrDeviceRemoved) << "call " << i;
    }
    EXPECT_TRUE(comm.PortOpen());
    comm.setPortOpen(false);
    EXPECT_FALSE(comm.PortOpen());
}

TEST_F(PosixSerialTest, APseudoTerminalOpensButCannotReportOrSetItsLines) {
    comm.setPortOpen(true);
    EXPECT_EQ(ErrorOf([&] { comm.DSRHolding(); }), platform::kErrLinesNotReported);
    EXPECT_EQ(ErrorOf([&] { comm.CTSHolding(); }), platform::kErrLinesNotReported);
    EXPECT_EQ(ErrorOf([&] { comm.CDHolding(); }), platform::kErrLinesNotReported);
    EXPECT_EQ(comm.LineSample(), std::nullopt);
    // The failure says what the operator asked for; the setting stays the control's.
    EXPECT_EQ(ErrorOf([&] { comm.setDTREnable(false); }), platform::kErrLineNotSet);
    EXPECT_EQ(ErrorOf([&] { comm.setRTSEnable(true); }), platform::kErrLineNotSet);
    EXPECT_FALSE(comm.DTREnable());
    EXPECT_TRUE(comm.RTSEnable());
    // A speed change still works on such a device.
    EXPECT_EQ(ErrorOf([&] { comm.setSettings(u"19200,N,8,1"); }), 0);
}

// Stands in for the hardware lines and notes the speed in force at each call.
class FakeModemLines final : public ModemLineIo {
  public:
    struct Call {
        char op;  // '+' raise, '-' lower
        int bits;
        std::int32_t baud;
        bool operator==(const Call&) const = default;
    };

    int get(int, int& out) override {
        out = bits;
        return 0;
    }
    int raise(int fd, int which) override { return note('+', fd, which); }
    int lower(int fd, int which) override { return note('-', fd, which); }

    int bits = 0;
    std::vector<Call> calls;

  private:
    int note(char op, int fd, int which) {
        calls.push_back(Call{op, which, platform::posix::ReadLineSpeed(fd).value_or(-1)});
        return 0;
    }
};

std::ostream& operator<<(std::ostream& out, const FakeModemLines::Call& c) {
    return out << c.op << c.bits << "@" << c.baud;
}

class PosixModemLinesTest : public ::testing::Test {
  protected:
    PosixModemLinesTest() {
        folder.link(kPort, pty.slave());
        comm.setCommPort(kPort);
    }

    PtyPair pty;
    TempFolder folder;
    std::shared_ptr<FakeModemLines> lines = std::make_shared<FakeModemLines>();
    PosixSerialPorts ports{folder.path().string(), lines};
    MSComm comm{ports};
};

TEST_F(PosixModemLinesTest, LinesSetWhileClosedReachTheDeviceAfterTheSettings) {
    using Call = FakeModemLines::Call;
    comm.setSettings(u"300,N,8,1");
    comm.setDTREnable(false);
    comm.setRTSEnable(true);
    EXPECT_TRUE(lines->calls.empty());

    comm.setPortOpen(true);
    EXPECT_EQ(lines->calls, (std::vector<Call>{{'-', TIOCM_DTR, 300}, {'+', TIOCM_RTS, 300}}));

    // A new speed puts the lines back as last set.
    lines->calls.clear();
    comm.setSettings(u"1200,N,8,1");
    EXPECT_EQ(lines->calls, (std::vector<Call>{{'-', TIOCM_DTR, 1200}, {'+', TIOCM_RTS, 1200}}));

    lines->calls.clear();
    comm.setDTREnable(true);
    comm.setPortOpen(false);
    EXPECT_EQ(lines->calls,
              (std::vector<Call>{{'+', TIOCM_DTR, 1200}, {'-', TIOCM_DTR | TIOCM_RTS, 1200}}));
}

struct InputLines {
    int bits;
    bool dsr, cts, cd;
};

class PosixInputLinesTest : public PosixModemLinesTest,
                            public ::testing::WithParamInterface<InputLines> {};

TEST_P(PosixInputLinesTest, HoldingLinesReadAsTheDeviceReportsThem) {
    comm.setPortOpen(true);
    lines->bits = GetParam().bits;
    EXPECT_EQ(comm.DSRHolding(), GetParam().dsr);
    EXPECT_EQ(comm.CTSHolding(), GetParam().cts);
    EXPECT_EQ(comm.CDHolding(), GetParam().cd);
}

INSTANTIATE_TEST_SUITE_P(
    Bits, PosixInputLinesTest,
    ::testing::Values(InputLines{0, false, false, false}, InputLines{TIOCM_DSR, true, false, false},
                      InputLines{TIOCM_CTS, false, true, false},
                      InputLines{TIOCM_CAR, false, false, true},
                      InputLines{TIOCM_RNG | TIOCM_DTR | TIOCM_RTS, false, false, false},
                      InputLines{TIOCM_DSR | TIOCM_CTS | TIOCM_CAR, true, true, true}));

struct OpenFailure {
    const char* name;
    std::string target;  // empty: no link at all
    int port;
    int error;
};

class PosixOpenFailureTest : public ::testing::TestWithParam<OpenFailure> {};

TEST_P(PosixOpenFailureTest, RaisesTheMatchingNumber) {
    TempFolder folder;
    if (!GetParam().target.empty()) {
        folder.link(GetParam().port, GetParam().target);
    }
    PosixSerialPorts ports(folder.path().string());
    EXPECT_EQ(ErrorOf([&] { ports.open(GetParam().port, {}, true, false); }), GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Targets, PosixOpenFailureTest,
    ::testing::Values(OpenFailure{"NotASerialPort", "/dev/null", 1, platform::kErrNotASerialPort},
                      OpenFailure{"MissingTarget", "/nonexistent/ttyKORVEL9", 2,
                                  platform::kErrLinkTargetMissing},
                      OpenFailure{"PortZero", "", 0, platform::kErrInvalidPortNumber},
                      OpenFailure{"Port17", "", 17, platform::kErrInvalidPortNumber}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(PosixOpenFailure, ADanglingLinkIsNamedWithItsMissingTarget) {
    TempFolder folder;
    folder.link(2, "/nonexistent/ttyKORVEL9");
    PosixSerialPorts ports(folder.path().string());
    try {
        ports.open(2, {}, true, false);
        FAIL() << "the open succeeded";
    } catch (const platform::RuntimeError& error) {
        EXPECT_EQ(error.text(), u"找不到串口设备:链接 " +
                                    platform::FromUtf8((folder.path() / "COM2").string()) +
                                    u" 指向的 /nonexistent/ttyKORVEL9 不存在");
    }
}

TEST(PosixDevicePath, TakesTheLinkInTheProgramFolderElseTheSystemPort) {
    TempFolder folder;
    folder.link(2, "/nonexistent/ttyKORVEL9");
    const std::string base = folder.path().string();
    EXPECT_EQ(platform::posix::DevicePath(base, 2), (folder.path() / "COM2").string());
    EXPECT_EQ(platform::posix::DevicePath(base, 1), "/dev/ttyS0");
    EXPECT_EQ(platform::posix::DevicePath(base, 16), "/dev/ttyS15");
}

TEST(PosixSerialErrors, MapErrnoToRunTimeErrors) {
    struct Case {
        int err, atOpen, later;
    };
    const Case cases[] = {
        {ENOENT, platform::kErrNoSuchDevice, platform::kErrSerialIo},
        {ENXIO, platform::kErrNoSuchDevice, platform::kErrDeviceRemoved},
        {ENODEV, platform::kErrNoSuchDevice, platform::kErrDeviceRemoved},
        {EIO, platform::kErrNoSuchDevice, platform::kErrDeviceRemoved},
        {ENOTTY, platform::kErrNotASerialPort, platform::kErrSerialIo},
        {EACCES, platform::kErrPermissionDenied, platform::kErrSerialIo},
        {EPERM, platform::kErrPermissionDenied, platform::kErrSerialIo},
        {EBUSY, platform::kErrPortInUse, platform::kErrSerialIo},
        {EAGAIN, platform::kErrPortInUse, platform::kErrSerialIo},
        {EISDIR, platform::kErrSerialIo, platform::kErrSerialIo},
        {EINVAL, platform::kErrSerialIo, platform::kErrSerialIo},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(platform::posix::OpenFailure(c.err), c.atOpen) << "errno " << c.err;
        EXPECT_EQ(platform::posix::IoFailure(c.err), c.later) << "errno " << c.err;
    }
}

}  // namespace
