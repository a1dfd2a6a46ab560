#pragma once

#include <stdexcept>
#include <string>

namespace platform {

// Numbers of the run-time failures the platform raises. Each has a standard
// message text (StandardErrorText) that the program shows to the operator.
enum ErrorNumber : int {
    kErrInvalidCall = 5,
    kErrOverflow = 6,
    kErrOutOfMemory = 7,
    kErrSubscript = 9,
    kErrTypeMismatch = 13,
    kErrInternal = 51,
    kErrFileNotFound = 53,
    kErrPathAccess = 75,
    kErrInvalidPropertyValue = 380,
    kErrPortOpenOperation = 8000,
    kErrInvalidPortNumber = 8002,
    kErrPortAlreadyOpen = 8005,
    kErrNoSuchDevice = 8010,
    kErrNotASerialPort = 8011,
    kErrDeviceNotOpen = 8012,
    kErrPermissionDenied = 8013,
    kErrPortInUse = 8014,
    kErrSettingsRefused = 8015,
    kErrSerialIo = 8017,
    kErrLinesNotReported = 8018,
    kErrLineNotSet = 8019,
    kErrDeviceRemoved = 8020,
    kErrLinkTargetMissing = 8021,
};

// The platform's standard message text for an error number (Simplified
// Chinese, like the rest of the program).
std::u16string StandardErrorText(int number);

// A numbered run-time failure of a platform call.
class RuntimeError : public std::runtime_error {
  public:
    explicit RuntimeError(int number);
    // A failure whose text names more than the standard text can.
    RuntimeError(int number, std::u16string text);
    int number() const { return number_; }
    const std::u16string& text() const { return text_; }

  private:
    int number_;
    std::u16string text_;
};

[[noreturn]] void Raise(int number);
[[noreturn]] void Raise(int number, std::u16string text);

}  // namespace platform
