#include "console/tamsel.h"

namespace console {

void Tamsel::Form_Resize() {}

void Tamsel::LabelMove_MouseMove(std::int16_t&, std::int16_t&, float&, float&) {}

}  // namespace console
