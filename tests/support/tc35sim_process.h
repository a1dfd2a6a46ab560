#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace test_support {

// The tc35sim program, started with the given arguments and waited for until
// it has linked its pseudo-terminal; stopped with SIGTERM at the end.
class Tc35SimProcess {
  public:
    Tc35SimProcess(const std::string& program, std::vector<std::string> arguments);
    ~Tc35SimProcess();
    Tc35SimProcess(const Tc35SimProcess&) = delete;
    Tc35SimProcess& operator=(const Tc35SimProcess&) = delete;

    bool running() const { return pid_ > 0; }
    // What the program printed first: its slave's name and a line break.
    const std::string& output() const { return output_; }
    // Exit status after SIGTERM, -1 when it did not end normally.
    int stop();

  private:
    pid_t pid_ = -1;
    std::string output_;
};

}  // namespace test_support
