#pragma once

#include <functional>
#include <utility>

namespace platform {

// One event of a control or window: at most one handler, raised by the
// runtime. Arguments that the handler may change are passed by reference.
template <typename... Args>
class Event {
  public:
    using Handler = std::function<void(Args...)>;

    Event& operator=(Handler handler) {
        handler_ = std::move(handler);
        return *this;
    }
    explicit operator bool() const { return static_cast<bool>(handler_); }

    void operator()(Args... args) const {
        if (handler_) {
            handler_(std::forward<Args>(args)...);
        }
    }

  private:
    Handler handler_;
};

}  // namespace platform
