// The tc35sim program on a real pseudo-terminal, driven with plain POSIX calls.
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/tc35sim_process.h"
#include "tests/support/temp_dir.h"

#ifndef TC35SIM_PATH
#error "TC35SIM_PATH names the tc35sim program"
#endif

namespace {

constexpr int kTimeoutMs = 10'000;

long long NowMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1'000'000;
}

// Reads from fd until `text` has arrived or the time is up.
std::string ReadUntil(int fd, std::string_view text) {
    std::string got;
    const long long end = NowMs() + kTimeoutMs;
    while (got.find(text) == std::string::npos) {
        const long long left = end - NowMs();
        pollfd readable{fd, POLLIN, 0};
        if (left <= 0 || poll(&readable, 1, static_cast<int>(left)) <= 0) {
            break;
        }
        char bytes[512];
        const ssize_t count = read(fd, bytes, sizeof bytes);
        if (count <= 0) {
            break;
        }
        got.append(bytes, static_cast<std::size_t>(count));
    }
    return got;
}

int OpenLine(const std::string& path, speed_t speed) {
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY);
    if (fd < 0) {
        return fd;
    }
    termios settings{};
    tcgetattr(fd, &settings);
    cfmakeraw(&settings);
    cfsetspeed(&settings, speed);
    tcsetattr(fd, TCSANOW, &settings);
    return fd;
}

std::string Ask(const std::string& path, speed_t speed, std::string_view command) {
    const int fd = OpenLine(path, speed);
    if (fd < 0) {
        return "cannot open " + path;
    }
    std::string reply;
    if (write(fd, command.data(), command.size()) == static_cast<ssize_t>(command.size())) {
        reply = ReadUntil(fd, "OK\r\n");
    }
    close(fd);
    return reply;
}

TEST(Tc35SimProgram, AnswersOnAPseudoTerminalAtTheSpeedTheProgramSet) {
    const struct {
        const char* baud;
        speed_t speed;
    } cases[] = {{"9600", B9600}, {"19200", B19200}};
    for (const auto& c : cases) {
        const test_support::TempDir dir;
        const std::string link = dir.file("COM1");
        test_support::Tc35SimProcess simulator(TC35SIM_PATH, {"--link", link, "--baud", c.baud});
        ASSERT_TRUE(simulator.running());

        std::error_code error;
        EXPECT_EQ(simulator.output(), std::filesystem::read_symlink(link, error).string() + "\n");
        EXPECT_EQ(Ask(link, c.speed, "AT+CSQ\r\n"), "AT+CSQ\r\r\n+CSQ: 20,99\r\n\r\nOK\r\n")
            << c.baud;
        // The line stays up between two opens.
        EXPECT_EQ(Ask(link, c.speed, "ATI\r\n"),
                  "ATI\r\r\nSIEMENS\r\nTC35i\r\nREVISION 01.05\r\n\r\nOK\r\n")
            << c.baud;

        EXPECT_EQ(simulator.stop(), 0);
        EXPECT_FALSE(std::filesystem::is_symlink(link, error));
    }
}

TEST(Tc35SimProgram, RefusesAMissingLink) {
    test_support::Tc35SimProcess simulator(TC35SIM_PATH, {"--baud", "9600"});
    EXPECT_EQ(simulator.output(), "");
    EXPECT_EQ(simulator.stop(), 2);  // it had already ended with its usage status
}

}  // namespace
