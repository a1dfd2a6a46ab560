#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/control.h"

namespace platform {

class CommandButton : public Control {
  public:
    CommandButton(Form& form, std::u16string name, std::int16_t index = -1);
    const std::u16string& Caption() const { return caption_; }
    void setCaption(std::u16string_view value);
    // Enter presses the default button, Esc the cancel button of the window.
    bool Default() const { return default_; }
    void setDefault(bool value) { default_ = value; }
    bool Cancel() const { return cancel_; }
    void setCancel(bool value) { cancel_ = value; }

  private:
    std::u16string caption_;
    bool default_ = false;
    bool cancel_ = false;
};

class Label : public Control {
  public:
    Label(Form& form, std::u16string name);
    const std::u16string& Caption() const { return caption_; }
    // An unchanged caption costs nothing: status labels are rewritten every tick.
    void setCaption(std::u16string_view value);
    // 0 none, 1 a thin single line.
    std::int16_t BorderStyle() const { return borderStyle_; }
    void setBorderStyle(std::int16_t value);

  protected:
    bool focusable() const override { return false; }

  private:
    std::u16string caption_;
    std::int16_t borderStyle_ = 0;
};

// Text with a selection, shared by the text box and the rich-text pane.
// Positions count characters from 0.
class TextControl : public Control {
  public:
    using Control::Control;

    const std::u16string& Text() const { return text_; }
    void setText(std::u16string value);
    std::int32_t SelStart() const { return selStart_; }
    void setSelStart(std::int32_t value);
    std::int32_t SelLength() const { return selLength_; }
    void setSelLength(std::int32_t value);
    std::u16string SelText() const;
    // Replaces the selection (inserts at the caret when nothing is selected).
    void setSelText(std::u16string_view value);

    // An edit that the operator made in the view; the view already shows it.
    void applyViewEdit(std::int32_t start, std::int32_t removed, std::u16string_view inserted);
    // The caret and selection as the operator left them in the view.
    void applyViewSelection(std::int32_t start, std::int32_t length);
    // A typed character that passed KeyPress, as the control itself would take it.
    void typeCharacter(std::int16_t keyAscii);

  protected:
    virtual bool multiLine() const = 0;
    // Characters the control still takes, for a maximum length.
    virtual std::size_t room() const;

  private:
    void replace(std::int32_t start, std::int32_t removed, std::u16string_view inserted,
                 bool tellView);
    std::u16string text_;
    std::int32_t selStart_ = 0;
    std::int32_t selLength_ = 0;
};

class TextBox : public TextControl {
  public:
    TextBox(Form& form, std::u16string name);
    // 0 means no limit. Code may still write a longer text.
    std::int32_t MaxLength() const { return maxLength_; }
    void setMaxLength(std::int32_t value);

  protected:
    bool multiLine() const override { return false; }
    std::size_t room() const override;

  private:
    std::int32_t maxLength_ = 0;
};

// A multi-line plain-text pane.
class RichTextBox : public TextControl {
  public:
    RichTextBox(Form& form, std::u16string name);
    // Repaints the pane at once.
    void Refresh();

  protected:
    bool multiLine() const override { return true; }
};

// A drop-down list: only its entries can be chosen.
class ComboBox : public Control {
  public:
    ComboBox(Form& form, std::u16string name);
    void AddItem(std::u16string item);
    std::u16string List(std::int32_t index) const;
    std::int32_t ListCount() const { return static_cast<std::int32_t>(items_.size()); }
    std::int16_t ListIndex() const { return listIndex_; }
    // Selecting another entry raises Click before this returns; the entry
    // already selected and -1 raise nothing. Outside -1..count-1:
    // kErrInvalidPropertyValue.
    void setListIndex(std::int16_t value);
    // The selected entry's text, empty with no selection.
    std::u16string Text() const;
    // The operator picked an entry: Click is raised even for the one shown.
    void pick(std::int16_t index);

  private:
    std::vector<std::u16string> items_;
    std::int16_t listIndex_ = -1;
};

class CheckBox : public Control {
  public:
    CheckBox(Form& form, std::u16string name);
    const std::u16string& Caption() const { return caption_; }
    void setCaption(std::u16string_view value);
    // 0 unchecked, 1 checked. A change raises Click.
    std::int16_t Value() const { return value_; }
    void setValue(std::int16_t value);

  private:
    std::u16string caption_;
    std::int16_t value_ = 0;
};

// A straight line drawn on the window, from (X1, Y1) to (X2, Y2) in twips.
class Line : public Control {
  public:
    Line(Form& form, std::u16string name, std::int16_t index = -1);
    float X1() const { return x1_; }
    float Y1() const { return y1_; }
    float X2() const { return x2_; }
    float Y2() const { return y2_; }
    void setPoints(float x1, float y1, float x2, float y2);
    Color BorderColor() const { return borderColor_; }
    void setBorderColor(Color value);
    // Width in pixels.
    std::int16_t BorderWidth() const { return borderWidth_; }
    void setBorderWidth(std::int16_t value);
    // 1 solid, 6 inside solid.
    std::int16_t BorderStyle() const { return borderStyle_; }
    void setBorderStyle(std::int16_t value);

  protected:
    bool focusable() const override { return false; }

  private:
    float x1_ = 0;
    float y1_ = 0;
    float x2_ = 0;
    float y2_ = 0;
    Color borderColor_ = kWindowTextColor;
    std::int16_t borderWidth_ = 1;
    std::int16_t borderStyle_ = 1;
};

}  // namespace platform
