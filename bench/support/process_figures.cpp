#include "bench/support/process_figures.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace bench {

double ProcessCpuSeconds(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    // The command name may hold blanks; the fields after it do not.
    const auto close = line.rfind(')');
    if (close == std::string::npos) {
        return 0;
    }
    std::istringstream fields(line.substr(close + 2));
    std::string field;
    long long utime = 0;
    long long stime = 0;
    for (int i = 3; fields >> field; ++i) {
        if (i == 14) {
            utime = std::stoll(field);
        } else if (i == 15) {
            stime = std::stoll(field);
            break;
        }
    }
    return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

CpuSample SampleCpu(pid_t pid) {
    CpuSample sample;
    sample.coarseSeconds = ProcessCpuSeconds(pid);
    const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
    std::error_code error;
    for (const auto& task : std::filesystem::directory_iterator(tasks, error)) {
        std::ifstream schedstat(task.path() / "schedstat");
        long long ns = 0;
        if (schedstat >> ns) {
            sample.threadNs[static_cast<pid_t>(std::stol(task.path().filename().string()))] = ns;
        }
    }
    return sample;
}

double CpuSecondsBetween(const CpuSample& before, const CpuSample& after) {
    long long ns = 0;
    for (const auto& [thread, used] : after.threadNs) {
        const auto earlier = before.threadNs.find(thread);
        ns += used - (earlier == before.threadNs.end() ? 0 : earlier->second);
    }
    for (const auto& [thread, used] : before.threadNs) {
        if (after.threadNs.count(thread) == 0) {
            return after.coarseSeconds - before.coarseSeconds;
        }
    }
    return static_cast<double>(ns) * 1e-9;
}

double Median(std::vector<double> values) {
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

long ResidentKb(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            long kb = 0;
            status >> kb;
            return kb;
        }
        status.ignore(1 << 16, '\n');
    }
    return 0;
}

}  // namespace bench
