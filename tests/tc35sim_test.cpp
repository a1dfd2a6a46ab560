// The tc35sim program on a real pseudo-terminal, driven with plain POSIX calls.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#ifndef TC35SIM_PATH
#error "TC35SIM_PATH names the tc35sim program"
#endif

extern char** environ;

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

class TempDir {
  public:
    TempDir() {
        std::string pattern = testing::TempDir() + "tc35simXXXXXX";
        path_ = mkdtemp(pattern.data()) ? pattern : std::string{};
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

class Simulator {
  public:
    explicit Simulator(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), TC35SIM_PATH);
        std::vector<char*> argv;
        for (std::string& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        int out[2];
        if (pipe2(out, O_CLOEXEC) != 0) {
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        if (posix_spawn(&pid_, TC35SIM_PATH, &actions, nullptr, argv.data(), environ) != 0) {
            pid_ = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        output_ = ReadUntil(out[0], "\n");
        close(out[0]);
    }
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;
    ~Simulator() { stop(); }

    bool running() const { return pid_ > 0; }
    const std::string& output() const { return output_; }

    // Exit status after SIGTERM, -1 when it did not end normally.
    int stop() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
        }
        return wait();
    }

    int wait() {
        if (pid_ <= 0) {
            return -1;
        }
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

  private:
    pid_t pid_ = -1;
    std::string output_;
};

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
        const TempDir dir;
        ASSERT_FALSE(dir.path().empty());
        const std::string link = dir.path() + "/COM1";
        Simulator simulator{{"--link", link, "--baud", c.baud}};
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
    Simulator simulator{{"--baud", "9600"}};
    EXPECT_EQ(simulator.output(), "");
    EXPECT_EQ(simulator.wait(), 2);
}

}  // namespace
