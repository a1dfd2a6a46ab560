#include "platform/qt/control_widget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include "platform/ansi_codepage.h"
#include "platform/controls.h"
#include "platform/form.h"
#include "platform/qt/form_window.h"
#include "platform/qt/key_ascii.h"
#include "platform/qt/qt_convert.h"
#include "platform/runtime.h"

namespace platform::qt {
namespace {

constexpr std::int16_t kEnter = 13;
constexpr std::int16_t kEscape = 27;

}  // namespace

ControlWidget::ControlWidget(Control& control, Runtime& runtime)
    : control_(&control), runtime_(runtime) {
    control.setView(this);
}

ControlWidget::~ControlWidget() {
    // The Qt part still lives on for a moment; nothing it emits may reach us.
    for (const auto& connection : connections_) {
        QObject::disconnect(connection);
    }
}

void ControlWidget::detach(bool controlAlive) {
    if (control_ != nullptr && controlAlive && control_->view() == this) {
        control_->setView(nullptr);
    }
    control_ = nullptr;
}

void ControlWidget::showAll() {
    if (control_ == nullptr) {
        return;
    }
    for (const Property property :
         {Property::Geometry, Property::BackColor, Property::Font, Property::ToolTipText,
          Property::MousePointer, Property::Enabled, Property::Items, Property::Caption,
          Property::MaxLength, Property::Text, Property::ListIndex, Property::Value,
          Property::Selection, Property::Appearance, Property::Visible}) {
        propertyChanged(property);
    }
}

void ControlWidget::propertyChanged(Property property) {
    if (control_ == nullptr) {
        return;
    }
    QWidget& w = widget();
    switch (property) {
        case Property::Geometry:
            applyGeometry();
            break;
        case Property::Visible:
            w.setVisible(control_->Visible());
            break;
        case Property::Enabled:
            w.setEnabled(control_->Enabled());
            break;
        case Property::BackColor:
        case Property::ForeColor:
            applyColors();
            break;
        case Property::Font:
            w.setFont(ToQFont(control_->Font()));
            break;
        case Property::ToolTipText:
            w.setToolTip(ToQString(control_->ToolTipText()));
            break;
        case Property::MousePointer:
            if (IsDefaultPointer(control_->MousePointer(), control_->MouseIcon())) {
                w.unsetCursor();
            } else {
                w.setCursor(ToQCursor(control_->MousePointer(), control_->MouseIcon()));
            }
            break;
        case Property::TabIndex:
            if (auto* window = dynamic_cast<FormWindow*>(w.window())) {
                window->updateTabOrder();
            }
            break;
        default:
            applyProperty(property);
            break;
    }
}

void ControlWidget::focusRequested() {
    if (control_ != nullptr) {
        widget().setFocus(Qt::OtherFocusReason);
    }
}

void ControlWidget::applyGeometry() {
    widget().setGeometry(
        ToPixelRect(control_->Left(), control_->Top(), control_->Width(), control_->Height()));
}

void ControlWidget::applyColors() {
    setColors({QPalette::Window}, {QPalette::WindowText}, true);
}

void ControlWidget::setColors(std::initializer_list<QPalette::ColorRole> back,
                              std::initializer_list<QPalette::ColorRole> fore, bool fill) {
    QWidget& w = widget();
    QPalette palette = w.palette();
    const QColor backColor = ToQColor(control_->BackColor());
    const QColor foreColor = ToQColor(control_->ForeColor());
    for (const auto role : back) {
        palette.setColor(role, backColor);
    }
    for (const auto role : fore) {
        palette.setColor(role, foreColor);
    }
    w.setPalette(palette);
    w.setAutoFillBackground(fill);
}

void ControlWidget::raiseEvent(const std::function<void(Control&)>& handler) {
    if (control_ == nullptr || !control_->acceptsInput()) {
        return;
    }
    Control& control = *control_;
    runtime_.dispatch([&handler, &control] { handler(control); });
}

void ControlWidget::gotFocus() {
    if (control_ != nullptr) {
        control_->parent().viewFocused(control_);
    }
}

std::int16_t ButtonMask(Qt::MouseButtons buttons) {
    std::int16_t mask = 0;
    if (buttons & Qt::LeftButton) {
        mask |= 1;
    }
    if (buttons & Qt::RightButton) {
        mask |= 2;
    }
    if (buttons & Qt::MiddleButton) {
        mask |= 4;
    }
    return mask;
}

std::int16_t ShiftMask(Qt::KeyboardModifiers modifiers) {
    std::int16_t mask = 0;
    if (modifiers & Qt::ShiftModifier) {
        mask |= 1;
    }
    if (modifiers & Qt::ControlModifier) {
        mask |= 2;
    }
    if (modifiers & Qt::AltModifier) {
        mask |= 4;
    }
    return mask;
}

void ControlWidget::raiseMouseMove(const QMouseEvent& event) {
    if (control_ == nullptr || !control_->MouseMove) {
        return;
    }
    std::int16_t button = ButtonMask(event.buttons());
    std::int16_t shift = ShiftMask(event.modifiers());
    auto x = static_cast<float>(event.position().x() * kTwipsPerPixel);
    auto y = static_cast<float>(event.position().y() * kTwipsPerPixel);
    raiseEvent([&](Control& control) { control.MouseMove(button, shift, x, y); });
}

CommandButton* FormButton(const Form& form, bool cancel) {
    for (Control* control : form.controls()) {
        if (control->kind() != ControlKind::CommandButton || !control->acceptsInput()) {
            continue;
        }
        auto* button = static_cast<CommandButton*>(control);
        if (cancel ? button->Cancel() : button->Default()) {
            return button;
        }
    }
    return nullptr;
}

void ControlWidget::routeKey(QKeyEvent& event, const std::function<void(QKeyEvent&)>& take) {
    if (control_ == nullptr) {
        event.ignore();
        return;
    }
    const std::int16_t code = KeyAsciiOf(event);
    const Form& form = control_->parent();
    if (code == kEnter) {
        if (control_->kind() == ControlKind::CommandButton) {
            event.accept();
            raiseEvent([](Control& control) { control.Click(); });
            return;
        }
        if (FormButton(form, false) != nullptr) {
            event.ignore();  // the window presses its default button
            return;
        }
    }
    if (code == kEscape && FormButton(form, true) != nullptr) {
        event.ignore();  // the window presses its cancel button
        return;
    }
    if (code == kNoKeyAscii) {
        take(event);
        return;
    }
    if (!control_->acceptsInput()) {
        event.accept();
        return;
    }
    std::int16_t key = code;
    raiseEvent([&key](Control& control) { control.KeyPress(key); });
    event.accept();
    if (control_ == nullptr || key == 0) {
        return;
    }
    if (key == code) {
        take(event);
        return;
    }
    if (const auto replacement = KeyEventFor(key)) {
        take(*replacement);
    }
}

QString ControlWidget::filterCommitted(const QString& committed) {
    QString kept;
    for (const QChar ch : committed) {
        if (control_ == nullptr || !control_->acceptsInput()) {
            break;
        }
        const std::int16_t code = AnsiCode(ch.unicode());
        std::int16_t key = code;
        raiseEvent([&key](Control& control) { control.KeyPress(key); });
        if (key == 0) {
            continue;
        }
        if (key == code) {
            kept.append(ch);
        } else if (const auto replacement = KeyEventFor(key)) {
            if (!replacement->text().isEmpty() && replacement->text().at(0).isPrint()) {
                kept.append(replacement->text());
            }
        }
    }
    return kept;
}

}  // namespace platform::qt
