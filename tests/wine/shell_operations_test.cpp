// File steps and program starting on the real system: the shell routines
// under Wine, in a fresh folder of the temporary folder.
#include <gtest/gtest.h>

#include <string>

#include "shell/file_operations.h"
#include "shell/shell_launch.h"
#include "tests/support/bytes.h"
#include "tests/wine/stand_in_game.h"
#include "text/text_ops.h"

namespace {

using testing_bytes::Bytes;
using wine_test::Cp936;

std::wstring Wide(const std::string& text) {
  if (text.empty()) return {};
  const int n = MultiByteToWideChar(936, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(936, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

std::wstring BusyChildPath() {
  std::wstring path = L"Z:";
  for (const char* c = TW_BUSY_CHILD_EXE; *c; ++c) path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
  return path;
}

class RealFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH] = {};
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    const std::wstring root = std::wstring(temp) + L"tw-shell-" + std::to_wstring(GetCurrentProcessId());
    RemoveTree(root);
    ASSERT_TRUE(CreateDirectoryW(root.c_str(), nullptr));
    root_ = Cp936(root);
  }
  void TearDown() override { RemoveTree(Wide(root_)); }

  std::string At(const std::string& relative) const { return root_ + "\\" + relative; }
  static DWORD Attributes(const std::string& path) { return GetFileAttributesW(Wide(path).c_str()); }
  static bool FolderThere(const std::string& path) {
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  }
  // The file's bytes; "<absent>" when it cannot be opened.
  static text::ByteBuffer Read(const std::string& path) {
    HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return Bytes("<absent>");
    text::ByteBuffer bytes;
    std::uint8_t piece[4096];
    DWORD got = 0;
    while (ReadFile(file, piece, sizeof piece, &got, nullptr) && got > 0)
      bytes.insert(bytes.end(), piece, piece + got);
    CloseHandle(file);
    return bytes;
  }
  static void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring path = folder + L"\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
          RemoveTree(path);
        else
          DeleteFileW(path.c_str());
      } while (FindNextFileW(search, &found));
      FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
  }

  std::string root_;
};

