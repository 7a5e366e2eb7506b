// Path functions: the real platform's answers, which the simulation must
// give as well. The system here shows file extensions (Explorer's default
// on a fresh system is otherwise; the tests of the file name cover both).
#include <gtest/gtest.h>

#include <string>

#include "platform/path.h"
#include "tests/platform/contract_arrange.h"
#include "text/text_ops.h"

namespace {

using contract::ContractTest;

std::u16string Wide(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

class PathContract : public ContractTest {};

TEST_F(PathContract, QueryDosDeviceW) {
  win::Wchar answer[261] = {};
  const win::Dword n = win::QueryDosDeviceW(u"C:", answer, 260);
  ASSERT_GT(n, 2u);
  // One device name, its NUL and a final NUL.
  EXPECT_EQ(answer[n - 1], 0);
  EXPECT_EQ(answer[n - 2], 0);
  EXPECT_EQ(std::u16string(answer).size(), n - 2);
  EXPECT_EQ(std::u16string(answer).substr(0, 8), u"\\Device\\");
  EXPECT_EQ(win::QueryDosDeviceW(u"c:", answer, 260), n);

  const struct {
    const char* name;
    const char16_t* device;
    win::Dword room;
  } failures[] = {{"area too small", u"C:", 3}, {"no such drive", u"Q:", 260}};
  for (const auto& c : failures) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(win::QueryDosDeviceW(c.device, answer, c.room), 0u);
  }
}

TEST_F(PathContract, GetFileTitleW) {
  const struct {
    std::u16string path;
    win::Word room;
    int result;  // 0, a needed size, or -1 for any negative number
    std::u16string title;
  } cases[] = {
      {u"C:\\Games\\Thornwickvale.exe", 100, 0, u"Thornwickvale.exe"},
      {u"C:\\Games\\游戏\\存档", 100, 0, u"存档"},
      {u"Thornwickvale.exe", 100, 0, u"Thornwickvale.exe"},
      {u"C:Thornwickvale.exe", 100, 0, u"Thornwickvale.exe"},
      {u"C:/Games/x.txt", 100, 0, u"x.txt"},
      {u"C:\\Games\\Thornwickvale.exe", 17, 18, u""},  // the size it needs, NUL included
      {u"C:\\Games\\Thornwickvale.exe", 18, 0, u"Thornwickvale.exe"},
      {u"C:\\Games\\", 100, -1, u""},
      {u"C:", 100, -1, u""},
      {u"", 100, -1, u""},
      {u"C:\\Games\\*.exe", 100, -1, u""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(text::Number(static_cast<int>(c.path.size())) + " units, room " + text::Number(c.room));
    win::Wchar title[100] = {};
    const win::Short result = win::GetFileTitleW(c.path.c_str(), title, c.room);
    if (c.result < 0) {
      EXPECT_LT(result, 0);
    } else {
      EXPECT_EQ(result, c.result);
    }
    if (c.result == 0) {
      EXPECT_EQ(std::u16string(title), c.title);
    }
  }
  win::Wchar title[4];
  EXPECT_LT(win::GetFileTitleW(nullptr, title, 4), 0);
}

TEST_F(PathContract, GetFileAttributesW) {
  const std::u16string exe = Wide(contract::OwnExePath());
  const std::u16string folder = Wide(contract::OwnFolder());
  const win::Dword ofExe = win::GetFileAttributesW(exe.c_str());
  EXPECT_NE(ofExe, win::kInvalidFileAttributes);
  EXPECT_EQ(ofExe & win::kFileAttributeDirectory, 0u);
  const win::Dword ofFolder = win::GetFileAttributesW(folder.c_str());
  EXPECT_NE(ofFolder, win::kInvalidFileAttributes);
  EXPECT_NE(ofFolder & win::kFileAttributeDirectory, 0u);
  EXPECT_EQ(win::GetFileAttributesW((folder + u"\\no such file.tw").c_str()), win::kInvalidFileAttributes);
  EXPECT_EQ(win::GetFileAttributesW(u""), win::kInvalidFileAttributes);
  EXPECT_EQ(win::GetFileAttributesW(nullptr), win::kInvalidFileAttributes);
}

TEST_F(PathContract, PathFindExtensionW) {
  const struct {
    std::u16string path;
    std::u16string extension;
  } cases[] = {
      {u"C:\\Games\\Thornwickvale.exe", u".exe"},
      {u"C:\\Games\\archive.tar.gz", u".gz"},
      {u"C:\\Games.old\\README", u""},
      {u"C:\\Games\\x.", u"."},
      {u"C:\\Games\\.config", u".config"},
      {u"C:\\Games\\my game.e xe", u""},  // a space ends an extension
      {u"C:\\Games\\存档.存", u".存"},
      {u"", u""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(text::Number(static_cast<int>(c.path.size())));
    const win::Wchar* found = win::PathFindExtensionW(c.path.c_str());
    ASSERT_NE(found, nullptr);
    EXPECT_GE(found, c.path.c_str());
    EXPECT_LE(found, c.path.c_str() + c.path.size());
    EXPECT_EQ(std::u16string(found), c.extension);
  }
  EXPECT_EQ(win::PathFindExtensionW(nullptr), nullptr);
}

}  // namespace
