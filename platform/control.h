#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/event.h"
#include "platform/font.h"
#include "platform/picture.h"

namespace platform {

class Form;

// Colours are 24-bit values written &HBBGGRR.
using Color = std::uint32_t;

// The system's colours that controls take by default.
inline constexpr Color kWindowColor = 0xFFFFFF;
inline constexpr Color kButtonFaceColor = 0xF0F0F0;
inline constexpr Color kWindowTextColor = 0x000000;

enum class ControlKind { CommandButton, Label, TextBox, ComboBox, CheckBox, RichTextBox, Line };

// What changed in a control, so a view redraws only that.
enum class Property {
    Geometry,
    Visible,
    Enabled,
    BackColor,
    ForeColor,
    Font,
    Caption,
    Text,
    ToolTipText,
    MousePointer,
    TabIndex,
    MaxLength,
    Items,
    ListIndex,
    Value,
    Selection,
    Appearance,
};

// A view of one control (the real widget). The model tells it what changed.
class ControlView {
  public:
    virtual ~ControlView() = default;
    virtual void propertyChanged(Property property) = 0;
    // The text changed in one place only; views that can should edit just that range.
    virtual void textReplaced(std::int32_t start, std::int32_t removed, std::u16string_view) {
        (void)start;
        (void)removed;
        propertyChanged(Property::Text);
    }
    virtual void repaint() {}
    virtual void focusRequested() {}
};

inline constexpr std::int16_t vbDefault = 0;
inline constexpr std::int16_t vbCustom = 99;

// A visible control of a window. Geometry is in twips, relative to the
// window's inner area, held as single-precision numbers as assigned.
class Control {
  public:
    Control(Form& form, ControlKind kind, std::u16string name, std::int16_t index = -1);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    Form& parent() const { return form_; }
    ControlKind kind() const { return kind_; }
    const std::u16string& Name() const { return name_; }
    // Position in a control array, -1 for a control that is not in one.
    std::int16_t Index() const { return index_; }

    float Left() const { return left_; }
    float Top() const { return top_; }
    float Width() const { return width_; }
    float Height() const { return height_; }
    void setLeft(float value);
    void setTop(float value);
    void setWidth(float value);
    void setHeight(float value);
    void Move(float left, float top, float width, float height);

    bool Visible() const { return visible_; }
    void setVisible(bool value);
    bool Enabled() const { return enabled_; }
    void setEnabled(bool value);
    Color BackColor() const { return backColor_; }
    void setBackColor(Color value);
    Color ForeColor() const { return foreColor_; }
    void setForeColor(Color value);
    const platform::Font& Font() const { return font_; }
    void setFont(const platform::Font& value);
    const std::u16string& ToolTipText() const { return toolTip_; }
    void setToolTipText(std::u16string value);
    std::int16_t TabIndex() const { return tabIndex_; }
    void setTabIndex(std::int16_t value);
    std::int16_t MousePointer() const { return mousePointer_; }
    void setMousePointer(std::int16_t value);
    const Picture& MouseIcon() const { return mouseIcon_; }
    void setMouseIcon(Picture value);

    // Whether the control can hold the keyboard focus right now.
    bool canTakeFocus() const;
    bool hasFocus() const;
    // Raises kErrInvalidCall when the control cannot take the focus.
    void SetFocus();

    // Whether the operator's input reaches this control now: the control and
    // its window are enabled and visible.
    bool acceptsInput() const;

    Event<> Click;
    Event<> DblClick;
    Event<std::int16_t&> KeyPress;
    Event<std::int16_t&, std::int16_t&, float&, float&> MouseMove;

    ControlView* view() const { return view_; }
    void setView(ControlView* view) { view_ = view; }

  protected:
    void notify(Property property) const;
    // Kinds that never take the focus (labels, lines) say so here.
    virtual bool focusable() const { return true; }

  private:
    Form& form_;
    ControlKind kind_;
    std::u16string name_;
    std::int16_t index_;
    float left_ = 0;
    float top_ = 0;
    float width_ = 0;
    float height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    Color backColor_ = kButtonFaceColor;
    Color foreColor_ = kWindowTextColor;
    platform::Font font_;
    std::u16string toolTip_;
    std::int16_t tabIndex_ = 0;
    std::int16_t mousePointer_ = vbDefault;
    Picture mouseIcon_;
    ControlView* view_ = nullptr;
};

}  // namespace platform