TEST_F(RealFiles, CreateFolderTree) {
  const std::string slashed = text::ReplaceAll(root_, "\\", "/");
  ASSERT_TRUE(shell::WriteFileBytes(At("a file"), {Bytes("x")}));
  const struct {
    std::string path;
    bool result;
    std::vector<std::string> folders;
  } cases[] = {
      {At("Games\\X\\补丁对比图"), true, {At("Games"), At("Games\\X"), At("Games\\X\\补丁对比图")}},
      {slashed + "/Slashed/Y/补丁对比图", true, {At("Slashed\\Y\\补丁对比图")}},
      // A second byte of 0x5C inside a name is no separator.
      {At("嘰\\补丁对比图\\"), true, {At("嘰"), At("嘰\\补丁对比图")}},
      {At("Games\\X"), true, {At("Games\\X")}},
      {At("a file"), false, {}},
      {At("a file\\below"), false, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(shell::CreateFolderTree(c.path), c.result);
    for (const auto& folder : c.folders) EXPECT_TRUE(FolderThere(folder)) << folder;
  }
  // No folder was made from the halves of a two-byte character.
  EXPECT_EQ(Attributes(At("\x87")), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(shell::IsFolder(At("Games")));
  EXPECT_FALSE(shell::IsFolder(At("a file")));
  EXPECT_FALSE(shell::IsFolder(At("missing")));
}

TEST_F(RealFiles, WriteFileBytes) {
  EXPECT_TRUE(shell::WriteFileBytes(At("该文件夹没用可以直接删除"), {text::ByteView{}}));
  EXPECT_EQ(Read(At("该文件夹没用可以直接删除")), text::ByteBuffer{});

  ASSERT_TRUE(shell::WriteFileBytes(At("安装前.PNG"), {Bytes("a much longer earlier picture")}));
  EXPECT_TRUE(shell::WriteFileBytes(At("安装前.PNG"), {Bytes("new")}));
  EXPECT_EQ(Read(At("安装前.PNG")), Bytes("new")) << "no trailing bytes of the earlier file";

  EXPECT_TRUE(shell::WriteFileBytes(At("parts.bin"),
                                    {Bytes("one "), text::ByteView{}, Bytes("two "), Bytes("three")}));
  EXPECT_EQ(Read(At("parts.bin")), Bytes("one two three"));

  EXPECT_FALSE(shell::WriteFileBytes(At("missing folder\\x.bin"), {Bytes("x")}));
  EXPECT_EQ(Attributes(At("missing folder")), INVALID_FILE_ATTRIBUTES) << "missing folders are not made";
}

TEST_F(RealFiles, WriteFileBytesOnAFileAnotherProcessHolds) {
  const std::string game = At("Thornwickvale.exe");
  ASSERT_TRUE(shell::WriteFileBytes(game, {Bytes("old game")}));
  std::wstring line = L"\"" + BusyChildPath() + L"\" --hold \"" + Wide(game) + L"\" --busy 4000";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION holder{};
  ASSERT_TRUE(
      CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &holder));
  bool held = false;
  for (int i = 0; i < 200 && !held; ++i) {
    held = Attributes(game + ".held") != INVALID_FILE_ATTRIBUTES;
    if (!held) Sleep(50);
  }
  ASSERT_TRUE(held) << "the other process did not open the file";

  EXPECT_FALSE(shell::WriteFileBytes(game, {Bytes("new game")}));
  EXPECT_FALSE(shell::RemoveFile(game));
  EXPECT_FALSE(shell::RenameFile(At("Thornwickvale.exe"), At("aside.exe"), true));

  TerminateProcess(holder.hProcess, 0);
  WaitForSingleObject(holder.hProcess, 10000);
  CloseHandle(holder.hThread);
  CloseHandle(holder.hProcess);
  EXPECT_EQ(Read(game), Bytes("old game")) << "the old bytes stay";
}

TEST_F(RealFiles, RemoveFile) {
  EXPECT_FALSE(shell::RemoveFile(At("missing.dll")));
  ASSERT_TRUE(shell::WriteFileBytes(At("Assembly-CSharp.dll"), {Bytes("x")}));
  EXPECT_TRUE(shell::RemoveFile(At("assembly-csharp.DLL")));
  EXPECT_EQ(Attributes(At("Assembly-CSharp.dll")), INVALID_FILE_ATTRIBUTES);
}

TEST_F(RealFiles, RenameFileTakesTheTargetsPlaceOnlyWhenAsked) {
  ASSERT_TRUE(shell::WriteFileBytes(At("new.exe"), {Bytes("new")}));
  ASSERT_TRUE(shell::WriteFileBytes(At("game.exe"), {Bytes("old")}));
  EXPECT_FALSE(shell::RenameFile(At("new.exe"), At("game.exe"), false));
  EXPECT_EQ(Read(At("game.exe")), Bytes("old"));
  EXPECT_TRUE(shell::RenameFile(At("new.exe"), At("game.exe"), true));
  EXPECT_EQ(Read(At("game.exe")), Bytes("new"));
  EXPECT_EQ(Attributes(At("new.exe")), INVALID_FILE_ATTRIBUTES);
}

class RealLaunch : public RealFiles {
 protected:
  static std::string Quoted(const std::wstring& path) { return Quote(Cp936(path)); }
  static std::string Quote(const std::string& text) {
    std::string quoted(1, '"');
    quoted += text;
    quoted += '"';
    return quoted;
  }
  // Milliseconds `run` held its caller.
  template <class F>
  static DWORD Timed(F run) {
    const DWORD start = GetTickCount();
    run();
    return GetTickCount() - start;
  }
  // The "key=value" line of the stand-in game's report, once the file is there.
  static std::string ReportValue(const std::string& report, const std::string& key) {
    text::ByteBuffer bytes = Bytes("<absent>");
    for (int i = 0; i < 200 && bytes == Bytes("<absent>"); ++i) {
      bytes = Read(report);
      if (bytes == Bytes("<absent>")) Sleep(50);
    }
    const std::string text(bytes.begin(), bytes.end());
    const auto at = text.find(key + "=");
    if (at == std::string::npos) return "<none>";
    const auto end = text.find("\r\n", at);
    return text.substr(at + key.size() + 1, end - at - key.size() - 1);
  }
};

TEST_F(RealLaunch, WithWaitReturnsAfterTheProgramEnded) {
  bool started = false;
  const DWORD held =
      Timed([&] { started = shell::RunCommandLine(Quoted(BusyChildPath()) + " --busy 1500", true); });
  RecordProperty("heldMs", static_cast<int>(held));
  EXPECT_TRUE(started);
  EXPECT_GE(held, 1450u);
}

TEST_F(RealLaunch, WithoutWaitAProgramThatNeverWaitsForInputHoldsTheCallerForASecond) {
  bool started = false;
  const DWORD held =
      Timed([&] { started = shell::RunCommandLine(Quoted(BusyChildPath()) + " --busy 4000", false); });
  RecordProperty("heldMs", static_cast<int>(held));
  EXPECT_TRUE(started);
  EXPECT_GE(held, 950u);
  EXPECT_LT(held, 1500u);
}

TEST_F(RealLaunch, WithoutWaitAReadyProgramLetsTheCallerGoAtOnce) {
  if (!wine_test::HasDisplay()) GTEST_SKIP() << "no display: the game cannot wait for input";
  bool started = false;
  const DWORD held = Timed([&] {
    started = shell::RunCommandLine(Quoted(wine_test::StandInGamePath()) + " --exit-after 3000", false);
  });
  RecordProperty("heldMs", static_cast<int>(held));
  EXPECT_TRUE(started);
  EXPECT_LT(held, 1000u);
}

TEST_F(RealLaunch, TheProgramSeesItsShowMode) {
  const struct {
    std::optional<int> mode;
    int show;
  } cases[] = {{std::nullopt, SW_SHOWNORMAL},
               {1, SW_HIDE},
               {2, SW_SHOWNORMAL},
               {3, SW_SHOWMINIMIZED},
               {4, SW_SHOWMAXIMIZED},
               {5, SW_SHOWNOACTIVATE},
               {6, SW_MINIMIZE},
               {0, SW_HIDE},
               {7, SW_MINIMIZE}};
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode ? std::to_string(*c.mode) : "left out");
    const std::string report = At("report" + std::to_string(++n) + ".txt");
    const std::string line =
        Quoted(wine_test::StandInGamePath()) + " --exit-after 500 --report \"" + report + "\"";
    ASSERT_TRUE(shell::RunCommandLine(line, false, c.mode));
    EXPECT_EQ(ReportValue(report, "show"), std::to_string(c.show));
    EXPECT_EQ(ReportValue(report, "flags"), std::to_string(STARTF_USESHOWWINDOW));
  }
}

TEST_F(RealLaunch, ACommandLineNamingNoProgramGivesFalse) {
  EXPECT_FALSE(shell::RunCommandLine("tw-no-such-program-4711.exe --x", false));
  EXPECT_FALSE(shell::RunCommandLine(Quote(At("no such game.exe")), true));
  EXPECT_FALSE(shell::RunCommandLine("", false));
}

}  // namespace
