#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/runtime.h"

namespace platform {

class Control;
class ComboBox;
class Form;
class Timer;

// A message box the headless runtime answered.
struct RecordedMessage {
    std::u16string prompt;
    int buttons = 0;
    std::u16string title;
    Micros at = 0;
};

// The forms runtime for tests: a virtual clock that moves only when events
// are processed or the thread pauses, message boxes recorded and answered at
// once, and input given the way a person would, refused where the window or
// the control is disabled.
class HeadlessRuntime : public Runtime {
  public:
    HeadlessRuntime();
    ~HeadlessRuntime() override;

    Micros now() const override { return now_; }

    // Advances the clock to the next due timer and fires every timer due then.
    void DoEvents() override;
    void Sleep(std::int32_t milliseconds) override;
    int MsgBox(const std::u16string& prompt, int buttons, const std::u16string& title) override;
    DateTime Now() const override;
    ScreenSize Screen() const override { return screen_; }

    void timerChanged(Timer& timer) override;
    void timerRemoved(Timer& timer) override;
    void formShown(Form& form) override;
    void formHidden(Form& form) override;

    // Lets time pass as an idle program would see it: timers fire in order.
    void advance(Micros duration);
    void advanceMs(std::int64_t milliseconds) { advance(milliseconds * 1000); }

    void setScreen(ScreenSize size) { screen_ = size; }
    // The date and time at clock 0; Now() runs on from it.
    void setStartDateTime(DateTime start) { start_ = start; }

    const std::vector<RecordedMessage>& messages() const { return messages_; }
    void clearMessages() { messages_.clear(); }
    // Called inside each message box, as if the operator looked at it.
    std::function<void(const RecordedMessage&)> onMessage;

    // Input, as the operator gives it. Each returns false when refused.
    bool click(Control& control);
    bool doubleClick(Control& control);
    bool doubleClickBackground(Form& form);
    // One key: KeyPress first; what it leaves goes into the control.
    bool pressKey(Control& control, std::int16_t keyAscii);
    // Types each character in turn (through pressKey, by its code).
    bool type(Control& control, std::u16string_view text);
    bool mouseMove(Control& control, std::int16_t button, std::int16_t shift, float x, float y);
    bool pick(ComboBox& list, std::int16_t index);
    bool pressTab(Form& form, bool backwards = false);
    // Enter and Esc in a window: its default or cancel button.
    bool pressEnter(Form& form);
    bool pressEscape(Form& form);
    // The close box of the window's title bar.
    bool close(Form& form);

  private:
    struct Armed {
        Timer* timer;
        Micros due;
        std::uint64_t order;
    };
    Armed* nextDue();
    void fire(Timer& timer);
    void fireDueAt(Micros due);

    Micros now_ = 0;
    std::uint64_t nextOrder_ = 0;
    std::vector<Armed> armed_;
    std::vector<Timer*> firing_;
    std::vector<RecordedMessage> messages_;
    ScreenSize screen_{19200, 10800};
    DateTime start_{2026, 12, 10, 9, 0, 0};
};

}  // namespace platform
