#pragma once

#include <cstdint>

namespace console {

// A value taken to a whole number the way the runtime converts to Long:
// nearest, a half to the even neighbour. A value that does not fit (or is
// not a number) raises kErrOverflow.
std::int32_t WholeNumber(double value);

}  // namespace console
