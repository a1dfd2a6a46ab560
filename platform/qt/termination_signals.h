#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <memory>

#include "platform/form.h"

namespace platform {

// SIGTERM, SIGINT and SIGHUP close the window as its close box would (its
// Unload runs, so the settings are saved), then end the program. A window
// busy with a command exchange is closed once the exchange is over.
class CloseOnTerminationSignal : public QObject {
    Q_OBJECT

  public:
    explicit CloseOnTerminationSignal(Form& window);
    ~CloseOnTerminationSignal() override;
    CloseOnTerminationSignal(const CloseOnTerminationSignal&) = delete;
    CloseOnTerminationSignal& operator=(const CloseOnTerminationSignal&) = delete;

  private:
    void signalled();
    void closeWhenIdle();

    Form& window_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace platform
