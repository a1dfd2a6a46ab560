#include "platform/shell.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <optional>
#include <vector>

#include "platform/command_line.h"
#include "platform/file_path.h"
#include "platform/posix/unique_fd.h"
#include "platform/runtime_error.h"

extern char** environ;

namespace platform {
namespace {

using posix::UniqueFd;

bool IsRegularFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// A path names its file (whose rights exec judges); a bare name is looked up
// on PATH, as a shell would.
std::optional<std::string> ResolveProgram(std::u16string_view candidate) {
    const std::string name = FileSystemPath(candidate);
    if (name.empty()) {
        return std::nullopt;
    }
    if (name.find('/') != std::string::npos) {
        return IsRegularFile(name) ? std::optional<std::string>(name) : std::nullopt;
    }
    const char* env = std::getenv("PATH");
    const std::string search = env != nullptr ? env : "/usr/local/bin:/usr/bin:/bin";
    std::size_t pos = 0;
    while (pos <= search.size()) {
        std::size_t colon = search.find(':', pos);
        if (colon == std::string::npos) {
            colon = search.size();
        }
        const std::string folder = colon > pos ? search.substr(pos, colon - pos) : ".";
        const std::string full = folder + "/" + name;
        if (IsRegularFile(full) && ::access(full.c_str(), X_OK) == 0) {
            return full;
        }
        pos = colon + 1;
    }
    return std::nullopt;
}

// What the two child processes report to the caller through the pipe.
struct Report {
    enum Kind : std::int32_t { kStarted = 1, kForkFailed = 2, kExecFailed = 3 };
    std::int32_t kind;
    std::int32_t value;  // the process id, or errno
};

void Send(int fd, Report::Kind kind, std::int32_t value) {
    const Report report{kind, value};
    // A report is far below PIPE_BUF, so it arrives whole or not at all.
    [[maybe_unused]] const ssize_t ignored = ::write(fd, &report, sizeof report);
}

// Runs in the grandchild, between fork and exec: only async-signal-safe calls.
[[noreturn]] void ExecChild(int reportFd, const char* program, char* const* argv) {
    struct sigaction defaults {};
    defaults.sa_handler = SIG_DFL;
    for (int sig = 1; sig < NSIG; ++sig) {
        ::sigaction(sig, &defaults, nullptr);  // ignored signals would survive exec
    }
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    // Keeps descriptors such as an open serial port out of the new program.
    ::close_range(3, ~0u, CLOSE_RANGE_CLOEXEC);
    ::execve(program, argv, environ);
    Send(reportFd, Report::kExecFailed, errno);
    ::_exit(127);
}

// Double fork: the intermediate child starts a new session, forks the
// program and exits at once, so the caller reaps it right away and the
// program is adopted by init, which reaps it when it ends.
pid_t StartDetached(const CommandLine& line) {
    std::vector<std::string> args;
    args.push_back(line.program);
    args.insert(args.end(), line.arguments.begin(), line.arguments.end());
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);

    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        Raise(kErrOutOfMemory);
    }
    UniqueFd readEnd(fds[0]);
    UniqueFd writeEnd(fds[1]);

    const pid_t intermediate = ::fork();
    if (intermediate < 0) {
        Raise(kErrOutOfMemory);
    }
    if (intermediate == 0) {
        ::setsid();
        const pid_t program = ::fork();
        if (program == 0) {
            ExecChild(writeEnd.get(), line.program.c_str(), argv.data());
        }
        if (program < 0) {
            Send(writeEnd.get(), Report::kForkFailed, errno);
        } else {
            Send(writeEnd.get(), Report::kStarted, program);
        }
        ::_exit(0);
    }
    writeEnd.reset();

    // Reads until every write end is gone: the intermediate has exited and
    // the program has either exec'd (closing its end) or reported why not.
    std::optional<pid_t> started;
    std::optional<int> failure;
    std::optional<int> forkFailure;
    for (;;) {
        Report report{};
        const ssize_t got = ::read(readEnd.get(), &report, sizeof report);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got != static_cast<ssize_t>(sizeof report)) {
            break;
        }
        if (report.kind == Report::kStarted) {
            started = report.value;
        } else if (report.kind == Report::kExecFailed) {
            failure = report.value;
        } else {
            forkFailure = report.value;
        }
    }
    int status = 0;
    while (::waitpid(intermediate, &status, 0) < 0 && errno == EINTR) {
    }
    if (forkFailure) {
        Raise(kErrOutOfMemory);
    }
    if (failure || !started) {
        Raise(kErrFileNotFound);
    }
    return *started;
}

}  // namespace

double Shell(std::u16string_view pathName, std::int16_t /*windowStyle*/) {
    if (pathName.find_first_not_of(u" \t") == std::u16string_view::npos) {
        Raise(kErrInvalidCall);
    }
    const auto line = ParseCommandLine(pathName, ResolveProgram);
    if (!line) {
        Raise(kErrFileNotFound);
    }
    return static_cast<double>(StartDetached(*line));
}

std::u16string Dir(std::u16string_view pathName, int attributes) {
    const std::u16string_view name = FileNamePart(pathName);
    if (name.empty()) {
        return {};
    }
    struct stat st {};
    if (::stat(FileSystemPath(pathName).c_str(), &st) != 0) {
        return {};
    }
    const bool wanted =
        S_ISREG(st.st_mode) || (S_ISDIR(st.st_mode) && (attributes & kAttrDirectory) != 0);
    const bool hidden = name.front() == u'.';
    if (!wanted || (hidden && (attributes & kAttrHidden) == 0)) {
        return {};
    }
    return std::u16string(name);
}

}  // namespace platform
