#include "bench/support/in_process_benches.h"

#include <QCoreApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

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
        test_support::TempDir folder;
        platform::QtRuntime runtime;
        runtime.App().Path = platform::FromUtf8(folder.path());
        platform::headless::SimulatedSerialPorts ports(runtime);
        console::Tamsel window(runtime, ports);
        window.Show();
        OpenPort(window);
        window.TimerRead.setEnabled(false);
        auto& line = ports.line(1);
        auto* pane = dynamic_cast<platform::qt::RichTextWidget*>(runtime.widget(window.RTextBuf));

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
            pane->showPending();                // as if every tick were refreshed
            QCoreApplication::processEvents();  // the repaint
            busy += std::chrono::duration<double>(Clock::now() - start).count();
            shown += window.RTextBuf.Text().size() - (before > 4000 ? 2000 : before);
        }
        std::printf("pipeline, %5zu bytes a tick: %9.0f bytes/s%s\n", bytesPerTick,
                    static_cast<double>(delivered) / busy,
                    shown == delivered ? ", no byte lost" : ", BYTES LOST");
        window.ComStartStop_Click();
    }
}

}  // namespace bench
