#include "tests/support/run_time_error.h"

#include "platform/runtime_error.h"

namespace test_support {

int ErrorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const platform::RuntimeError& error) {
        return error.number();
    }
    return 0;
}

}  // namespace test_support
