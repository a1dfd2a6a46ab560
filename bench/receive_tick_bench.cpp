// Measures the receive tick: its cost with nothing waiting, the program's CPU
// use while idle with the port open, and how many received bytes per second
// the tick pipeline (format, trim, append, repaint) sustains in the real view.
// Run by hand: build/bench/receive_tick_bench [tick|idle|flood]
// With a display (DISPLAY set) it measures the real X11 window; without one it
// falls back to Qt's offscreen platform, whose event loop costs more when idle.

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QGuiApplication>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "console/tamsel.h"
#include "platform/headless/simulated_serial.h"
#include "platform/posix/posix_serial_ports.h"
#include "platform/qt/qt_runtime.h"
#include "platform/utf.h"
#include "tests/support/temp_dir.h"

namespace {

using Clock = std::chrono::steady_clock;

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// A pseudo-terminal whose slave is the program's COM1.
class PtyPort {
  public:
    explicit PtyPort(const test_support::TempDir& folder) {
        master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0 ||
            symlink(ptsname(master_), folder.file("COM1").c_str()) != 0) {
            std::fprintf(stderr, "cannot make a pseudo-terminal\n");
            std::exit(1);
        }
    }
    ~PtyPort() { close(master_); }
    PtyPort(const PtyPort&) = delete;
    PtyPort& operator=(const PtyPort&) = delete;

  private:
    int master_ = -1;
};

void OpenPort(platform::Runtime&, console::Tamsel& window) {
    window.ComboPort.setListIndex(0);
    window.ComboSpeed.setListIndex(17);
    window.ComStartStop_Click();
    if (!window.PortOpened) {
        std::fprintf(stderr, "the port did not open\n");
        std::exit(1);
    }
}

// The real window with its port open on a pseudo-terminal.
struct OpenOnPty {
    OpenOnPty() : pty(folder), ports(folder.path()), window(runtime, ports) {
        runtime.App().Path = platform::FromUtf8(folder.path());
        window.Show();
        OpenPort(runtime, window);
    }
    ~OpenOnPty() { window.ComStartStop_Click(); }
    OpenOnPty(const OpenOnPty&) = delete;
    OpenOnPty& operator=(const OpenOnPty&) = delete;

    test_support::TempDir folder;
    PtyPort pty;
    platform::QtRuntime runtime;
    platform::posix::PosixSerialPorts ports;
    console::Tamsel window;
};

void IdleTick() {
    OpenOnPty bench;
    bench.window.TimerRead.setEnabled(false);  // ticks are called directly below
    QCoreApplication::processEvents();

    constexpr int kTicks = 20000;
    const auto start = Clock::now();
    for (int i = 0; i < kTicks; ++i) {
        bench.window.TimerRead_Timer();
    }
    const double micros =
        std::chrono::duration<double, std::micro>(Clock::now() - start).count() / kTicks;
    std::printf("idle tick (pseudo-terminal, real view): %.2f us per tick\n", micros);
}

void IdleCpu() {
    OpenOnPty bench;
    const double cpuBefore = CpuSeconds();
    const auto start = Clock::now();
    QTimer::singleShot(10000, [] { QCoreApplication::exit(0); });
    QApplication::exec();
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    const double cpu = CpuSeconds() - cpuBefore;
    std::printf("idle with the port open, %.1f s: %.2f %% of one core\n", wall, 100.0 * cpu / wall);
}

void Flood(std::size_t bytesPerTick) {
    test_support::TempDir folder;
    platform::QtRuntime runtime;
    runtime.App().Path = platform::FromUtf8(folder.path());
    platform::headless::SimulatedSerialPorts ports(runtime);
    console::Tamsel window(runtime, ports);
    window.Show();
    OpenPort(runtime, window);
    window.TimerRead.setEnabled(false);
    auto& line = ports.line(1);

    std::string chunk;
    for (std::size_t i = 0; i < bytesPerTick; ++i) {
        chunk += (i % 64 == 63) ? '\n' : static_cast<char>('!' + i % 90);
    }
    std::size_t delivered = 0;
    std::size_t shown = 0;
    double busy = 0;
    const auto end = Clock::now() + std::chrono::seconds(3);
    while (Clock::now() < end) {
        line.deliver(runtime.now(), chunk);
        delivered += chunk.size();
        const std::size_t before = window.RTextBuf.Text().size();
        const auto start = Clock::now();
        window.TimerRead_Timer();
        QCoreApplication::processEvents();  // the repaint
        busy += std::chrono::duration<double>(Clock::now() - start).count();
        shown += window.RTextBuf.Text().size() - (before > 4000 ? 2000 : before);
    }
    std::printf("flood of %5zu bytes a tick: %9.0f bytes/s in the tick pipeline%s\n", bytesPerTick,
                static_cast<double>(delivered) / busy,
                shown == delivered ? ", no byte lost" : ", BYTES LOST");
    window.ComStartStop_Click();
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    std::printf("platform: %s\n", qPrintable(QGuiApplication::platformName()));
    const std::string only = argc > 1 ? argv[1] : "";  // "tick", "idle" or "flood"
    if (only.empty() || only == "tick") {
        IdleTick();
    }
    if (only.empty() || only == "idle") {
        IdleCpu();
    }
    if (only.empty() || only == "flood") {
        for (const std::size_t size : {128, 1024, 4096}) {
            Flood(size);
        }
    }
    std::printf(
        "target: idle under 1 %% of a core; flood at least 256000 bytes/s (10 x 25.6 kB/s)\n");
    return 0;
}
