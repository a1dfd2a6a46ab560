#pragma once

#include <sys/types.h>

namespace bench {

// CPU seconds (user and system) a process has used so far, from /proc.
double ProcessCpuSeconds(pid_t pid);
// Its resident memory in kB, from /proc.
long ResidentKb(pid_t pid);

}  // namespace bench
