#pragma once

#include <memory>

#include "platform/qt/control_widget.h"

class QWidget;

namespace platform::qt {

// The widget for a control of the kind it is, placed on `parent`.
std::unique_ptr<ControlWidget> MakeControlWidget(Control& control, Runtime& runtime,
                                                 QWidget& parent);

}  // namespace platform::qt
