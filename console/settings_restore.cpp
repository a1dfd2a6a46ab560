#include "console/tamsel.h"

namespace console {

void Tamsel::RestoreSettings() {}

}  // namespace console
