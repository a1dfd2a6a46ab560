#include "platform/posix/raw_line.h"

namespace platform::posix {
namespace {

tcflag_t CharacterSize(int dataBits) {
    switch (dataBits) {
        case 5:
            return CS5;
        case 6:
            return CS6;
        case 7:
            return CS7;
        default:
            return CS8;
    }
}

tcflag_t ParityFlags(Parity parity) {
    switch (parity) {
        case Parity::Even:
            return PARENB;
        case Parity::Odd:
            return PARENB | PARODD;
        case Parity::Mark:
            return PARENB | CMSPAR | PARODD;
        case Parity::Space:
            return PARENB | CMSPAR;
        case Parity::None:
            break;
    }
    return 0;
}

}  // namespace

void MakeRawLine(termios& tio, const LineSettings& settings) {
    cfmakeraw(&tio);
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    tio.c_cflag |= CLOCAL | CREAD | HUPCL | CharacterSize(settings.dataBits);
    tio.c_cflag |= ParityFlags(settings.parity);
    // Linux has no 1.5 stop bits of its own; UARTs give 1.5 for 5 data bits
    // when asked for 2.
    if (settings.stopBits != StopBits::One) {
        tio.c_cflag |= CSTOPB;
    }
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
}

}  // namespace platform::posix
