#include "platform/runtime.h"

#include <exception>
#include <string>

#include "platform/runtime_error.h"
#include "platform/utf.h"

namespace platform {

Runtime::Runtime() = default;
Runtime::~Runtime() = default;

void Runtime::maximizedBounds(float& left, float& top, float& width, float& height) const {
    const ScreenSize screen = Screen();
    left = 0;
    top = 0;
    width = screen.Width;
    height = screen.Height;
}

namespace {

std::u16string FailureMessage(int number, const std::u16string& text) {
    return u"运行时错误 '" + FromUtf8(std::to_string(number)) + u"':\r\n\r\n" + text;
}

}  // namespace

void Runtime::dispatch(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const RuntimeError& error) {
        MsgBox(FailureMessage(error.number(), error.text()), vbCritical);
    } catch (const std::exception&) {
        MsgBox(FailureMessage(kErrInternal, StandardErrorText(kErrInternal)), vbCritical);
    }
}

}  // namespace platform
