#include "bench/support/bare_timer_program.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <QApplication>
#include <QLabel>
#include <QSocketNotifier>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <array>
#include <cstdio>

namespace bench {

int RunBareTimer(const std::string& programFolder) {
    const int port = open((programFolder + "/COM1").c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (port < 0) {
        std::printf("error: cannot open the port\n");
        return 1;
    }
    QWidget window;
    auto* column = new QVBoxLayout(&window);
    const std::array<QString, 5> captions = {
        QStringLiteral("DTR=0 Enable"), QStringLiteral("RTS=0 Enable"),
        QStringLiteral("DSR=0 Disable"), QStringLiteral("CTS=0 Disable"),
        QStringLiteral("CD=0 Disable")};
    std::array<QLabel*, 5> labels{};
    for (std::size_t i = 0; i < labels.size(); ++i) {
        labels[i] = new QLabel(captions[i], &window);
        column->addWidget(labels[i]);
    }
    window.show();

    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        int waiting = 0;
        ioctl(port, FIONREAD, &waiting);
        for (std::size_t i = 0; i < labels.size(); ++i) {
            labels[i]->setText(captions[i]);
        }
    });
    tick.start(5);

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [] {
        char ignored[256];
        if (read(STDIN_FILENO, ignored, sizeof ignored) <= 0) {
            QCoreApplication::exit(0);
        }
    });
    std::printf("ready\n");
    std::fflush(stdout);
    const int result = QApplication::exec();
    close(port);
    return result;
}

}  // namespace bench
