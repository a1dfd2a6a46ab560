// The receive side of the real window under a real display:
//   cpu       CPU of one core: the window idle with its port open, and a peer
//             streaming steadily at 960 and 25600 bytes/s into the text and
//             the hexadecimal view, each beside a bare Qt 5 ms timer (the
//             floor of an idle tick) measured over the same seconds; each in
//             a process of its own, medians of three rounds of 10 s.
//   flood     a peer offering 1 MB/s: what is taken in and shown, how soon a
//             typed key or a click takes effect, and the memory before,
//             during and after.
//   tick      the cost of one idle tick, called directly.
//   pipeline  received bytes per second the tick pipeline sustains (format,
//             trim, append, repaint), fed from a simulated line, with the
//             receive pane refreshed after every tick.
//   refresh   CPU of the ticks and of one refresh of the receive pane, for
//             each steady stream of the cpu part, fed from a simulated line.
// Run by hand: build/bench/receive_tick_bench [cpu|flood|tick|pipeline|refresh];
// all five without an argument. Without DISPLAY it falls back to Qt's
// offscreen platform, whose figures say little.

#include <QApplication>
#include <QGuiApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "bench/support/bare_timer_program.h"
#include "bench/support/child_process.h"
#include "bench/support/in_process_benches.h"
#include "bench/support/process_figures.h"
#include "bench/support/pty_peer.h"
#include "bench/support/window_program.h"
#include "tests/support/temp_dir.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr auto kSettle = 1500ms;
constexpr auto kMeasure = 10s;
constexpr int kRounds = 3;
constexpr auto kFlood = 5s;
constexpr auto kAfterFlood = 6s;

// A program folder whose settings give the window its design size.
void WriteSettings(const test_support::TempDir& folder) {
    test_support::WriteBytes(folder.file("korvel.ini"),
                             "[TamselSet]\nPort=0\nSpeed=17\n[Point]\nTop=0\nLeft=0\n"
                             "Width=8235\nHeight=10000\nWindowState=0\n");
}

void AwaitReady(bench::ChildProcess& child) {
    const auto line = child.readLine(20s);
    if (!line || *line != "ready") {
        std::fprintf(stderr, "the measured program did not start: %s\n",
                     line ? line->c_str() : "no answer");
        std::exit(1);
    }
    std::this_thread::sleep_for(kSettle);
}

// Percent of one core each process used over the same measuring time: the
// bare timer runs beside the window, so a busy spell of the machine weighs on
// both figures alike.
struct CpuPair {
    double window = 0;
    double bare = 0;
};

CpuPair CpuPercent(pid_t window, pid_t bare) {
    const bench::CpuSample windowBefore = bench::SampleCpu(window);
    const bench::CpuSample bareBefore = bench::SampleCpu(bare);
    const auto start = Clock::now();
    std::this_thread::sleep_for(kMeasure);
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    return {100.0 * bench::CpuSecondsBetween(windowBefore, bench::SampleCpu(window)) / wall,
            100.0 * bench::CpuSecondsBetween(bareBefore, bench::SampleCpu(bare)) / wall};
}

struct CpuCase {
    std::string name;
    const char* view = nullptr;  // none: the window idle
    double rate = 0;
    std::vector<double> window;
    std::vector<double> bare;
};

void CpuTable() {
    test_support::TempDir folder;
    WriteSettings(folder);
    bench::PtyPeer peer(folder.path());
    std::vector<CpuCase> cases{{"window idle, port open", nullptr, 0, {}, {}}};
    for (const char* view : {"text", "hex"}) {
        for (const double rate : {960.0, 25600.0}) {
            char name[64];
            std::snprintf(name, sizeof name, "%5.0f bytes/s, %s view", rate, view);
            cases.push_back({name, view, rate, {}, {}});
        }
    }
    std::printf(
        "CPU of one core, medians of %d rounds of %lld s each, the port COM1 open on a "
        "pseudo-terminal; a bare Qt 5 ms timer (the floor of an idle tick) measured over the "
        "same seconds:\n",
        kRounds, static_cast<long long>(kMeasure.count()));
    std::fflush(stdout);

    bench::ChildProcess bare({"--bare", folder.path()});
    AwaitReady(bare);
    bench::ChildProcess window({"--window", folder.path()});
    AwaitReady(window);
    for (int round = 0; round < kRounds; ++round) {
        for (CpuCase& c : cases) {
            if (c.view != nullptr) {
                window.send(c.view);
                peer.startStream(c.rate);
                std::this_thread::sleep_for(kSettle);
            }
            const CpuPair cpu = CpuPercent(window.pid(), bare.pid());
            c.window.push_back(cpu.window);
            c.bare.push_back(cpu.bare);
            if (c.view != nullptr) {
                peer.stopStream();
                std::this_thread::sleep_for(300ms);
            }
        }
    }
    const double idle = bench::Median(cases.front().window);
    std::printf("  %-30s %8s %8s %7s %7s   %s\n", "", "window", "bare", "/bare", "/idle",
                "window each round");
    for (const CpuCase& c : cases) {
        const double busy = bench::Median(c.window);
        const double floor = bench::Median(c.bare);
        std::printf("  %-30s %6.2f %% %6.2f %% %7.2f %7.2f  ", c.name.c_str(), busy, floor,
                    busy / floor, busy / idle);
        for (const double each : c.window) {
            std::printf(" %5.2f", each);
        }
        std::printf("\n");
    }
    std::printf("targets: idle at most 1.2 x bare; every stream at most 3 %% and about 2 x idle\n");
}

