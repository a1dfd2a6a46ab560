#include "bench/support/window_program.h"

#include <unistd.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QSocketNotifier>
#include <QTimer>
#include <cstdio>
#include <sstream>

#include "bench/support/input_probe.h"
#include "bench/support/receive_check.h"
#include "console/tamsel.h"
#include "platform/posix/posix_serial_ports.h"
#include "platform/qt/qt_runtime.h"
#include "platform/utf.h"

namespace bench {
namespace {

// The text the lower pane shows: each CR LF, lone CR and lone LF one line break.
QString Displayed(const std::u16string& text) {
    QString shown = QString::fromStdU16String(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

// The figures of a report, once the view has caught up with the pane.
void Report(platform::QtRuntime& runtime, console::Tamsel& window, const ReceiveCheck& check,
            const InputProbe& probe) {
    QTimer::singleShot(200, [&runtime, &window, &check, &probe] {
        auto* view = dynamic_cast<QPlainTextEdit*>(runtime.widget(window.RTextBuf));
        const bool same =
            view != nullptr && view->toPlainText() == Displayed(window.RTextBuf.Text());
        std::printf("bytes=%llu wrong=%llu probes=%d missed=%d slowest_ms=%.1f pane=%s\n",
                    static_cast<unsigned long long>(check.bytes()),
                    static_cast<unsigned long long>(check.wrongTicks()), probe.sent(),
                    probe.missed(), probe.slowestMs(), same ? "same" : "DIFFERENT");
        std::fflush(stdout);
    });
}

}  // namespace

int RunWindow(const std::string& programFolder) {
    platform::QtRuntime runtime;
    runtime.App().Title = u"Korvel";
    runtime.App().EXEName = u"korvel";
    runtime.App().Path = platform::FromUtf8(programFolder);
    platform::posix::PosixSerialPorts ports(programFolder);
    console::Tamsel window(runtime, ports);
    window.Show();
    window.ComboPort.setListIndex(0);
    window.ComboSpeed.setListIndex(17);
    window.ComStartStop_Click();
    if (!window.PortOpened) {
        std::printf("error: the port did not open\n");
        return 1;
    }
    ReceiveCheck check(window);
    InputProbe probe(runtime, window);

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    std::string received;
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char chunk[256];
        const ssize_t n = read(STDIN_FILENO, chunk, sizeof chunk);
        if (n <= 0) {
            input.setEnabled(false);
            QCoreApplication::exit(0);
            return;
        }
        received.append(chunk, static_cast<std::size_t>(n));
        for (auto end = received.find('\n'); end != std::string::npos; end = received.find('\n')) {
            std::istringstream line(received.substr(0, end));
            received.erase(0, end + 1);
            std::string command;
            line >> command;
            if (command == "hex" || command == "text") {
                window.CheckDisplay.setValue(command == "hex" ? 1 : 0);
            } else if (command == "expect") {
                std::uint64_t offset = 0;
                line >> offset;
                check.start(offset);
            } else if (command == "probe") {
                std::string on;
                line >> on;
                on == "on" ? probe.start() : probe.stop();
            } else if (command == "report") {
                Report(runtime, window, check, probe);
            }
        }
    });
    std::printf("ready\n");
    std::fflush(stdout);
    const int result = QApplication::exec();
    window.ComStartStop_Click();
    return result;
}

}  // namespace bench
