#include "platform/timer.h"

#include <utility>

#include "platform/form.h"
#include "platform/runtime.h"
#include "platform/runtime_error.h"

namespace platform {

Timer::Timer(Form& form, std::u16string name) : form_(form), name_(std::move(name)) {
    form_.add(this);
}

Timer::~Timer() {
    form_.runtime().timerRemoved(*this);
    form_.remove(this);
}

void Timer::setInterval(std::int32_t milliseconds) {
    if (milliseconds < 0 || milliseconds > 65535) {
        Raise(kErrInvalidPropertyValue);
    }
    interval_ = milliseconds;
    form_.runtime().timerChanged(*this);
}

void Timer::setEnabled(bool value) {
    enabled_ = value;
    form_.runtime().timerChanged(*this);
}

bool Timer::running() const {
    return enabled_ && interval_ > 0 && form_.loaded();
}

}  // namespace platform
