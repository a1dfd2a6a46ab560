#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace bench {

// This program started again with other arguments, talked to by lines over
// its standard input and output. Closing its input asks it to end.
class ChildProcess {
  public:
    explicit ChildProcess(const std::vector<std::string>& arguments);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return pid_; }
    void send(const std::string& line);
    // The next line it writes, without the line feed; nothing after `timeout`
    // or when it has ended.
    std::optional<std::string> readLine(std::chrono::milliseconds timeout);
    // Closes its input and waits for it to end.
    void finish();

  private:
    pid_t pid_ = -1;
    int toChild_ = -1;
    int fromChild_ = -1;
    std::string buffered_;
};

}  // namespace bench
