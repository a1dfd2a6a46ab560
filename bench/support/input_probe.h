#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>

namespace console {
class Tamsel;
}
namespace platform {
class QtRuntime;
}

namespace bench {

// Every 100 ms an operator's input goes into the window's event queue, in
// turn a typed key in the upper pane and a click into the receive pane; it
// counts once the window has acted on it.
class InputProbe final : public QObject {
  public:
    InputProbe(platform::QtRuntime& runtime, console::Tamsel& window);
    void start();
    void stop();

    int sent() const { return sent_; }
    int missed() const { return missed_; }
    double slowestMs() const { return slowest_.count() / 1000.0; }

  protected:
    bool event(QEvent* event) override;

  private:
    using Clock = std::chrono::steady_clock;
    void send();

    platform::QtRuntime& runtime_;
    console::Tamsel& window_;
    QTimer timer_;
    Clock::time_point sentAt_;
    bool typedKey_ = false;
    std::size_t typedBefore_ = 0;
    int sent_ = 0;
    int missed_ = 0;
    std::chrono::microseconds slowest_{0};
};

}  // namespace bench
