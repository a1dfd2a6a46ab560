#pragma once

#include <exception>
#include <string>
#include <utility>

#include "platform/runtime_error.h"

namespace platform {

// For handlers that pass over run-time failures: each step that fails is
// abandoned, its error number recorded, and the handler goes on.
class IgnoredFailures {
  public:
    template <typename Step>
    void step(Step&& action) {
        try {
            std::forward<Step>(action)();
        } catch (const RuntimeError& error) {
            number_ = error.number();
            text_ = error.text();
        } catch (const std::exception&) {
            number_ = kErrInternal;
            text_ = StandardErrorText(kErrInternal);
        }
    }

    // The error number of the last failure passed over, 0 for none.
    int number() const { return number_; }
    // Its message text: the standard text of its number, unless the failure
    // named more (such as which link points where).
    const std::u16string& text() const { return text_; }
    void clear() {
        number_ = 0;
        text_.clear();
    }

  private:
    int number_ = 0;
    std::u16string text_;
};

}  // namespace platform
