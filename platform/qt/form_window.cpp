#include "platform/qt/form_window.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QWindow>
#include <algorithm>

#include "platform/controls.h"
#include "platform/qt/qt_convert.h"
#include "platform/qt/widget_factory.h"
#include "platform/runtime.h"

namespace platform::qt {
namespace {

// Labels and lines are drawn on the window itself, beneath every other control.
int Layer(const Control& control) {
    switch (control.kind()) {
        case ControlKind::Line:
            return 0;
        case ControlKind::Label:
            return 1;
        default:
            return 2;
    }
}

bool TakesFocus(const Control& control) {
    return control.kind() != ControlKind::Label && control.kind() != ControlKind::Line;
}

}  // namespace

FormWindow::FormWindow(Form& form, Runtime& runtime) : form_(&form), runtime_(runtime) {
    applyFlags();
    setAttribute(Qt::WA_OpaquePaintEvent);
    std::vector<Control*> order = form.controls();
    std::stable_sort(order.begin(), order.end(),
                     [](const Control* a, const Control* b) { return Layer(*a) < Layer(*b); });
    for (Control* control : order) {
        if (auto made = MakeControlWidget(*control, runtime_, *this)) {
            controls_.push_back(std::move(made));
        }
    }
    updateTabOrder();
    background_ = ToQColor(form.BackColor());
    setWindowTitle(ToQString(form.Caption()));
    setWindowIcon(ToQIcon(form.Icon()));
    form.setView(this);
}

FormWindow::~FormWindow() {
    closing_ = true;  // going away already; no close event of its own
    retire();
}

ControlWidget* FormWindow::widgetFor(const Control& control) const {
    for (const auto& widget : controls_) {
        if (widget->control() == &control) {
            return widget.get();
        }
    }
    return nullptr;
}

bool FormWindow::minimisable() const {
    const std::int16_t style = form_->BorderStyle();
    return style != 0 && style != vbFixedDialog && form_->MinButton();
}

bool FormWindow::fixedSize() const {
    const std::int16_t style = form_->BorderStyle();
    return style == 1 || style == vbFixedDialog || style == 4;
}

void FormWindow::applyFlags() {
    const std::int16_t style = form_->BorderStyle();
    Qt::WindowFlags flags =
        form_->ShowInTaskbar() ? (style == vbFixedDialog ? Qt::Dialog : Qt::Window) : Qt::Tool;
    if (style == 0) {
        flags |= Qt::FramelessWindowHint;
    } else {
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint;
        if (minimisable()) {
            flags |= Qt::WindowMinimizeButtonHint;
        }
        if (style != vbFixedDialog && form_->MaxButton() && !fixedSize()) {
            flags |= Qt::WindowMaximizeButtonHint;
        }
    }
    if (form_->TopMost()) {
        flags |= Qt::WindowStaysOnTopHint;
    }
    const bool shown = isVisible();
    setWindowFlags(flags);
    // Every window of the program keeps it running, tool windows included.
    setAttribute(Qt::WA_QuitOnClose, true);
    if (shown) {
        show();  // a change of flags hides the window
    }
}

QRect FormWindow::modelPixels(const Rect& bounds) const {
    const float width = std::max(0.0F, bounds.width - form_->frameWidth());
    const float height = std::max(0.0F, bounds.height - form_->frameHeight());
    return {ToPixels(bounds.left), ToPixels(bounds.top), ToPixels(width), ToPixels(height)};
}

void FormWindow::applyGeometry() {
    if (form_ == nullptr || (isVisible() && shownState() != vbNormal)) {
        return;  // the normal bounds take effect when the window is restored
    }
    const QScopedValueRollback guard(applying_, true);
    placed_ = form_->normalBounds();
    const QRect wanted = modelPixels(placed_);
    if (fixedSize()) {
        setFixedSize(wanted.size());
    } else {
        resize(wanted.size());
    }
    if (isVisible()) {
        // Placed by its inner area, from the frame as it is drawn now.
        const QMargins margins = frame();
        setGeometry(QRect(wanted.topLeft() + QPoint(margins.left(), margins.top()), wanted.size()));
    } else {
        move(wanted.topLeft());  // the window manager puts the frame there
    }
}

std::int16_t FormWindow::shownState() const {
    const Qt::WindowStates state = windowState();
    if (state & Qt::WindowMinimized) {
        return vbMinimized;
    }
    if (state & (Qt::WindowMaximized | Qt::WindowFullScreen)) {
        return vbMaximized;
    }
    return vbNormal;
}

void FormWindow::applyState() {
    if (form_ == nullptr || !isVisible() || shownState() == form_->WindowState()) {
        return;
    }
    showInModelState();
    applyGeometry();
}

void FormWindow::showInModelState() {
    const QScopedValueRollback guard(applying_, true);
    switch (form_->WindowState()) {
        case vbMinimized:
            showMinimized();
            break;
        case vbMaximized:
            showMaximized();
            break;
        default:
            showNormal();
            break;
    }
}

void FormWindow::showFromModel() {
    if (form_ == nullptr) {
        return;
    }
    applyGeometry();
    showInModelState();
    if (Control* focus = form_->ActiveControl()) {
        if (ControlWidget* widget = widgetFor(*focus)) {
            widget->focusRequested();
        }
    }
    learnFrame();
}

void FormWindow::bringToFront() {
    raise();
    activateWindow();
}

void FormWindow::retire() {
    if (form_ == nullptr) {
        return;
    }
    const auto& alive = form_->controls();
    for (const auto& widget : controls_) {
        Control* control = widget->control();
        widget->detach(std::find(alive.begin(), alive.end(), control) != alive.end());
    }
    if (form_->view() == this) {
        form_->setView(nullptr);
    }
    form_ = nullptr;
    if (!closing_) {
        close();
    }
}

void FormWindow::updateTabOrder() {
    std::vector<ControlWidget*> order;
    for (const auto& widget : controls_) {
        if (widget->control() != nullptr && TakesFocus(*widget->control())) {
            order.push_back(widget.get());
        }
    }
    std::stable_sort(order.begin(), order.end(), [](ControlWidget* a, ControlWidget* b) {
        return a->control()->TabIndex() < b->control()->TabIndex();
    });
    for (std::size_t i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(&order[i - 1]->widget(), &order[i]->widget());
    }
}

void FormWindow::formChanged(FormProperty property) {
    if (form_ == nullptr) {
        return;
    }
    switch (property) {
        case FormProperty::Caption:
            setWindowTitle(ToQString(form_->Caption()));
            break;
        case FormProperty::Geometry:
            applyGeometry();
            break;
        case FormProperty::WindowState:
            applyState();
            break;
        case FormProperty::BackColor:
            background_ = ToQColor(form_->BackColor());
            update();
            break;
        case FormProperty::Icon:
            setWindowIcon(ToQIcon(form_->Icon()));
            break;
        case FormProperty::TopMost:
            applyFlags();
            break;
        case FormProperty::Enabled:  // the input guard asks the model; nothing greys out
        case FormProperty::Visible:  // the runtime shows and retires the window
            break;
    }
}

QMargins FormWindow::frame() const {
    const QWindow* handle = windowHandle();
    return handle == nullptr ? QMargins() : handle->frameMargins();
}

QPoint FormWindow::outerTopLeft() const {
    const QMargins margins = frame();
    return geometry().topLeft() - QPoint(margins.left(), margins.top());
}

void FormWindow::learnFrame() {
    if (form_ == nullptr || !isVisible()) {
        return;
    }
    const QMargins margins = frame();
    const float width = ToTwips(margins.left() + margins.right());
    const float height = ToTwips(margins.top() + margins.bottom());
    if (width == form_->frameWidth() && height == form_->frameHeight()) {
        return;
    }
    // The model keeps what its design or its code fixed, outer or inner
    // size; the window takes what the real frame then gives.
    form_->setFrameSize(width, height);
    applyGeometry();
}

void FormWindow::checkFrameSoon() {
    if (frameCheckPending_) {
        return;
    }
    frameCheckPending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            frameCheckPending_ = false;
            learnFrame();
        },
        Qt::QueuedConnection);
}

