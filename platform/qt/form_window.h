#pragma once

#include <QByteArray>
#include <QColor>
#include <QMargins>
#include <QRect>
#include <QWidget>
#include <memory>
#include <vector>

#include "platform/form.h"
#include "platform/qt/control_widget.h"

namespace platform {
class Runtime;
}

namespace platform::qt {

// The top-level window of a form while it is shown. Controls are children
// placed in its inner area. The model's geometry reads back as assigned;
// only a change by the operator or the window manager is reported to it.
class FormWindow final : public QWidget, public FormView {
  public:
    FormWindow(Form& form, Runtime& runtime);
    ~FormWindow() override;

    // The form shown; nullptr once retired.
    Form* form() const { return form_; }
    // Input for a retired window or a disabled form goes nowhere.
    bool inputBlocked() const { return form_ == nullptr || !form_->Enabled(); }
    ControlWidget* widgetFor(const Control& control) const;

    void showFromModel();
    // Shown again while open: to the front, and active, as when first shown.
    void bringToFront();
    // The form was hidden or is going away: stop mirroring it and close.
    void retire();
    void updateTabOrder();

    void formChanged(FormProperty property) override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;

  private:
    bool fixedSize() const;
    bool minimisable() const;
    void applyFlags();
    void applyGeometry();
    void applyState();
    // Shows the window minimised, maximised or normal, as the model has it.
    void showInModelState();
    std::int16_t shownState() const;
    // The outer position and inner size that bounds in twips give.
    QRect modelPixels(const Rect& bounds) const;
    // The frame the window manager draws now; Qt's widget keeps an older
    // idea of it until the window next moves or changes size.
    QMargins frame() const;
    QPoint outerTopLeft() const;
    void learnFrame();
    // Looks at the frame again once the pending events are handled.
    void checkFrameSoon();
    void reportGeometry();

    Form* form_;
    Runtime& runtime_;
    std::vector<std::unique_ptr<ControlWidget>> controls_;
    QColor background_;
    Rect placed_;  // the normal bounds the window was last given
    bool closing_ = false;
    bool applying_ = false;
    bool frameCheckPending_ = false;
};

}  // namespace platform::qt
