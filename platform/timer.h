#pragma once

#include <cstdint>
#include <string>

#include "platform/event.h"

namespace platform {

class Form;

// A window's timer. With Interval 0 it never fires; setting Enabled or
// Interval restarts its countdown. It ticks while its window is loaded, also
// while the window is disabled.
class Timer {
  public:
    Timer(Form& form, std::u16string name);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    const std::u16string& Name() const { return name_; }
    Form& parent() const { return form_; }

    std::int32_t Interval() const { return interval_; }
    void setInterval(std::int32_t milliseconds);
    bool Enabled() const { return enabled_; }
    void setEnabled(bool value);

    // Whether the runtime should count it down now.
    bool running() const;

    Event<> OnTimer;

  private:
    Form& form_;
    std::u16string name_;
    std::int32_t interval_ = 0;
    bool enabled_ = true;
};

}  // namespace platform
