#pragma once

#include <QTimer>
#include <memory>
#include <unordered_map>
#include <unordered_set>

namespace platform {
class Runtime;
class Timer;
}  // namespace platform

namespace platform::qt {

// A precise QTimer for each model timer that runs. Setting Enabled or
// Interval restarts the countdown; a tick whose handler is still running
// further up the stack (inside DoEvents or a message box) is skipped.
class TimerDriver {
  public:
    explicit TimerDriver(Runtime& runtime);
    ~TimerDriver();
    TimerDriver(const TimerDriver&) = delete;
    TimerDriver& operator=(const TimerDriver&) = delete;

    void changed(Timer& timer);
    void removed(Timer& timer);

  private:
    void tick(Timer& timer);

    Runtime& runtime_;
    std::unordered_map<Timer*, std::unique_ptr<QTimer>> timers_;
    std::unordered_set<Timer*> firing_;
};

}  // namespace platform::qt
