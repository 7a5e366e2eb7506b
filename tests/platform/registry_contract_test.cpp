// Registry functions, read only: the real platform's answers, which the
// simulation must give as well. The tests work in a key of their own.
#include <gtest/gtest.h>

#include <vector>

#include "platform/registry.h"
#include "tests/platform/contract_arrange.h"

namespace {

using contract::ContractTest;

constexpr win::Dword kRead = win::kKeyQueryValue | win::kKeyWow6464Key;

class RegistryContract : public ContractTest {
 protected:
  void SetUp() override {
    ContractTest::SetUp();
    contract::PutTestValue(u"Number", win::kRegDword, {0x2A, 0, 0, 0});
    contract::PutTestValue(u"Text", win::kRegSz, {'1', 0, 0, 0});
    contract::PutTestValue(u"Long", win::kRegBinary, {1, 2, 3, 4, 5, 6, 7, 8});
  }
  win::Hkey Open() {
    win::Hkey key{};
    EXPECT_EQ(win::RegOpenKeyExW(win::kHkeyCurrentUser, contract::kTestKeyWide, 0, kRead, &key),
              win::kErrorSuccess);
    return key;
  }
};

TEST_F(RegistryContract, RegOpenKeyExW) {
  const struct {
    const char* name;
    win::Hkey root;
    std::u16string subKey;
    win::Dword access;
    win::Long result;
  } cases[] = {
      {"the key", win::kHkeyCurrentUser, contract::kTestKeyWide, kRead, win::kErrorSuccess},
      {"32-bit view", win::kHkeyCurrentUser, contract::kTestKeyWide,
       win::kKeyQueryValue | win::kKeyWow6432Key, win::kErrorSuccess},
      {"names fold", win::kHkeyCurrentUser, u"SOFTWARE\\thornwickvalecontract", kRead, win::kErrorSuccess},
      {"a missing key", win::kHkeyCurrentUser, std::u16string(contract::kTestKeyWide) + u"\\Missing", kRead,
       win::kErrorFileNotFound},
      {"no root", win::Hkey{}, contract::kTestKeyWide, kRead, win::kErrorInvalidHandle},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    win::Hkey key{};
    EXPECT_EQ(win::RegOpenKeyExW(c.root, c.subKey.c_str(), 0, c.access, &key), c.result);
    EXPECT_EQ(win::IsNull(key), c.result != win::kErrorSuccess);
    if (!win::IsNull(key)) {
      EXPECT_EQ(win::RegCloseKey(key), win::kErrorSuccess);
    }
  }
}

TEST_F(RegistryContract, RegQueryValueExW) {
  const win::Hkey key = Open();
  const struct {
    const char16_t* name;
    bool withData;
    win::Dword room;
    win::Long result;
    win::Dword type, size;
    std::vector<std::uint8_t> data;
  } cases[] = {
      {u"Number", false, 0, win::kErrorSuccess, win::kRegDword, 4, {}},
      {u"Number", true, 4, win::kErrorSuccess, win::kRegDword, 4, {0x2A, 0, 0, 0}},
      {u"number", true, 8, win::kErrorSuccess, win::kRegDword, 4, {0x2A, 0, 0, 0}},
      {u"Number", true, 2, win::kErrorMoreData, win::kRegDword, 4, {}},
      {u"Text", false, 0, win::kErrorSuccess, win::kRegSz, 4, {}},
      {u"Long", false, 0, win::kErrorSuccess, win::kRegBinary, 8, {}},
      {u"Long", true, 8, win::kErrorSuccess, win::kRegBinary, 8, {1, 2, 3, 4, 5, 6, 7, 8}},
  };
  for (const auto& c : cases) {
    const std::u16string name = c.name;
    SCOPED_TRACE(std::string(name.begin(), name.end()) + " room " + std::to_string(c.room));
    std::vector<std::uint8_t> data(8, 0xEE);
    win::Dword type = 0;
    win::Dword size = c.room;
    EXPECT_EQ(win::RegQueryValueExW(key, c.name, nullptr, &type, c.withData ? data.data() : nullptr, &size),
              c.result);
    EXPECT_EQ(type, c.type);
    EXPECT_EQ(size, c.size);
    if (!c.data.empty()) {
      EXPECT_EQ(std::vector<std::uint8_t>(data.begin(), data.begin() + c.data.size()), c.data);
    }
  }
  win::Dword size = 0;
  EXPECT_EQ(win::RegQueryValueExW(key, u"Missing", nullptr, nullptr, nullptr, &size),
            win::kErrorFileNotFound);
  EXPECT_EQ(win::RegQueryValueExW(key, nullptr, nullptr, nullptr, nullptr, &size), win::kErrorFileNotFound);
  EXPECT_EQ(win::RegCloseKey(key), win::kErrorSuccess);
}

TEST_F(RegistryContract, RegCloseKey) {
  EXPECT_EQ(win::RegCloseKey(Open()), win::kErrorSuccess);
  EXPECT_EQ(win::RegCloseKey(static_cast<win::Hkey>(0x1234)), win::kErrorInvalidHandle);
}

}  // namespace
