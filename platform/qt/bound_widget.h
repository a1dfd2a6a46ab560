#pragma once

#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include "platform/qt/control_widget.h"

namespace platform::qt {

// A Qt widget class joined to its control: focus, keys and mouse moves go to
// the model first. Mouse events never fall through to the window, so a
// double-click on a control is not one on the window's background.
template <typename QtBase>
class BoundWidget : public QtBase, public ControlWidget {
  public:
    BoundWidget(Control& control, Runtime& runtime, QWidget* parent)
        : QtBase(parent), ControlWidget(control, runtime) {
        QtBase::setMouseTracking(true);
        QtBase::setAttribute(Qt::WA_NoMousePropagation);
    }

    QWidget& widget() override { return *this; }

  protected:
    // How the widget takes a key that KeyPress let through.
    virtual void takeKey(QKeyEvent& event) { QtBase::keyPressEvent(&event); }

    void keyPressEvent(QKeyEvent* event) override {
        routeKey(*event, [this](QKeyEvent& key) { takeKey(key); });
    }

    void focusInEvent(QFocusEvent* event) override {
        QtBase::focusInEvent(event);
        gotFocus();
    }

    void mouseMoveEvent(QMouseEvent* event) override {
        raiseMouseMove(*event);
        QtBase::mouseMoveEvent(event);
    }
};

// Text widgets also filter what an input method commits through KeyPress.
template <typename QtBase>
class BoundTextWidget : public BoundWidget<QtBase> {
  public:
    using BoundWidget<QtBase>::BoundWidget;

  protected:
    void inputMethodEvent(QInputMethodEvent* event) override {
        if (event->commitString().isEmpty() || !this->attached()) {
            QtBase::inputMethodEvent(event);
            return;
        }
        QInputMethodEvent filtered(event->preeditString(), event->attributes());
        filtered.setCommitString(this->filterCommitted(event->commitString()),
                                 event->replacementStart(), event->replacementLength());
        QtBase::inputMethodEvent(&filtered);
        event->accept();
    }
};

}  // namespace platform::qt
