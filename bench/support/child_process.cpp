#include "bench/support/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace bench {
namespace {

using Clock = std::chrono::steady_clock;

void Fail(const char* what) {
    std::perror(what);
    std::exit(1);
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& arguments) {
    std::array<int, 2> in{};
    std::array<int, 2> out{};
    if (pipe2(in.data(), O_CLOEXEC) != 0 || pipe2(out.data(), O_CLOEXEC) != 0) {
        Fail("pipe");
    }
    std::vector<char*> argv;
    std::string self = "/proc/self/exe";
    argv.push_back(self.data());
    std::vector<std::string> copies = arguments;
    for (std::string& argument : copies) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    pid_ = fork();
    if (pid_ < 0) {
        Fail("fork");
    }
    if (pid_ == 0) {
        dup2(in[0], STDIN_FILENO);
        dup2(out[1], STDOUT_FILENO);
        execv(self.c_str(), argv.data());
        _exit(127);
    }
    close(in[0]);
    close(out[1]);
    toChild_ = in[1];
    fromChild_ = out[0];
}

ChildProcess::~ChildProcess() {
    finish();
}

void ChildProcess::send(const std::string& line) {
    const std::string text = line + "\n";
    if (toChild_ >= 0 && write(toChild_, text.data(), text.size()) < 0) {
        Fail("write to child");
    }
}

std::optional<std::string> ChildProcess::readLine(std::chrono::milliseconds timeout) {
    const auto end = Clock::now() + timeout;
    while (true) {
        const auto newline = buffered_.find('\n');
        if (newline != std::string::npos) {
            std::string line = buffered_.substr(0, newline);
            buffered_.erase(0, newline + 1);
            return line;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
        if (fromChild_ < 0 || left.count() <= 0) {
            return std::nullopt;
        }
        pollfd p{fromChild_, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left.count())) <= 0) {
            continue;
        }
        std::array<char, 4096> chunk{};
        const ssize_t n = read(fromChild_, chunk.data(), chunk.size());
        if (n <= 0) {
            close(fromChild_);
            fromChild_ = -1;
            continue;
        }
        buffered_.append(chunk.data(), static_cast<std::size_t>(n));
    }
}

void ChildProcess::finish() {
    if (pid_ <= 0) {
        return;
    }
    if (toChild_ >= 0) {
        close(toChild_);
        toChild_ = -1;
    }
    int status = 0;
    for (int i = 0; i < 100 && waitpid(pid_, &status, WNOHANG) == 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (waitpid(pid_, &status, WNOHANG) == 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &status, 0);
    }
    pid_ = -1;
    if (fromChild_ >= 0) {
        close(fromChild_);
        fromChild_ = -1;
    }
}

}  // namespace bench
