#include "console/whole_number.h"

#include <cmath>

#include "platform/runtime_error.h"

namespace console {

std::int32_t WholeNumber(double value) {
    // The default rounding mode is to nearest, ties to even.
    const double rounded = std::nearbyint(value);
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) {
        platform::Raise(platform::kErrOverflow);
    }
    return static_cast<std::int32_t>(rounded);
}

}  // namespace console
