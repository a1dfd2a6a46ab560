#pragma once

#include "platform/runtime.h"

namespace platform {

// Fills the application object's Path (the running executable's folder) and
// EXEName (its file name without extension), read from the executable itself
// so that a renamed copy gets its new name.
void ReadRunningProgram(Application& app);

// The folder and the name without extension of an executable's path.
void SplitProgramPath(const std::u16string& path, std::u16string& folder, std::u16string& name);

}  // namespace platform
