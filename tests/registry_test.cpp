#include "platform/registry.h"

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using platform::Registry;

constexpr const char* kMsinfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr std::uint32_t kLauncherMask = 0x2003F;  // read rights plus write rights

std::vector<std::uint8_t> Bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

template <typename Case>
std::string CaseName(const ::testing::TestParamInfo<Case>& param) {
    return param.param.name;
}

// ------------------------------------------------------------ opening keys

struct OpenCase {
    const char* name;
    std::int32_t root;
    const char* path;
    std::uint32_t mask;
    std::int32_t result;
};

void PrintTo(const OpenCase& c, std::ostream* os) {
    *os << c.name;
}

class RegistryOpen : public ::testing::TestWithParam<OpenCase> {
  protected:
    RegistryOpen() {
        registry_.SetValue(platform::HKEY_LOCAL_MACHINE, kMsinfoKey, "PATH", platform::REG_SZ,
                           Bytes("C:\\msinfo32.exe"));
        registry_.SetValue(platform::HKEY_LOCAL_MACHINE, "SOFTWARE\\Locked\\Inner", "v",
                           platform::REG_SZ, Bytes("x"));
        registry_.SetReadOnly(platform::HKEY_LOCAL_MACHINE, "SOFTWARE\\Locked");
        registry_.SetReadOnly(platform::HKEY_LOCAL_MACHINE, "SOFTWARE\\Open\\Sealed");
        // 癨 is B0 5C in the code page: its second byte is "\" and must not split the name.
        registry_.CreateKey(platform::HKEY_LOCAL_MACHINE, "SOFTWARE\\\xB0\x5C");
    }
    Registry registry_;
};

TEST_P(RegistryOpen, Result) {
    const OpenCase& c = GetParam();
    std::int32_t handle = -1;
    EXPECT_EQ(platform::RegOpenKeyExA(registry_, c.root, c.path, 0, c.mask, handle), c.result);
    if (c.result == platform::ERROR_SUCCESS) {
        EXPECT_GT(handle, 0);
        EXPECT_EQ(platform::RegCloseKey(registry_, handle), platform::ERROR_SUCCESS);
    } else {
        EXPECT_EQ(handle, 0);
    }
    EXPECT_EQ(registry_.OpenHandles(), 0u);
}

const OpenCase kOpenCases[] = {
    {"ExistingKey", platform::HKEY_LOCAL_MACHINE, kMsinfoKey, platform::KEY_READ,
     platform::ERROR_SUCCESS},
    {"KeyAboveAValue", platform::HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft", platform::KEY_READ,
     platform::ERROR_SUCCESS},
    {"NamesIgnoreCase", platform::HKEY_LOCAL_MACHINE, "software\\MICROSOFT\\shared tools\\msinfo",
     platform::KEY_READ, platform::ERROR_SUCCESS},
    {"MissingKey", platform::HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools Location",
     platform::KEY_READ, platform::ERROR_FILE_NOT_FOUND},
    {"OtherRoot", platform::HKEY_CURRENT_USER, kMsinfoKey, platform::KEY_READ,
     platform::ERROR_FILE_NOT_FOUND},
    {"UnknownRoot", 77, "SOFTWARE", platform::KEY_READ, platform::ERROR_INVALID_HANDLE},
    {"WritableKeyWithWriteMask", platform::HKEY_LOCAL_MACHINE, kMsinfoKey, kLauncherMask,
     platform::ERROR_SUCCESS},
    {"ReadOnlyKeyForReading", platform::HKEY_LOCAL_MACHINE, "SOFTWARE\\Locked", platform::KEY_READ,
     platform::ERROR_SUCCESS},
    {"ReadOnlyKeyWithWriteMask", platform::HKEY_LOCAL_MACHINE, "SOFTWARE\\Locked", kLauncherMask,
     platform::ERROR_ACCESS_DENIED},
    {"ReadOnlyKeyWithAllAccess", platform::HKEY_LOCAL_MACHINE, "SOFTWARE\\Locked",
     platform::KEY_ALL_ACCESS, platform::ERROR_ACCESS_DENIED},
    {"BelowReadOnlyKeyWithWriteMask", platform::HKEY_LOCAL_MACHINE, "SOFTWARE\\Locked\\Inner",
     kLauncherMask, platform::ERROR_ACCESS_DENIED},
    {"AboveReadOnlyKeyWithWriteMask", platform::HKEY_LOCAL_MACHINE, "SOFTWARE\\Open", kLauncherMask,
     platform::ERROR_SUCCESS},
    {"DoubleByteName", platform::HKEY_LOCAL_MACHINE, "SOFTWARE\\\xB0\x5C", platform::KEY_READ,
     platform::ERROR_SUCCESS},
    {"DoubleByteNameIsNotASeparator", platform::HKEY_LOCAL_MACHINE, "SOFTWARE\\\xB0",
     platform::KEY_READ, platform::ERROR_FILE_NOT_FOUND},
};