void FloodRun() {
    test_support::TempDir folder;
    WriteSettings(folder);
    bench::PtyPeer peer(folder.path());
    bench::ChildProcess window({"--window", folder.path()});
    AwaitReady(window);
    const long idleKb = bench::ResidentKb(window.pid());
    std::printf("1 MB/s flood for %lld s (memory idle %.1f MB):\n",
                static_cast<long long>(kFlood.count()), static_cast<double>(idleKb) / 1024);
    for (const char* view : {"text", "hex"}) {
        window.send(view);
        std::this_thread::sleep_for(300ms);
        const std::uint64_t offset = peer.written();
        window.send("expect " + std::to_string(offset));
        window.send("probe on");
        const auto start = Clock::now();
        const double cpuBefore = bench::ProcessCpuSeconds(window.pid());
        peer.startStream(1e6);
        long mostKb = 0;
        while (Clock::now() - start < kFlood) {
            std::this_thread::sleep_for(100ms);
            mostKb = std::max(mostKb, bench::ResidentKb(window.pid()));
        }
        peer.stopStream();
        const double wall = std::chrono::duration<double>(Clock::now() - start).count();
        const double cpu = 100.0 * (bench::ProcessCpuSeconds(window.pid()) - cpuBefore) / wall;
        const std::uint64_t taken = peer.written() - offset;
        std::this_thread::sleep_for(500ms);
        window.send("probe off");
        window.send("report");
        const auto report = window.readLine(10s);
        std::this_thread::sleep_for(kAfterFlood);
        const long afterKb = bench::ResidentKb(window.pid());
        std::printf("  %s view: peer wrote %llu bytes (%.0f bytes/s), CPU %.1f %%\n", view,
                    static_cast<unsigned long long>(taken), static_cast<double>(taken) / wall, cpu);
        std::printf("    window: %s\n", report ? report->c_str() : "no report");
        std::printf("    memory: max %.1f MB, %lld s after %.1f MB\n",
                    static_cast<double>(mostKb) / 1024, static_cast<long long>(kAfterFlood.count()),
                    static_cast<double>(afterKb) / 1024);
        std::fflush(stdout);
    }
    std::printf(
        "targets: bytes = peer wrote, wrong=0, pane=same, slowest input under 100 ms, none "
        "missed; memory within a few MB of idle and back after\n");
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const std::string mode = argc > 1 ? argv[1] : "";
    if ((mode == "--bare" || mode == "--window") && argc > 2) {
        QApplication application(argc, argv);
        return mode == "--bare" ? bench::RunBareTimer(argv[2]) : bench::RunWindow(argv[2]);
    }
    std::printf("display: %s\n", qEnvironmentVariableIsEmpty("DISPLAY")
                                     ? "none, offscreen"
                                     : qgetenv("DISPLAY").constData());
    std::fflush(stdout);
    if (mode.empty() || mode == "cpu") {
        CpuTable();
    }
    if (mode.empty() || mode == "flood") {
        FloodRun();
    }
    if (mode.empty() || mode == "tick" || mode == "pipeline" || mode == "refresh") {
        QApplication application(argc, argv);
        if (mode.empty() || mode == "tick") {
            bench::IdleTick();
        }
        if (mode.empty() || mode == "pipeline") {
            bench::Pipeline();
        }
        if (mode.empty() || mode == "refresh") {
            bench::RefreshCost();
        }
    }
    return 0;
}
