#include "platform/registry.h"

#include <algorithm>

#include "platform/ansi_text.h"

namespace platform {
namespace {

// The root keys of the original platform: 0x80000000 to 0x80000006.
bool IsRootKey(std::int32_t handle) {
    const auto bits = static_cast<std::uint32_t>(handle);
    return bits >= 0x80000000u && bits <= 0x80000006u;
}

// Rights that choose a registry view rather than asking for access.
constexpr std::uint32_t kViewFlags = 0x0300;

std::vector<std::string> FoldedNames(std::string_view path) {
    std::vector<std::string> names;
    std::size_t pos = 0;
    while (pos <= path.size()) {
        std::size_t slash = AnsiFind(path, '\\', pos);
        if (slash == std::string_view::npos) {
            slash = path.size();
        }
        if (slash > pos) {
            names.push_back(AnsiFoldCase(path.substr(pos, slash - pos)));
        }
        pos = slash + 1;
    }
    return names;
}

}  // namespace

Registry& Registry::Program() {
    static Registry registry;
    return registry;
}

Registry::Key& Registry::Create(std::int32_t root, std::string_view path) {
    Key* key = &roots_[root];
    for (const std::string& name : FoldedNames(path)) {
        key = &key->subKeys[name];
    }
    return *key;
}

void Registry::CreateKey(std::int32_t root, std::string_view path) {
    Create(root, path);
}

void Registry::SetValue(std::int32_t root, std::string_view path, std::string_view name,
                        std::uint32_t type, std::vector<std::uint8_t> data) {
    Create(root, path).values[AnsiFoldCase(name)] = Value{type, std::move(data)};
}

void Registry::SetReadOnly(std::int32_t root, std::string_view path, bool readOnly) {
    Create(root, path).readOnly = readOnly;
}

const Registry::OpenKey* Registry::Find(std::int32_t handle) const {
    const auto it = handles_.find(handle);
    return it == handles_.end() ? nullptr : &it->second;
}

std::int32_t Registry::Open(std::int32_t parent, std::string_view subKey, std::uint32_t accessMask,
                            std::int32_t& handle) {
    handle = 0;
    Key* key = nullptr;
    bool readOnly = false;
    if (IsRootKey(parent)) {
        key = &roots_[parent];
        readOnly = key->readOnly;
    } else if (const OpenKey* open = Find(parent)) {
        key = open->key;
        readOnly = open->readOnly;
    } else {
        return ERROR_INVALID_HANDLE;
    }
    for (const std::string& name : FoldedNames(subKey)) {
        const auto it = key->subKeys.find(name);
        if (it == key->subKeys.end()) {
            return ERROR_FILE_NOT_FOUND;
        }
        key = &it->second;
        readOnly = readOnly || key->readOnly;
    }
    if (readOnly && (accessMask & ~(KEY_READ | kViewFlags)) != 0) {
        return ERROR_ACCESS_DENIED;
    }
    // The smallest number not in use, so that handles stay small.
    std::int32_t number = 1;
    for (const auto& [used, unused] : handles_) {
        if (used != number) {
            break;
        }
        ++number;
    }
    handles_[number] = OpenKey{key, accessMask, readOnly};
    handle = number;
    return ERROR_SUCCESS;
}

std::int32_t Registry::Query(std::int32_t handle, std::string_view valueName,
                             std::uint32_t reserved, std::uint32_t& type,
                             std::span<std::uint8_t> data, std::uint32_t& size) {
    const Key* key = nullptr;
    if (IsRootKey(handle)) {
        key = &roots_[handle];
    } else if (const OpenKey* open = Find(handle)) {
        if ((open->access & KEY_QUERY_VALUE) == 0) {
            return ERROR_ACCESS_DENIED;
        }
        key = open->key;
    } else {
        return ERROR_INVALID_HANDLE;
    }
    if (reserved != 0) {
        return ERROR_INVALID_PARAMETER;
    }
    const auto it = key->values.find(AnsiFoldCase(valueName));
    if (it == key->values.end()) {
        return ERROR_FILE_NOT_FOUND;
    }
    const Value& value = it->second;
    const auto needed = static_cast<std::uint32_t>(value.data.size());
    type = value.type;
    if (data.data() == nullptr) {
        size = needed;
        return ERROR_SUCCESS;
    }
    const std::size_t capacity = std::min<std::size_t>(size, data.size());
    size = needed;
    if (value.data.size() > capacity) {
        return ERROR_MORE_DATA;
    }
    std::copy(value.data.begin(), value.data.end(), data.begin());
    return ERROR_SUCCESS;
}

std::int32_t Registry::Close(std::int32_t handle) {
    if (IsRootKey(handle)) {
        return ERROR_SUCCESS;
    }
    return handles_.erase(handle) == 1 ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

std::int32_t RegOpenKeyExA(Registry& registry, std::int32_t root, std::string_view subKeyAnsi,
                           std::uint32_t /*options*/, std::uint32_t accessMask,
                           std::int32_t& handle) {
    return registry.Open(root, subKeyAnsi, accessMask, handle);
}

std::int32_t RegQueryValueExA(Registry& registry, std::int32_t handle,
                              std::string_view valueNameAnsi, std::uint32_t reserved,
                              std::uint32_t& type, std::span<std::uint8_t> data,
                              std::uint32_t& size) {
    return registry.Query(handle, valueNameAnsi, reserved, type, data, size);
}

std::int32_t RegCloseKey(Registry& registry, std::int32_t handle) {
    return registry.Close(handle);
}

}  // namespace platform