void FormWindow::reportGeometry() {
    if (form_ == nullptr || applying_ || !isVisible()) {
        return;
    }
    learnFrame();
    const std::int16_t state = shownState();
    if (state == vbMinimized && form_->WindowState() != vbMinimized && !minimisable()) {
        // The window manager offers a minimise button the window does not have;
        // minimised, the window would be out of the operator's reach.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (form_ != nullptr) {
                    showInModelState();
                }
            },
            Qt::QueuedConnection);
        return;
    }
    if (state != vbMaximized && state != form_->WindowState()) {
        // Minimised, or back to normal: the normal bounds stay the model's. A
        // window restored from maximised may still have its maximised size here.
        form_->viewResized(form_->normalBounds(), state);
        if (state == vbNormal) {
            applyGeometry();
        }
        return;
    }
    if (state == vbMinimized) {
        return;
    }
    const Rect current{form_->Left(), form_->Top(), form_->Width(), form_->Height()};
    // A side that stands where the model last placed it keeps the model's
    // exact value: the window manager's passing moves (while it maps or
    // restores the window) leave no pixel-rounded twips behind.
    const Rect& reference = state == vbNormal ? placed_ : current;
    const QRect known = modelPixels(reference);
    const QRect actual(outerTopLeft(), size());
    const Rect bounds{
        actual.x() == known.x() ? reference.left : ToTwips(actual.x()),
        actual.y() == known.y() ? reference.top : ToTwips(actual.y()),
        actual.width() == known.width() ? reference.width
                                        : ToTwips(actual.width()) + form_->frameWidth(),
        actual.height() == known.height() ? reference.height
                                          : ToTwips(actual.height()) + form_->frameHeight()};
    if (state == form_->WindowState() && bounds == current) {
        return;
    }
    form_->viewResized(bounds, state);
}

