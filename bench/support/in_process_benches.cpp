#include "bench/support/in_process_benches.h"

#include <QCoreApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "bench/support/process_figures.h"
#include "bench/support/pty_peer.h"
#include "console/tamsel.h"
#include "platform/headless/simulated_serial.h"
#include "platform/posix/posix_serial_ports.h"
#include "platform/qt/qt_runtime.h"
#include "platform/qt/rich_text_widget.h"
#include "platform/utf.h"
#include "tests/support/temp_dir.h"

namespace bench {
namespace {

using Clock = std::chrono::steady_clock;

void OpenPort(console::Tamsel& window) {
    window.ComboPort.setListIndex(0);
    window.ComboSpeed.setListIndex(17);
    window.ComStartStop_Click();
    if (!window.PortOpened) {
        std::fprintf(stderr, "the port did not open\n");
        std::exit(1);
    }
}

// The real window with its port open on a simulated line; the bench runs the
// receive ticks itself.
struct WindowOnSimulatedLine {
    WindowOnSimulatedLine() {
        runtime.App().Path = platform::FromUtf8(folder.path());
        window.Show();
        OpenPort(window);
        window.TimerRead.setEnabled(false);
        pane = dynamic_cast<platform::qt::RichTextWidget*>(runtime.widget(window.RTextBuf));
    }
    ~WindowOnSimulatedLine() { window.ComStartStop_Click(); }
    WindowOnSimulatedLine(const WindowOnSimulatedLine&) = delete;
    WindowOnSimulatedLine& operator=(const WindowOnSimulatedLine&) = delete;

    test_support::TempDir folder;
    platform::QtRuntime runtime;
    platform::headless::SimulatedSerialPorts ports{runtime};
    console::Tamsel window{runtime, ports};
    platform::qt::RichTextWidget* pane = nullptr;
};

// CPU seconds of this process, all its threads.
double OwnCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

}  // namespace

void IdleTick() {
    test_support::TempDir folder;
    PtyPeer peer(folder.path());
    platform::QtRuntime runtime;
    runtime.App().Path = platform::FromUtf8(folder.path());
    platform::posix::PosixSerialPorts ports(folder.path());
    console::Tamsel window(runtime, ports);
    window.Show();
    OpenPort(window);
    window.TimerRead.setEnabled(false);  // ticks are called directly below
    QCoreApplication::processEvents();

    constexpr int kTicks = 20000;
    const auto start = Clock::now();
    for (int i = 0; i < kTicks; ++i) {
        window.TimerRead_Timer();
    }
    const double micros =
        std::chrono::duration<double, std::micro>(Clock::now() - start).count() / kTicks;
    std::printf("idle tick (pseudo-terminal, real view): %.2f us per tick\n", micros);
    window.ComStartStop_Click();
}

void Pipeline() {
    for (const std::size_t bytesPerTick : {128, 1024, 4096}) {
        WindowOnSimulatedLine simulated;
        console::Tamsel& window = simulated.window;
        auto& line = simulated.ports.line(1);
        auto* pane = simulated.pane;
        std::string chunk;
        for (std::size_t i = 0; i < bytesPerTick; ++i) {
            chunk += (i % 64 == 63) ? '\n' : static_cast<char>('!' + i % 90);
        }
        std::size_t delivered = 0;
        std::size_t shown = 0;
        double busy = 0;
        const auto end = Clock::now() + std::chrono::seconds(3);
        while (Clock::now() < end) {
            line.deliver(simulated.runtime.now(), chunk);
            delivered += chunk.size();
            const std::size_t before = window.RTextBuf.Text().size();
            const auto start = Clock::now();
            window.TimerRead_Timer();
            pane->showPending();                // as if every tick were refreshed
            QCoreApplication::processEvents();  // the repaint
            busy += std::chrono::duration<double>(Clock::now() - start).count();
            shown += window.RTextBuf.Text().size() - (before > 4000 ? 2000 : before);
        }
        std::printf("pipeline, %5zu bytes a tick: %9.0f bytes/s%s\n", bytesPerTick,
                    static_cast<double>(delivered) / busy,
                    shown == delivered ? ", no byte lost" : ", BYTES LOST");
    }
}

void RefreshCost() {
    for (const char* view : {"text", "hex"}) {
        for (const int rate : {960, 25600}) {
            WindowOnSimulatedLine simulated;
            simulated.window.CheckDisplay.setValue(std::string_view(view) == "hex" ? 1 : 0);
            auto& line = simulated.ports.line(1);
            constexpr std::string_view kLine = "+CSQ: 25,99\r\n";
            // One refresh's worth of 5 ms ticks at the rate.
            const int ticks = static_cast<int>(platform::qt::RichTextWidget::kRefresh / 5000);
            const std::size_t perTick = static_cast<std::size_t>(rate) / 200;
            std::size_t sent = 0;
            // The first refreshes fill the pane and are left out.
            std::vector<double> tickCpu;
            std::vector<double> refreshCpu;
            constexpr int kFilling = 10;
            constexpr int kRefreshes = 300;
            for (int r = 0; r < kFilling + kRefreshes; ++r) {
                const double t0 = OwnCpuSeconds();
                for (int t = 0; t < ticks; ++t) {
                    std::string chunk;
                    for (std::size_t i = 0; i < perTick; ++i, ++sent) {
                        chunk += kLine[sent % kLine.size()];
                    }
                    line.deliver(simulated.runtime.now(), chunk);
                    simulated.window.TimerRead_Timer();
                }
                const double t1 = OwnCpuSeconds();
                simulated.pane->showPending();
                QCoreApplication::processEvents();  // the repaint
                const double t2 = OwnCpuSeconds();
                if (r >= kFilling) {
                    tickCpu.push_back((t1 - t0) / ticks);
                    refreshCpu.push_back(t2 - t1);
                }
            }
            std::printf("%5d bytes/s, %s view: ticks %7.1f us per tick, refresh %7.1f us\n", rate,
                        view, 1e6 * Median(tickCpu), 1e6 * Median(refreshCpu));
        }
    }
}

}  // namespace bench