INSTANTIATE_TEST_SUITE_P(Cases, RegistryOpen, ::testing::ValuesIn(kOpenCases), CaseName<OpenCase>);

// ---------------------------------------------------------- reading values

struct QueryCase {
    const char* name;
    std::uint32_t type;
    std::vector<std::uint8_t> stored;
    std::uint32_t bufferSize;  // size passed in; the buffer itself holds 1024 bytes
    std::int32_t result;
    std::uint32_t size;  // size given back
};

void PrintTo(const QueryCase& c, std::ostream* os) {
    *os << c.name;
}

class RegistryQuery : public ::testing::TestWithParam<QueryCase> {};

TEST_P(RegistryQuery, DeliversDataOrSize) {
    const QueryCase& c = GetParam();
    Registry registry;
    registry.SetValue(platform::HKEY_LOCAL_MACHINE, kMsinfoKey, "PATH", c.type, c.stored);
    std::int32_t handle = 0;
    ASSERT_EQ(platform::RegOpenKeyExA(registry, platform::HKEY_LOCAL_MACHINE, kMsinfoKey, 0,
                                      kLauncherMask, handle),
              platform::ERROR_SUCCESS);
    std::vector<std::uint8_t> buffer(1024, 0);
    std::uint32_t type = 0;
    std::uint32_t size = c.bufferSize;
    EXPECT_EQ(platform::RegQueryValueExA(registry, handle, "path", 0, type, buffer, size),
              c.result);
    EXPECT_EQ(type, c.type);
    EXPECT_EQ(size, c.size);
    if (c.result == platform::ERROR_SUCCESS) {
        EXPECT_EQ(std::vector<std::uint8_t>(buffer.begin(), buffer.begin() + size), c.stored);
        EXPECT_TRUE(
            std::all_of(buffer.begin() + size, buffer.end(), [](auto b) { return b == 0; }));
    }
    platform::RegCloseKey(registry, handle);
}

const QueryCase kQueryCases[] = {
    {"TextWithTerminator", platform::REG_SZ, Bytes(std::string_view("C:\\a.exe\0", 9)), 1024,
     platform::ERROR_SUCCESS, 9},
    {"TextWithoutTerminator", platform::REG_SZ, Bytes("C:\\a.exe"), 1024, platform::ERROR_SUCCESS,
     8},
    {"EmptyText", platform::REG_SZ, {}, 1024, platform::ERROR_SUCCESS, 0},
    {"ChineseText", platform::REG_SZ, Bytes("\xD6\xD0\xCE\xC4"), 1024, platform::ERROR_SUCCESS, 4},
    {"Number", platform::REG_DWORD, {2, 1, 0, 0}, 1024, platform::ERROR_SUCCESS, 4},
    {"ExpandableText", platform::REG_EXPAND_SZ, Bytes("%windir%"), 1024, platform::ERROR_SUCCESS,
     8},
    {"FillsTheBuffer", platform::REG_SZ, std::vector<std::uint8_t>(1024, 'a'), 1024,
     platform::ERROR_SUCCESS, 1024},
    {"OverTheBuffer", platform::REG_SZ, std::vector<std::uint8_t>(1025, 'a'), 1024,
     platform::ERROR_MORE_DATA, 1025},
    {"OverTheSizeGiven", platform::REG_DWORD, {2, 1, 0, 0}, 3, platform::ERROR_MORE_DATA, 4},
    {"SizeBeyondTheBuffer", platform::REG_SZ, std::vector<std::uint8_t>(1100, 'a'), 4096,
     platform::ERROR_MORE_DATA, 1100},
};

INSTANTIATE_TEST_SUITE_P(Cases, RegistryQuery, ::testing::ValuesIn(kQueryCases),
                         CaseName<QueryCase>);

