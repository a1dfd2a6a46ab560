#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/runtime_error.h"
#include "platform/serial_device.h"

namespace platform {
namespace {

constexpr std::int32_t kMinBaud = 50;
constexpr std::int32_t kMaxBaud = 256000;

std::optional<std::int32_t> ParseBaud(std::u16string_view field) {
    if (field.empty()) {
        return std::nullopt;
    }
    std::int32_t value = 0;
    for (char16_t ch : field) {
        if (ch < u'0' || ch > u'9') {
            return std::nullopt;
        }
        value = value * 10 + (ch - u'0');
        // Stops before the sum can overflow on a long run of digits.
        if (value > kMaxBaud) {
            return std::nullopt;
        }
    }
    if (value < kMinBaud) {
        return std::nullopt;
    }
    return value;
}

std::optional<Parity> ParseParity(std::u16string_view field) {
    if (field.size() != 1) {
        return std::nullopt;
    }
    switch (field[0]) {
        case u'N':
        case u'n':
            return Parity::None;
        case u'E':
        case u'e':
            return Parity::Even;
        case u'O':
        case u'o':
            return Parity::Odd;
        case u'M':
        case u'm':
            return Parity::Mark;
        case u'S':
        case u's':
            return Parity::Space;
        default:
            return std::nullopt;
    }
}

std::optional<int> ParseDataBits(std::u16string_view field) {
    if (field.size() != 1 || field[0] < u'5' || field[0] > u'8') {
        return std::nullopt;
    }
    return field[0] - u'0';
}

std::optional<StopBits> ParseStopBits(std::u16string_view field) {
    if (field == u"1") {
        return StopBits::One;
    }
    if (field == u"1.5") {
        return StopBits::OneAndHalf;
    }
    if (field == u"2") {
        return StopBits::Two;
    }
    return std::nullopt;
}

}  // namespace

LineSettings ParseSettings(std::u16string_view text) {
    std::array<std::u16string_view, 4> fields;
    std::size_t count = 0;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(u',', start);
        if (count == fields.size()) {
            Raise(kErrInvalidPropertyValue);
        }
        fields[count++] = text.substr(
            start, comma == std::u16string_view::npos ? std::u16string_view::npos : comma - start);
        if (comma == std::u16string_view::npos) {
            break;
        }
        start = comma + 1;
    }
    if (count != fields.size()) {
        Raise(kErrInvalidPropertyValue);
    }
    const auto baud = ParseBaud(fields[0]);
    const auto parity = ParseParity(fields[1]);
    const auto dataBits = ParseDataBits(fields[2]);
    const auto stopBits = ParseStopBits(fields[3]);
    if (!baud || !parity || !dataBits || !stopBits) {
        Raise(kErrInvalidPropertyValue);
    }
    return LineSettings{*baud, *parity, *dataBits, *stopBits};
}

}  // namespace platform
