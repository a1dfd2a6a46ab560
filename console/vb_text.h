#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace console {

// Plain decimal text of a whole number: no blank, no grouping.
std::u16string Str(std::int64_t value);

// Decimal text of a geometry value: a fraction only when the number has one.
std::u16string NumberText(double value);

// The leading number of a text, read the way the runtime's Val does: blanks,
// tabs and line feeds skipped, digits with at most one decimal point, 0 when none.
double Val(std::u16string_view text);

}  // namespace console