class RegistryCalls : public ::testing::Test {
  protected:
    RegistryCalls() {
        registry_.SetValue(platform::HKEY_LOCAL_MACHINE, kMsinfoKey, "PATH", platform::REG_SZ,
                           Bytes("C:\\m.exe"));
    }
    std::int32_t Open(std::uint32_t mask = platform::KEY_READ) {
        std::int32_t handle = 0;
        EXPECT_EQ(platform::RegOpenKeyExA(registry_, platform::HKEY_LOCAL_MACHINE, kMsinfoKey, 0,
                                          mask, handle),
                  platform::ERROR_SUCCESS);
        return handle;
    }
    std::int32_t Query(std::int32_t handle, const char* name, std::uint32_t reserved = 0) {
        std::vector<std::uint8_t> buffer(64);
        std::uint32_t type = 0;
        std::uint32_t size = 64;
        return platform::RegQueryValueExA(registry_, handle, name, reserved, type, buffer, size);
    }
    Registry registry_;
};

TEST_F(RegistryCalls, QueryFailures) {
    const std::int32_t handle = Open();
    EXPECT_EQ(Query(handle, "MISSING"), platform::ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Query(handle, "PATH", 1), platform::ERROR_INVALID_PARAMETER);
    EXPECT_EQ(Query(handle + 1, "PATH"), platform::ERROR_INVALID_HANDLE);
    EXPECT_EQ(Query(handle, "PATH"), platform::ERROR_SUCCESS);
    platform::RegCloseKey(registry_, handle);
    EXPECT_EQ(Query(handle, "PATH"), platform::ERROR_INVALID_HANDLE);
}

TEST_F(RegistryCalls, QueryNeedsTheRightToQuery) {
    const std::int32_t handle = Open(0x20000);  // read control only
    EXPECT_EQ(Query(handle, "PATH"), platform::ERROR_ACCESS_DENIED);
    platform::RegCloseKey(registry_, handle);
}

TEST_F(RegistryCalls, SizeQueryWithoutBuffer) {
    const std::int32_t handle = Open();
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    EXPECT_EQ(platform::RegQueryValueExA(registry_, handle, "PATH", 0, type, {}, size),
              platform::ERROR_SUCCESS);
    EXPECT_EQ(type, platform::REG_SZ);
    EXPECT_EQ(size, 8u);
    platform::RegCloseKey(registry_, handle);
}

TEST_F(RegistryCalls, OpenBelowAnOpenKey) {
    std::int32_t software = 0;
    ASSERT_EQ(platform::RegOpenKeyExA(registry_, platform::HKEY_LOCAL_MACHINE, "SOFTWARE", 0,
                                      platform::KEY_READ, software),
              platform::ERROR_SUCCESS);
    std::int32_t msinfo = 0;
    EXPECT_EQ(platform::RegOpenKeyExA(registry_, software, "Microsoft\\Shared Tools\\MSINFO", 0,
                                      platform::KEY_READ, msinfo),
              platform::ERROR_SUCCESS);
    EXPECT_EQ(Query(msinfo, "PATH"), platform::ERROR_SUCCESS);
    platform::RegCloseKey(registry_, msinfo);
    platform::RegCloseKey(registry_, software);
}

TEST_F(RegistryCalls, HandlesAreSmallAndClosedOnce) {
    const std::int32_t first = Open();
    const std::int32_t second = Open();
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 2);
    EXPECT_EQ(registry_.OpenHandles(), 2u);
    EXPECT_EQ(platform::RegCloseKey(registry_, first), platform::ERROR_SUCCESS);
    EXPECT_EQ(platform::RegCloseKey(registry_, first), platform::ERROR_INVALID_HANDLE);
    EXPECT_EQ(platform::RegCloseKey(registry_, 0), platform::ERROR_INVALID_HANDLE);
    EXPECT_EQ(platform::RegCloseKey(registry_, 99), platform::ERROR_INVALID_HANDLE);
    EXPECT_EQ(Open(), first);  // the freed number comes back
    EXPECT_EQ(registry_.OpenHandles(), 2u);
    platform::RegCloseKey(registry_, first);
    platform::RegCloseKey(registry_, second);
    EXPECT_EQ(registry_.OpenHandles(), 0u);
}

TEST(ProgramRegistry, HoldsNoSystemInformationProgram) {
    std::int32_t handle = 0;
    EXPECT_EQ(platform::RegOpenKeyExA(Registry::Program(), platform::HKEY_LOCAL_MACHINE, kMsinfoKey,
                                      0, kLauncherMask, handle),
              platform::ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(platform::RegOpenKeyExA(Registry::Program(), platform::HKEY_LOCAL_MACHINE,
                                      "SOFTWARE\\Microsoft\\Shared Tools Location", 0,
                                      kLauncherMask, handle),
              platform::ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(handle, 0);
}

}  // namespace
