#include "process/path_parts.h"

#include <gtest/gtest.h>

#include "platform/registry.h"
#include "tests/support/sim_test.h"

namespace {

using process::GetPathDirectory;
using process::GetPathFileName;
using process::IsSystem64Bit;
using process::ReadRegistryDword;

TEST(GetPathDirectoryTest, FolderWithItsClosingBackslash) {
  const struct {
    const char* path;
    const char* folder;
  } cases[] = {
      {"C:\\Games\\Thornwickvale\\Thornwickvale.exe", "C:\\Games\\Thornwickvale\\"},
      {"C:\\Games\\Thornwickvale\\", "C:\\Games\\"},
      {"C:\\Games\\\\", "C:\\Games\\"},
      {"C:\\x.exe", "C:\\"},
      {"C:\\", ""},
      {"Thornwickvale.exe", ""},
      {"", ""},
      {"\\", ""},
      // 乗 is 81 5C: its second byte is no backslash.
      {"C:\\游戏\\乗\\Thornwickvale.exe", "C:\\游戏\\乗\\"},
      {"C:\\游戏乗\\x.exe", "C:\\游戏乗\\"},
      {"C:\\a\\乗", "C:\\a\\"},
      {"乗", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(GetPathDirectory(c.path), c.folder);
  }
}

class GetPathFileNameTest : public SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    world().files.AddFile("C:\\Games\\Thornwickvale\\Thornwickvale.exe");
    world().files.AddFile("C:\\Games\\Thornwickvale\\README");
    world().files.AddFolder("C:\\Games\\Thornwickvale\\Thornwickvale_Data");
    world().files.AddFolder("C:\\Games\\Saves.old");
  }
};

TEST_F(GetPathFileNameTest, TheFullNameWhateverExplorerHides) {
  const std::optional<win::Dword> settings[] = {std::nullopt, 0u, 1u, 2u};
  const struct {
    const char* path;
    const char* shown;   // extensions shown
    const char* hidden;  // HideFileExt 1
  } cases[] = {
      {"C:\\Games\\Thornwickvale\\Thornwickvale.exe", "Thornwickvale.exe", "Thornwickvale.exe"},
      {"c:\\games\\thornwickvale\\thornwickvale.exe", "thornwickvale.exe", "thornwickvale.exe"},
      {"C:\\Games\\Thornwickvale\\README", "README", "README"},
      // Not there: what the title gives, nothing put back.
      {"C:\\Games\\missing.txt", "missing.txt", "missing"},
      // A folder gets nothing put back either.
      {"C:\\Games\\Saves.old", "Saves.old", "Saves"},
      {"C:\\Games\\Thornwickvale\\", "", ""},
      {"", "", ""},
  };
  for (const auto& setting : settings) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(c.path) + " HideFileExt " + (setting ? std::to_string(*setting) : "absent"));
      world().registry.SetHideFileExt(setting);
      EXPECT_EQ(GetPathFileName(c.path), setting == 1u ? c.hidden : c.shown);
      EXPECT_TRUE(world().registry.openKeys.empty());
    }
  }
}

TEST_F(GetPathFileNameTest, AnAbsentExplorerKeyMeansExtensionsShown) {
  world().registry.SetHideFileExt(1u);
  world().registry.RemoveKey(u"HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer");
  EXPECT_EQ(GetPathFileName("C:\\Games\\Thornwickvale\\Thornwickvale.exe"), "Thornwickvale.exe");
}

TEST_F(GetPathFileNameTest, TheSettingIsReadInTheSystemsOwnView) {
  const struct {
    bool system64Bit;
    win::Dword access;
  } cases[] = {{true, win::kKeyQueryValue | win::kKeyWow6464Key},
               {false, win::kKeyQueryValue | win::kKeyWow6432Key}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.system64Bit);
    sim::ResetWorld();
    SetUp();
    world().processes.system64Bit = c.system64Bit;
    GetPathFileName("C:\\Games\\Thornwickvale\\Thornwickvale.exe");
    ASSERT_EQ(world().registry.opens.size(), 1u);
    EXPECT_EQ(world().registry.opens[0].access, c.access);
  }
}

