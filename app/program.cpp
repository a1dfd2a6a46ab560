#include "app/program.h"

#include <QApplication>

#include "about/about_box_opener.h"
#include "console/tamsel.h"
#include "device_commands/module_tests.h"
#include "platform/posix/posix_serial_ports.h"
#include "platform/program_info.h"
#include "platform/qt/qt_runtime.h"
#include "platform/qt/termination_signals.h"
#include "platform/utf.h"

namespace app {

int RunKorvel() {
    platform::QtRuntime runtime;
    platform::Application& program = runtime.App();
    program.Title = u"Korvel";
    program.Major = KORVEL_VERSION_MAJOR;
    program.Minor = KORVEL_VERSION_MINOR;
    program.Revision = KORVEL_VERSION_PATCH;
    platform::ReadRunningProgram(program);

    platform::posix::PosixSerialPorts ports(platform::ToUtf8(program.Path));
    console::Tamsel window(runtime, ports);
    device_commands::ModuleTests moduleTests(window);
    about::AboutBoxOpener aboutBox(window);
    // A desktop logout or kill closes the window the way its close box does.
    platform::CloseOnTerminationSignal termination(window);

    window.Show();
    return QApplication::exec();
}

}  // namespace app
