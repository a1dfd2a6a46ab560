#pragma once

namespace app {

// Builds the program's windows on the real runtime, shows the main window and
// runs until the last window is closed. Needs a QApplication.
int RunKorvel();

}  // namespace app
