#pragma once

#include <QLineEdit>

#include "platform/controls.h"
#include "platform/qt/bound_widget.h"

namespace platform::qt {

// TextBox: a one-line edit whose text and selection the model always holds.
class TextBoxWidget final : public BoundTextWidget<QLineEdit> {
  public:
    TextBoxWidget(TextBox& box, Runtime& runtime, QWidget* parent);

  protected:
    void applyProperty(Property property) override;
    void applyColors() override;

  private:
    TextBox& box() const { return *static_cast<TextBox*>(control()); }
    void showText();
    void showSelection();
    void limitLength();
    void edited(const QString& text);
    void selectionMoved();
    bool syncing_ = false;
};

// The edit that turns `before` into `after`: the unchanged head and tail are left out.
struct TextEdit {
    std::int32_t start = 0;
    std::int32_t removed = 0;
    std::u16string inserted;
};
TextEdit DiffText(std::u16string_view before, std::u16string_view after);

}  // namespace platform::qt