TEST_F(GetPathFileNameTest, ALongExtensionIsPutBackWithoutOverrunningTheTitleArea) {
  // The title fits the area, title and extension together do not.
  const std::string stem(30000, 'a');
  const std::string extension = "." + std::string(5000, 'b');
  world().files.AddFile("C:\\" + stem + extension);
  world().registry.SetHideFileExt(1u);
  EXPECT_EQ(GetPathFileName("C:\\" + stem + extension), stem + extension);
}

TEST_F(GetPathFileNameTest, ATitleThePlatformCannotGiveIsEmpty) {
  world().FailNext("GetFileTitleW");
  EXPECT_EQ(GetPathFileName("C:\\Games\\Thornwickvale\\Thornwickvale.exe"), "");
  // A title too long for the area offered.
  const std::string name(40000, 'n');
  world().files.AddFile("C:\\" + name);
  EXPECT_EQ(GetPathFileName("C:\\" + name), "");
}

TEST_F(GetPathFileNameTest, APathThatCannotBeExaminedIsTakenForAFolder) {
  world().registry.SetHideFileExt(1u);
  world().FailNext("GetFileAttributesW");
  EXPECT_EQ(GetPathFileName("C:\\Games\\Thornwickvale\\Thornwickvale.exe"), "Thornwickvale");
}

class IsSystem64BitTest : public SimTest {};

TEST_F(IsSystem64BitTest, AskedOfTheSystemsWow64Folder) {
  const struct {
    const char* name;
    bool system64Bit, hasFunction;
    const char* failing;
    bool expected;
  } cases[] = {
      {"64-bit", true, true, nullptr, true},
      {"32-bit", false, true, nullptr, false},
      {"kernel32 lacks the function", true, false, nullptr, false},
      {"module not found", true, true, "GetModuleHandleA", false},
      {"lookup fails", true, true, "GetProcAddress", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    sim::ResetWorld();
    world().processes.system64Bit = c.system64Bit;
    world().processes.hasGetSystemWow64Directory = c.hasFunction;
    if (c.failing) world().FailNext(c.failing);
    EXPECT_EQ(IsSystem64Bit(), c.expected);
  }
}

class ReadRegistryDwordTest : public SimTest {
 protected:
  static constexpr char16_t kKey[] = u"HKEY_CURRENT_USER\\Software\\Thornwickvale";
  win::Dword Read(const char* name, win::Hkey root = win::kHkeyCurrentUser) {
    return ReadRegistryDword(root, "Software\\Thornwickvale", name, true);
  }
};

TEST_F(ReadRegistryDwordTest, ValuesAndTheirAbsence) {
  auto& registry = world().registry;
  registry.SetDword(kKey, u"Seven", 7);
  registry.SetValue(kKey, u"Long", sim::RegValue{win::kRegBinary, {1, 2, 3, 4, 5, 6, 7, 8}});
  registry.SetValue(kKey, u"Short", sim::RegValue{win::kRegBinary, {0x2A}});
  registry.SetValue(kKey, u"Text", sim::RegValue{win::kRegSz, {'1', 0, 0, 0}});
  registry.SetValue(kKey, u"Empty", sim::RegValue{win::kRegBinary, {}});
  const struct {
    const char* name;
    win::Dword value;
  } cases[] = {{"Seven", 7},  {"seven", 7}, {"Long", 0x04030201}, {"Short", 0x2A},
               {"Text", '1'}, {"Empty", 0}, {"Missing", 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Read(c.name), c.value);
    EXPECT_TRUE(registry.openKeys.empty());
  }
}

TEST_F(ReadRegistryDwordTest, NoRootNoKeyOrAFailedReadGiveZero) {
  world().registry.SetDword(kKey, u"Seven", 7);
  EXPECT_EQ(Read("Seven", win::Hkey{}), 0u);
  EXPECT_TRUE(world().calls.empty());  // the registry is not touched

  EXPECT_EQ(ReadRegistryDword(win::kHkeyCurrentUser, "Software\\Missing", "Seven", false), 0u);
  EXPECT_EQ(world().CallCount("RegCloseKey"), 0);

  world().FailNext("RegQueryValueExW", 2);
  EXPECT_EQ(Read("Seven"), 0u);
  world().FailNext("RegQueryValueExW", 1);
  EXPECT_EQ(Read("Seven"), 0u);
  EXPECT_EQ(world().CallCount("RegCloseKey"), 2);
  EXPECT_TRUE(world().registry.openKeys.empty());
}

}  // namespace