void FormWindow::closeEvent(QCloseEvent* event) {
    if (form_ == nullptr) {
        event->accept();
        return;
    }
    if (!form_->acceptsInput()) {
        event->ignore();  // a disabled window cannot be closed
        return;
    }
    {
        const QScopedValueRollback guard(closing_, true);
        form_->Unload();
    }
    event->setAccepted(form_ == nullptr);
}

void FormWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) {
        reportGeometry();
    }
}

void FormWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    reportGeometry();
}

void FormWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    reportGeometry();
}

void FormWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    learnFrame();
}

void FormWindow::keyPressEvent(QKeyEvent* event) {
    if (form_ != nullptr) {
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        const bool escape = event->key() == Qt::Key_Escape;
        if (enter || escape) {
            if (CommandButton* button = FormButton(*form_, escape)) {
                event->accept();
                runtime_.dispatch([button] { button->Click(); });
                return;
            }
        }
    }
    QWidget::keyPressEvent(event);
}

void FormWindow::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

void FormWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
    if (form_ != nullptr && form_->acceptsInput()) {
        Form& form = *form_;
        runtime_.dispatch([&form] { form.DblClick(); });
    }
}

bool FormWindow::nativeEvent(const QByteArray& eventType, void* message, qintptr* result) {
    // A window manager changes the frame it draws (as between normal and
    // maximised) with no event that reaches the widget; each native event
    // of the window may be such a change.
    checkFrameSoon();
    return QWidget::nativeEvent(eventType, message, result);
}

void FormWindow::paintEvent(QPaintEvent*) {
    QPainter(this).fillRect(rect(), background_);
}

}  // namespace platform::qt
