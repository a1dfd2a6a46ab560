#pragma once

#include <functional>

namespace test_support {

// The number of the run-time error the call raises, 0 when it raises none.
int ErrorOf(const std::function<void()>& call);

}  // namespace test_support
