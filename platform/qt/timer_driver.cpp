#include "platform/qt/timer_driver.h"

#include "platform/runtime.h"
#include "platform/timer.h"

namespace platform::qt {

TimerDriver::TimerDriver(Runtime& runtime) : runtime_(runtime) {}

TimerDriver::~TimerDriver() = default;

void TimerDriver::changed(Timer& timer) {
    auto found = timers_.find(&timer);
    if (!timer.running()) {
        if (found != timers_.end()) {
            found->second->stop();
        }
        return;
    }
    if (found == timers_.end()) {
        auto qtimer = std::make_unique<QTimer>();
        qtimer->setTimerType(Qt::PreciseTimer);
        QObject::connect(qtimer.get(), &QTimer::timeout, [this, &timer] { tick(timer); });
        found = timers_.emplace(&timer, std::move(qtimer)).first;
    }
    found->second->start(timer.Interval());
}

void TimerDriver::removed(Timer& timer) {
    const auto found = timers_.find(&timer);
    if (found == timers_.end()) {
        return;
    }
    found->second->stop();
    found->second->disconnect();
    // It may be the very timer whose tick is running now.
    found->second.release()->deleteLater();
    timers_.erase(found);
    firing_.erase(&timer);
}

void TimerDriver::tick(Timer& timer) {
    if (!firing_.insert(&timer).second) {
        return;
    }
    runtime_.dispatch([&timer] { timer.OnTimer(); });
    firing_.erase(&timer);
}

}  // namespace platform::qt
