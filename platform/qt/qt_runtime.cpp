#include "platform/qt/qt_runtime.h"

#include <QApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QFont>
#include <QScreen>
#include <QThreadPool>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "platform/form.h"
#include "platform/qt/form_window.h"
#include "platform/qt/input_guard.h"
#include "platform/qt/message_box.h"
#include "platform/qt/qt_convert.h"
#include "platform/qt/qt_translations.h"
#include "platform/qt/timer_driver.h"

namespace platform {
namespace {

QApplication& RequireApplication() {
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (app == nullptr) {
        throw std::logic_error("QtRuntime needs a QApplication");
    }
    return *app;
}

QMessageBox::Icon IconFor(int buttons) {
    switch (buttons & 0xF0) {
        case vbCritical:
            return QMessageBox::Critical;
        case 32:
            return QMessageBox::Question;
        case 48:
            return QMessageBox::Warning;
        case vbInformation:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

// Line breaks of a prompt as the message box draws them.
QString PromptText(const std::u16string& prompt) {
    QString text = qt::ToQString(prompt);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

}  // namespace

QtRuntime::QtRuntime() {
    RequireApplication();
    QApplication::setQuitOnLastWindowClosed(true);
    // Qt's raster engine hands every fill taller than about 96 lines to the
    // global thread pool and waits for it. For this window's narrow areas (a
    // scroll bar, a pane's edge) waking a thread per slice costs several
    // times the fill: one worker keeps that to a single hand-off.
    QThreadPool::globalInstance()->setMaxThreadCount(1);
    // The platform's default font: a narrow CJK-capable face at 9 points, so
    // captions such as "RTS=1 Disable" fit the widths the windows give them.
    QFont standard = QApplication::font();
    standard.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
                          standard.family()});
    standard.setPointSizeF(9.0);
    QApplication::setFont(standard);
    const QFileInfo executable(QCoreApplication::applicationFilePath());
    App().Path = qt::FromQString(executable.absolutePath());
    App().EXEName = qt::FromQString(executable.completeBaseName());
    App().Title = qt::FromQString(QCoreApplication::applicationName());
    // The executable's version, as the build gives it.
    App().Major = KORVEL_VERSION_MAJOR;
    App().Minor = KORVEL_VERSION_MINOR;
    App().Revision = KORVEL_VERSION_PATCH;
    translations_ = qt::InstallQtTranslations();
    guard_ = std::make_unique<qt::InputGuard>();
    timers_ = std::make_unique<qt::TimerDriver>(*this);
}

QtRuntime::~QtRuntime() {
    for (auto& [form, window] : windows_) {
        window->retire();
    }
    windows_.clear();
    timers_.reset();
    // Windows and timers retired inside event handlers wait for deferred deletion.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    guard_.reset();
}

Micros QtRuntime::now() const {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

void QtRuntime::DoEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

void QtRuntime::Sleep(std::int32_t milliseconds) {
    if (milliseconds > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
}

int QtRuntime::MsgBox(const std::u16string& prompt, int buttons, const std::u16string& title) {
    qt::MessageBox box(IconFor(buttons), qt::ToQString(title.empty() ? App().Title : title),
                       PromptText(prompt));
    box.exec();
    return vbOK;
}

DateTime QtRuntime::Now() const {
    const QDateTime now = QDateTime::currentDateTime();
    const QDate date = now.date();
    const QTime time = now.time();
    return DateTime{date.year(), date.month(),  date.day(),
                    time.hour(), time.minute(), time.second()};
}

ScreenSize QtRuntime::Screen() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return {};
    }
    const QSize size = screen->size();
    return ScreenSize{qt::ToTwips(size.width()), qt::ToTwips(size.height())};
}

void QtRuntime::maximizedBounds(float& left, float& top, float& width, float& height) const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        Runtime::maximizedBounds(left, top, width, height);
        return;
    }
    const QRect area = screen->availableGeometry();
    left = qt::ToTwips(area.x());
    top = qt::ToTwips(area.y());
    width = qt::ToTwips(area.width());
    height = qt::ToTwips(area.height());
}

void QtRuntime::timerChanged(Timer& timer) {
    timers_->changed(timer);
}

void QtRuntime::timerRemoved(Timer& timer) {
    timers_->removed(timer);
}

void QtRuntime::formShown(Form& form) {
    auto& window = windows_[&form];
    const bool shownAgain = window != nullptr;
    if (!shownAgain) {
        window = std::make_unique<qt::FormWindow>(form, *this);
    }
    window->showFromModel();
    if (shownAgain) {
        window->bringToFront();
    }
}

void QtRuntime::formHidden(Form& form) {
    const auto found = windows_.find(&form);
    if (found == windows_.end()) {
        return;
    }
    std::unique_ptr<qt::FormWindow> window = std::move(found->second);
    windows_.erase(found);
    window->retire();
    // Often called from inside the window's own event handling: delete it later.
    window.release()->deleteLater();
}

QWidget* QtRuntime::window(const Form& form) const {
    const auto found = windows_.find(&form);
    return found == windows_.end() ? nullptr : found->second.get();
}

QWidget* QtRuntime::widget(const Control& control) const {
    const auto found = windows_.find(&control.parent());
    if (found == windows_.end()) {
        return nullptr;
    }
    qt::ControlWidget* shown = found->second->widgetFor(control);
    return shown == nullptr ? nullptr : &shown->widget();
}

}  // namespace platform
