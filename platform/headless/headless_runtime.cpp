#include "platform/headless/headless_runtime.h"

#include <algorithm>
#include <chrono>

#include "platform/ansi_codepage.h"
#include "platform/controls.h"
#include "platform/form.h"
#include "platform/timer.h"

namespace platform {

HeadlessRuntime::HeadlessRuntime() {
    App().Title = u"Korvel";
    App().Path = u"/tmp";
    App().EXEName = u"korvel";
}

HeadlessRuntime::~HeadlessRuntime() = default;

void HeadlessRuntime::timerChanged(Timer& timer) {
    std::erase_if(armed_, [&timer](const Armed& a) { return a.timer == &timer; });
    if (timer.running()) {
        armed_.push_back({&timer, now_ + Micros{timer.Interval()} * 1000, nextOrder_++});
    }
}

void HeadlessRuntime::timerRemoved(Timer& timer) {
    std::erase_if(armed_, [&timer](const Armed& a) { return a.timer == &timer; });
}

void HeadlessRuntime::formShown(Form&) {}
void HeadlessRuntime::formHidden(Form&) {}

HeadlessRuntime::Armed* HeadlessRuntime::nextDue() {
    Armed* best = nullptr;
    for (Armed& a : armed_) {
        if (best == nullptr || a.due < best->due || (a.due == best->due && a.order < best->order)) {
            best = &a;
        }
    }
    return best;
}

void HeadlessRuntime::fire(Timer& timer) {
    // Rearm first: the handler may restart or stop the timer itself.
    timerChanged(timer);
    if (std::find(firing_.begin(), firing_.end(), &timer) != firing_.end()) {
        return;  // its handler is still running further up the stack
    }
    firing_.push_back(&timer);
    dispatch([&timer] { timer.OnTimer(); });
    std::erase(firing_, &timer);
}

void HeadlessRuntime::fireDueAt(Micros due) {
    now_ = std::max(now_, due);
    std::vector<Armed> batch;
    for (const Armed& a : armed_) {
        if (a.due <= due) {
            batch.push_back(a);
        }
    }
    std::sort(batch.begin(), batch.end(),
              [](const Armed& a, const Armed& b) { return a.order < b.order; });
    for (const Armed& a : batch) {
        const bool stillDue = std::any_of(armed_.begin(), armed_.end(), [&a](const Armed& x) {
            return x.timer == a.timer && x.order == a.order;
        });
        if (stillDue) {
            fire(*a.timer);
        }
    }
}

void HeadlessRuntime::DoEvents() {
    const Armed* next = nextDue();
    if (next != nullptr) {
        fireDueAt(next->due);
    }
}

void HeadlessRuntime::advance(Micros duration) {
    const Micros target = now_ + duration;
    for (const Armed* next = nextDue(); next != nullptr && next->due <= target; next = nextDue()) {
        fireDueAt(next->due);
    }
    now_ = std::max(now_, target);
}

void HeadlessRuntime::Sleep(std::int32_t milliseconds) {
    now_ += Micros{milliseconds} * 1000;
}

int HeadlessRuntime::MsgBox(const std::u16string& prompt, int buttons,
                            const std::u16string& title) {
    RecordedMessage message{prompt, buttons, title.empty() ? App().Title : title, now_};
    messages_.push_back(message);
    if (onMessage) {
        onMessage(message);
    }
    return vbOK;
}

DateTime HeadlessRuntime::Now() const {
    using namespace std::chrono;
    const sys_days day =
        year_month_day{year{start_.year}, month{static_cast<unsigned>(start_.month)},
                       std::chrono::day{static_cast<unsigned>(start_.day)}};
    const auto moment = time_point_cast<seconds>(day) + hours{start_.hour} +
                        minutes{start_.minute} + seconds{start_.second} +
                        duration_cast<seconds>(microseconds{now_});
    const sys_days nowDay = floor<days>(moment);
    const year_month_day ymd{nowDay};
    const hh_mm_ss clock{moment - nowDay};
    return DateTime{int(ymd.year()),
                    static_cast<int>(unsigned(ymd.month())),
                    static_cast<int>(unsigned(ymd.day())),
                    static_cast<int>(clock.hours().count()),
                    static_cast<int>(clock.minutes().count()),
                    static_cast<int>(clock.seconds().count())};
}

// --- input ---

namespace {

void FocusOnInput(Control& control) {
    if (control.canTakeFocus() && !control.hasFocus()) {
        control.SetFocus();
    }
}

}  // namespace

bool HeadlessRuntime::click(Control& control) {
    if (!control.acceptsInput()) {
        return false;
    }
    FocusOnInput(control);
    dispatch([&control] {
        if (control.kind() == ControlKind::CheckBox) {
            auto& box = static_cast<CheckBox&>(control);
            box.setValue(box.Value() == 1 ? 0 : 1);
        } else {
            control.Click();
        }
    });
    return true;
}

bool HeadlessRuntime::doubleClick(Control& control) {
    if (!control.acceptsInput()) {
        return false;
    }
    click(control);
    if (control.kind() == ControlKind::CommandButton) {
        click(control);  // a button takes a double-click as two clicks
    } else if (control.acceptsInput()) {
        dispatch([&control] { control.DblClick(); });
    }
    return true;
}

bool HeadlessRuntime::doubleClickBackground(Form& form) {
    if (!form.acceptsInput()) {
        return false;
    }
    dispatch([&form] { form.DblClick(); });
    return true;
}

bool HeadlessRuntime::pressKey(Control& control, std::int16_t keyAscii) {
    if (!control.acceptsInput() || !control.canTakeFocus()) {
        return false;
    }
    FocusOnInput(control);
    dispatch([&control, keyAscii] {
        std::int16_t key = keyAscii;
        control.KeyPress(key);
        if (key == 0) {
            return;
        }
        if (control.kind() == ControlKind::TextBox || control.kind() == ControlKind::RichTextBox) {
            static_cast<TextControl&>(control).typeCharacter(key);
        } else if (control.kind() == ControlKind::CommandButton && (key == 13 || key == 32)) {
            control.Click();
        }
    });
    return true;
}

bool HeadlessRuntime::type(Control& control, std::u16string_view text) {
    for (const char16_t ch : text) {
        if (!pressKey(control, AnsiCode(ch))) {
            return false;
        }
    }
    return true;
}

bool HeadlessRuntime::mouseMove(Control& control, std::int16_t button, std::int16_t shift, float x,
                                float y) {
    if (!control.acceptsInput()) {
        return false;
    }
    dispatch([&] {
        std::int16_t b = button;
        std::int16_t s = shift;
        float px = x;
        float py = y;
        control.MouseMove(b, s, px, py);
    });
    return true;
}

bool HeadlessRuntime::pick(ComboBox& list, std::int16_t index) {
    if (!list.acceptsInput()) {
        return false;
    }
    FocusOnInput(list);
    dispatch([&list, index] { list.pick(index); });
    return true;
}

bool HeadlessRuntime::pressTab(Form& form, bool backwards) {
    if (!form.acceptsInput()) {
        return false;
    }
    form.tabFocus(backwards);
    return true;
}

namespace {

CommandButton* FindButton(Form& form, bool wantDefault) {
    for (Control* control : form.controls()) {
        if (control->kind() != ControlKind::CommandButton || !control->acceptsInput()) {
            continue;
        }
        auto* button = static_cast<CommandButton*>(control);
        if (wantDefault ? button->Default() : button->Cancel()) {
            return button;
        }
    }
    return nullptr;
}

}  // namespace

bool HeadlessRuntime::pressEnter(Form& form) {
    if (!form.acceptsInput()) {
        return false;
    }
    Control* focus = form.ActiveControl();
    if (focus != nullptr && focus->kind() == ControlKind::CommandButton) {
        dispatch([focus] { focus->Click(); });
        return true;
    }
    if (focus != nullptr && focus->kind() != ControlKind::CommandButton &&
        FindButton(form, true) == nullptr) {
        return pressKey(*focus, 13);
    }
    CommandButton* button = FindButton(form, true);
    if (button == nullptr) {
        return false;
    }
    dispatch([button] { button->Click(); });
    return true;
}

bool HeadlessRuntime::pressEscape(Form& form) {
    if (!form.acceptsInput()) {
        return false;
    }
    CommandButton* button = FindButton(form, false);
    if (button == nullptr) {
        return false;
    }
    dispatch([button] { button->Click(); });
    return true;
}

bool HeadlessRuntime::close(Form& form) {
    if (!form.acceptsInput()) {
        return false;
    }
    form.Unload();
    return true;
}

}  // namespace platform
