#include "platform/posix/serial_errno.h"

#include <cerrno>

#include "platform/runtime_error.h"

namespace platform::posix {

int OpenFailure(int err) {
    switch (err) {
        // A /dev/ttyS<n> without a UART behind it refuses with EIO.
        case ENOENT:
        case ENXIO:
        case ENODEV:
        case EIO:
            return kErrNoSuchDevice;
        case ENOTTY:
            return kErrNotASerialPort;
        case EACCES:
        case EPERM:
            return kErrPermissionDenied;
        case EBUSY:
        case EAGAIN:
            return kErrPortInUse;
        default:
            return kErrSerialIo;
    }
}

int IoFailure(int err) {
    switch (err) {
        // A hung-up tty answers EIO; a vanished USB adapter ENODEV or ENXIO.
        case EIO:
        case ENODEV:
        case ENXIO:
            return kErrDeviceRemoved;
        default:
            return kErrSerialIo;
    }
}

}  // namespace platform::posix
