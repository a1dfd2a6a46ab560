#pragma once

#include <termios.h>

#include "platform/serial_device.h"

namespace platform::posix {

// Raw 8-bit transfer in the given frame: no echo, no character translation,
// no flow control, modem lines ignored for reception (CLOCAL), lines dropped at
// the last close (HUPCL), reads that return at once (VMIN = VTIME = 0). The
// speed bits are left alone.
void MakeRawLine(termios& tio, const LineSettings& settings);

}  // namespace platform::posix
