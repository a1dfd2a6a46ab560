#include "tests/support/tc35sim_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

extern char** environ;

namespace test_support {
namespace {

constexpr long long kStartTimeoutMs = 10'000;

long long NowMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1'000'000;
}

// Reads until the first line break, the end of the output or the time limit.
std::string FirstLine(int fd) {
    std::string got;
    const long long end = NowMs() + kStartTimeoutMs;
    while (got.find('\n') == std::string::npos) {
        const long long left = end - NowMs();
        pollfd readable{fd, POLLIN, 0};
        if (left <= 0 || poll(&readable, 1, static_cast<int>(left)) <= 0) {
            break;
        }
        char bytes[256];
        const ssize_t count = read(fd, bytes, sizeof bytes);
        if (count <= 0) {
            break;
        }
        got.append(bytes, static_cast<std::size_t>(count));
    }
    return got;
}

}  // namespace

Tc35SimProcess::Tc35SimProcess(const std::string& program, std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), program);
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
    if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) {
        pid_ = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (pid_ > 0) {
        output_ = FirstLine(out[0]);
    }
    close(out[0]);
}

Tc35SimProcess::~Tc35SimProcess() {
    stop();
}

int Tc35SimProcess::stop() {
    if (pid_ <= 0) {
        return -1;
    }
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace test_support
