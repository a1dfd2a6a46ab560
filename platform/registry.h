#pragma once

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Root keys, value types, access rights and results of the registry calls,
// with the numbers of the original platform.
inline constexpr std::int32_t HKEY_CURRENT_USER = static_cast<std::int32_t>(0x80000001u);
inline constexpr std::int32_t HKEY_LOCAL_MACHINE = static_cast<std::int32_t>(0x80000002u);

inline constexpr std::uint32_t REG_SZ = 1;
inline constexpr std::uint32_t REG_EXPAND_SZ = 2;
inline constexpr std::uint32_t REG_DWORD = 4;

inline constexpr std::uint32_t KEY_QUERY_VALUE = 0x0001;
inline constexpr std::uint32_t KEY_READ = 0x20019;
inline constexpr std::uint32_t KEY_ALL_ACCESS = 0xF003F;

inline constexpr std::int32_t ERROR_SUCCESS = 0;
inline constexpr std::int32_t ERROR_FILE_NOT_FOUND = 2;
inline constexpr std::int32_t ERROR_ACCESS_DENIED = 5;
inline constexpr std::int32_t ERROR_INVALID_HANDLE = 6;
inline constexpr std::int32_t ERROR_INVALID_PARAMETER = 87;
inline constexpr std::int32_t ERROR_MORE_DATA = 234;

// An in-memory registry: keys under the root keys, each with named values
// (a type and raw bytes) and sub-keys. Key and value names are ANSI text,
// compared without regard to ASCII letter case; key paths use "\" between
// names. The program reads Registry::Program(), which is empty on this
// operating system; tests fill registries of their own.
class Registry {
  public:
    Registry() = default;
    Registry(const Registry&) = delete;
    Registry& operator=(const Registry&) = delete;

    static Registry& Program();

    // Creates the key and every key above it that is missing.
    void CreateKey(std::int32_t root, std::string_view path);
    // Creates the key if needed and sets one of its values.
    void SetValue(std::int32_t root, std::string_view path, std::string_view name,
                  std::uint32_t type, std::vector<std::uint8_t> data);
    // A read-only key, and every key below it, refuses an open that asks for
    // more than KEY_READ, as for a user without write access.
    void SetReadOnly(std::int32_t root, std::string_view path, bool readOnly = true);

    std::int32_t Open(std::int32_t parent, std::string_view subKey, std::uint32_t accessMask,
                      std::int32_t& handle);
    std::int32_t Query(std::int32_t handle, std::string_view valueName, std::uint32_t reserved,
                       std::uint32_t& type, std::span<std::uint8_t> data, std::uint32_t& size);
    std::int32_t Close(std::int32_t handle);

    // Keys opened and not yet closed.
    std::size_t OpenHandles() const { return handles_.size(); }

  private:
    struct Value {
        std::uint32_t type = 0;
        std::vector<std::uint8_t> data;
    };
    struct Key {
        std::map<std::string, Value> values;  // by folded name
        std::map<std::string, Key> subKeys;   // by folded name
        bool readOnly = false;
    };
    struct OpenKey {
        Key* key = nullptr;  // not owning; keys are never removed
        std::uint32_t access = 0;
        bool readOnly = false;
    };

    Key& Create(std::int32_t root, std::string_view path);
    const OpenKey* Find(std::int32_t handle) const;

    std::map<std::int32_t, Key> roots_;
    std::map<std::int32_t, OpenKey> handles_;
};

// The registry calls in their ANSI forms, on an explicit registry. `options`
// is not looked at. A failed open leaves 0 in `handle`. The query takes
// `size` in as the buffer's size (at most data.size()) and gives back the
// bytes delivered, or on ERROR_MORE_DATA the bytes needed; a buffer with no
// storage only asks for the size.
std::int32_t RegOpenKeyExA(Registry& registry, std::int32_t root, std::string_view subKeyAnsi,
                           std::uint32_t options, std::uint32_t accessMask, std::int32_t& handle);
std::int32_t RegQueryValueExA(Registry& registry, std::int32_t handle,
                              std::string_view valueNameAnsi, std::uint32_t reserved,
                              std::uint32_t& type, std::span<std::uint8_t> data,
                              std::uint32_t& size);
std::int32_t RegCloseKey(Registry& registry, std::int32_t handle);

}  // namespace platform
