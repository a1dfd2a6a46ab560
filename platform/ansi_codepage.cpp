#include "platform/ansi_codepage.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <mutex>

namespace platform {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

class Converter {
  public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (valid()) {
            iconv_close(cd_);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts as much as possible; returns false when the input does not
    // convert whole. `in` is advanced past what was converted.
    bool convert(const char*& in, std::size_t& inLeft, std::string& out) {
        if (!valid()) {
            return false;
        }
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        std::array<char, 256> buffer{};
        while (inLeft > 0) {
            char* outPtr = buffer.data();
            std::size_t outLeft = buffer.size();
            char* inPtr = const_cast<char*>(in);
            const std::size_t rc = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
            in = inPtr;
            out.append(buffer.data(), buffer.size() - outLeft);
            if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
                return false;
            }
        }
        return true;
    }

  private:
    iconv_t cd_;
};

std::mutex& ConverterMutex() {
    static std::mutex mutex;
    return mutex;
}

Converter& ToUnicode() {
    static Converter converter("UTF-16LE", "CP936");
    return converter;
}

Converter& FromUnicode() {
    static Converter converter("CP936", "UTF-16LE");
    return converter;
}

std::u16string Utf16FromBytes(const std::string& bytes) {
    std::u16string text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                      (static_cast<unsigned char>(bytes[i + 1]) << 8));
    }
    return text;
}

std::string BytesOfChar(char16_t ch) {
    const char units[2] = {static_cast<char>(ch & 0xFF), static_cast<char>(ch >> 8)};
    const char* in = units;
    std::size_t left = sizeof units;
    std::string out;
    std::lock_guard lock(ConverterMutex());
    if (!FromUnicode().convert(in, left, out)) {
        return "?";
    }
    return out;
}

const std::array<char16_t, 256>& ByteTable() {
    static const std::array<char16_t, 256> table = [] {
        std::array<char16_t, 256> t{};
        std::lock_guard lock(ConverterMutex());
        for (int b = 0; b < 256; ++b) {
            const char byte = static_cast<char>(b);
            const char* in = &byte;
            std::size_t left = 1;
            std::string out;
            const bool whole = ToUnicode().convert(in, left, out);
            const std::u16string text = Utf16FromBytes(out);
            t[b] = (whole && text.size() == 1) ? text[0] : kReplacement;
        }
        return t;
    }();
    return table;
}

}  // namespace

char16_t AnsiByteToChar(std::uint8_t byte) {
    return ByteTable()[byte];
}

std::int16_t AnsiCode(char16_t ch) {
    if (ch < 0x80) {
        return static_cast<std::int16_t>(ch);
    }
    const std::string bytes = BytesOfChar(ch);
    if (bytes.size() == 1) {
        return static_cast<std::int16_t>(static_cast<unsigned char>(bytes[0]));
    }
    if (bytes.size() == 2) {
        const auto code = static_cast<std::uint16_t>((static_cast<unsigned char>(bytes[0]) << 8) |
                                                     static_cast<unsigned char>(bytes[1]));
        return static_cast<std::int16_t>(code);
    }
    return static_cast<std::int16_t>('?');
}

std::u16string AnsiCodeToText(std::int16_t code) {
    if (code == 0) {
        return {};
    }
    if (code > 0 && code < 256) {
        return std::u16string(1, AnsiByteToChar(static_cast<std::uint8_t>(code)));
    }
    const auto bits = static_cast<std::uint16_t>(code);
    const char bytes[2] = {static_cast<char>(bits >> 8), static_cast<char>(bits & 0xFF)};
    return FromAnsi(std::string_view(bytes, 2));
}

std::string ToAnsi(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char16_t ch : text) {
        if (ch < 0x80) {
            out += static_cast<char>(ch);
        } else {
            out += BytesOfChar(ch);
        }
    }
    return out;
}

std::u16string FromAnsi(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            text += static_cast<char16_t>(b);
            ++i;
            continue;
        }
        const char16_t single = AnsiByteToChar(b);
        if (single != kReplacement || i + 1 >= bytes.size()) {
            text += single;
            ++i;
            continue;
        }
        const char* in = bytes.data() + i;
        std::size_t left = 2;
        std::string out;
        bool whole = false;
        {
            std::lock_guard lock(ConverterMutex());
            whole = ToUnicode().convert(in, left, out);
        }
        const std::u16string pair = Utf16FromBytes(out);
        if (whole && pair.size() == 1) {
            text += pair[0];
            i += 2;
        } else {
            text += kReplacement;
            ++i;
        }
    }
    return text;
}

}  // namespace platform
