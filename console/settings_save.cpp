#include "console/tamsel.h"

namespace console {

void Tamsel::Form_Unload(std::int16_t&) {}

}  // namespace console
