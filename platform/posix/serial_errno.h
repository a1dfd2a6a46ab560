#pragma once

namespace platform::posix {

// Run-time error number for a failed open() of a serial device.
int OpenFailure(int err);

// Run-time error number for a failed request on an open serial device.
int IoFailure(int err);

}  // namespace platform::posix
