#pragma once

#include <exception>
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
        } catch (const std::exception&) {
            number_ = kErrInternal;
        }
    }

    // The error number of the last failure passed over, 0 for none.
    int number() const { return number_; }
    void clear() { number_ = 0; }

  private:
    int number_ = 0;
};

}  // namespace platform
