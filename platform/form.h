#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/control.h"
#include "platform/event.h"
#include "platform/picture.h"

namespace platform {

class Runtime;
class Timer;

// What changed in a window, for its view.
enum class FormProperty {
    Caption,
    Geometry,
    WindowState,
    Enabled,
    Visible,
    BackColor,
    Icon,
    TopMost
};

class FormView {
  public:
    virtual ~FormView() = default;
    virtual void formChanged(FormProperty property) = 0;
};

inline constexpr std::int16_t vbNormal = 0;
inline constexpr std::int16_t vbMinimized = 1;
inline constexpr std::int16_t vbMaximized = 2;

// Border styles of a window.
inline constexpr std::int16_t vbSizable = 2;
inline constexpr std::int16_t vbFixedDialog = 3;

struct Rect {
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
    bool operator==(const Rect&) const = default;
};

// A window. Left, Top, Width and Height are its outer bounds in twips
// (frame and caption included), read back as assigned. While maximised they
// read the maximised bounds; writes then go to the normal bounds.
class Form {
  public:
    Form(Runtime& runtime, std::u16string name);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    Runtime& runtime() const { return runtime_; }
    const std::u16string& Name() const { return name_; }

    const std::u16string& Caption() const { return caption_; }
    void setCaption(std::u16string value);

    float Left() const { return bounds().left; }
    float Top() const { return bounds().top; }
    float Width() const { return bounds().width; }
    float Height() const { return bounds().height; }
    void setLeft(float value);
    void setTop(float value);
    void setWidth(float value);
    void setHeight(float value);
    const Rect& normalBounds() const { return normal_; }

    // The frame's share of the outer size; the inner area is the rest.
    float frameWidth() const { return frameWidth_; }
    float frameHeight() const { return frameHeight_; }
    // The frame the window manager really draws. A side whose inner size
    // came from the design keeps it and its outer size takes the new frame;
    // a side whose outer size was set keeps that, and its inner size changes.
    void setFrameSize(float width, float height);
    float ScaleWidth() const { return Width() - frameWidth_; }
    float ScaleHeight() const { return Height() - frameHeight_; }
    // Sets the outer size from a wanted inner size (used by window designs).
    void setClientSize(float width, float height);

    std::int16_t WindowState() const { return windowState_; }
    // 0 normal, 1 minimised, 2 maximised; other values: kErrInvalidPropertyValue.
    void setWindowState(std::int16_t value);

    bool Enabled() const { return enabled_; }
    void setEnabled(bool value);
    bool Visible() const { return visible_; }
    Color BackColor() const { return backColor_; }
    void setBackColor(Color value);
    const Picture& Icon() const { return icon_; }
    void setIcon(Picture value);

    std::int16_t BorderStyle() const { return borderStyle_; }
    void setBorderStyle(std::int16_t value) { borderStyle_ = value; }
    bool MinButton() const { return minButton_; }
    void setMinButton(bool value) { minButton_ = value; }
    bool MaxButton() const { return maxButton_; }
    void setMaxButton(bool value) { maxButton_ = value; }
    bool ShowInTaskbar() const { return showInTaskbar_; }
    void setShowInTaskbar(bool value) { showInTaskbar_ = value; }
    bool TopMost() const { return topMost_; }
    void setTopMost(bool value);

    bool loaded() const { return loaded_; }
    // Loads the window when it is not loaded (raising Load), then shows it;
    // a window already shown is restored when minimised and made active.
    void Show();
    // Raises Unload; unless the handler cancels, hides the window and stops its timers.
    void Unload();

    const std::vector<Control*>& controls() const { return controls_; }
    const std::vector<Timer*>& timers() const { return timers_; }
    Control* ActiveControl() const { return focus_; }
    // Controls that can take the focus, in tab order.
    std::vector<Control*> tabOrder() const;
    // Moves the focus to the next (or previous) control in tab order.
    void tabFocus(bool backwards = false);
    // Gives the focus to the first control that can take it.
    void focusFirst();
    // Whether the operator's input reaches the window now.
    bool acceptsInput() const { return loaded_ && visible_ && enabled_; }

    Event<> Load;
    Event<std::int16_t&> UnloadEvent;
    Event<> Resize;
    Event<> DblClick;

    FormView* view() const { return view_; }
    void setView(FormView* view) { view_ = view; }

    // The view reports the operator's changes (or the window manager's) here.
    void viewResized(const Rect& bounds, std::int16_t windowState);
    void viewFocused(Control* control) { focus_ = control; }

  private:
    friend class Control;
    friend class Timer;
    void add(Control* control) { controls_.push_back(control); }
    void remove(Control* control);
    void add(Timer* timer) { timers_.push_back(timer); }
    void remove(Timer* timer);
    void setFocusTo(Control* control);
    void controlDisabled(Control& control);

    const Rect& bounds() const;
    void setNormalSize(float& side, bool& keepsInner, float value);
    void geometryChanged();
    void notify(FormProperty property) const;

    Runtime& runtime_;
    std::u16string name_;
    std::u16string caption_;
    Rect normal_;
    Rect current_;
    float frameWidth_ = 240;
    float frameHeight_ = 570;
    bool keepsInnerWidth_ = false;
    bool keepsInnerHeight_ = false;
    std::int16_t windowState_ = vbNormal;
    bool enabled_ = true;
    bool visible_ = false;
    bool loaded_ = false;
    Color backColor_ = kButtonFaceColor;
    Picture icon_;
    std::int16_t borderStyle_ = vbSizable;
    bool minButton_ = true;
    bool maxButton_ = true;
    bool showInTaskbar_ = true;
    bool topMost_ = false;
    std::vector<Control*> controls_;
    std::vector<Timer*> timers_;
    Control* focus_ = nullptr;
    FormView* view_ = nullptr;
};

}  // namespace platform
