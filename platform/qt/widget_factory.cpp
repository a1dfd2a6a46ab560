#include "platform/qt/widget_factory.h"

#include "platform/controls.h"
#include "platform/qt/button_widget.h"
#include "platform/qt/check_box_widget.h"
#include "platform/qt/combo_box_widget.h"
#include "platform/qt/label_widget.h"
#include "platform/qt/line_widget.h"
#include "platform/qt/rich_text_widget.h"
#include "platform/qt/text_box_widget.h"

namespace platform::qt {

std::unique_ptr<ControlWidget> MakeControlWidget(Control& control, Runtime& runtime,
                                                 QWidget& parent) {
    std::unique_ptr<ControlWidget> made;
    switch (control.kind()) {
        case ControlKind::CommandButton:
            made = std::make_unique<ButtonWidget>(static_cast<CommandButton&>(control), runtime,
                                                  &parent);
            break;
        case ControlKind::Label:
            made = std::make_unique<LabelWidget>(static_cast<Label&>(control), runtime, &parent);
            break;
        case ControlKind::TextBox:
            made =
                std::make_unique<TextBoxWidget>(static_cast<TextBox&>(control), runtime, &parent);
            break;
        case ControlKind::ComboBox:
            made =
                std::make_unique<ComboBoxWidget>(static_cast<ComboBox&>(control), runtime, &parent);
            break;
        case ControlKind::CheckBox:
            made =
                std::make_unique<CheckBoxWidget>(static_cast<CheckBox&>(control), runtime, &parent);
            break;
        case ControlKind::RichTextBox:
            made = std::make_unique<RichTextWidget>(static_cast<RichTextBox&>(control), runtime,
                                                    &parent);
            break;
        case ControlKind::Line:
            made = std::make_unique<LineWidget>(static_cast<Line&>(control), runtime, &parent);
            break;
    }
    if (made) {
        made->showAll();
    }
    return made;
}

}  // namespace platform::qt
