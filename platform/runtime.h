#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/clock.h"

namespace platform {

class Form;
class Timer;

// The application object.
struct Application {
    std::u16string Path;     // the executable's folder
    std::u16string EXEName;  // the executable's file name without extension
    std::u16string Title;
    std::int16_t Major = 0;
    std::int16_t Minor = 0;
    std::int16_t Revision = 0;
};

struct DateTime {
    int year = 2000;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

struct ScreenSize {
    float Width = 0;  // twips
    float Height = 0;
};

// Message box styles and answers.
inline constexpr int vbOKOnly = 0;
inline constexpr int vbCritical = 16;
inline constexpr int vbInformation = 64;
inline constexpr int vbOK = 1;

// The forms runtime: event pump, timers, message boxes, clock, screen.
// One implementation drives real windows, one runs headless on a virtual clock.
class Runtime : public Clock {
  public:
    Runtime();
    ~Runtime() override;
    Runtime(const Runtime&) = delete;
    Runtime& operator=(const Runtime&) = delete;

    Application& App() { return app_; }
    const Application& App() const { return app_; }

    // Processes the pending window events once (timer ticks among them).
    virtual void DoEvents() = 0;
    // Blocks the thread; no event is processed meanwhile.
    virtual void Sleep(std::int32_t milliseconds) = 0;
    // A modal message box; the title is App().Title when empty. Timers keep
    // running while it is open. Returns the button pressed (vbOK).
    virtual int MsgBox(const std::u16string& prompt, int buttons = vbOKOnly,
                       const std::u16string& title = {}) = 0;
    virtual DateTime Now() const = 0;
    virtual ScreenSize Screen() const = 0;
    // The bounds a maximised window takes.
    virtual void maximizedBounds(float& left, float& top, float& width, float& height) const;

    // Runs an event handler; a run-time failure that escapes it is shown in a
    // message box and the program goes on.
    void dispatch(const std::function<void()>& handler);

    // Hooks for windows and timers.
    virtual void timerChanged(Timer& timer) = 0;
    virtual void timerRemoved(Timer& timer) = 0;
    // A window is shown, or shown again while open (it comes to the front).
    virtual void formShown(Form& form) = 0;
    virtual void formHidden(Form& form) = 0;

  private:
    Application app_;
};

}  // namespace platform
