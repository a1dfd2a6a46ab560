#pragma once

#include <sys/types.h>

#include <map>
#include <vector>

namespace bench {

// CPU seconds (user and system) a process has used so far, from /proc.
double ProcessCpuSeconds(pid_t pid);
// What a process has used so far, thread by thread to the nanosecond.
struct CpuSample {
    double coarseSeconds = 0;             // ProcessCpuSeconds
    std::map<pid_t, long long> threadNs;  // from each thread's schedstat
};
CpuSample SampleCpu(pid_t pid);
// CPU seconds used between two samples: exact while no thread ended between
// them, to the clock tick otherwise.
double CpuSecondsBetween(const CpuSample& before, const CpuSample& after);
// The middle one of some figures: this machine's noise comes in spikes.
double Median(std::vector<double> values);
// Its resident memory in kB, from /proc.
long ResidentKb(pid_t pid);

}  // namespace bench
