// Finding, inspecting and ending the stand-in game with the real system.
#include <gtest/gtest.h>

#include "platform/registry.h"
#include "platform/window.h"
#include "process/find_game.h"
#include "process/kill_process.h"
#include "process/path_parts.h"
#include "process/process_image_path.h"
#include "tests/wine/stand_in_game.h"

#include <commdlg.h>
#include <tlhelp32.h>

#include <algorithm>
#include <vector>
#include "text/text_ops.h"

namespace {

using wine_test::Cp936;
using wine_test::StandInGame;

constexpr wchar_t kExplorerAdvanced[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";

// Sets Explorer's HideFileExt for the test and puts back what was there.
class HideFileExtSetting {
 public:
  HideFileExtSetting() {
    DWORD size = sizeof saved_;
    had_ = RegGetValueW(HKEY_CURRENT_USER, kExplorerAdvanced, L"HideFileExt", RRF_RT_REG_DWORD, nullptr,
                        &saved_, &size) == ERROR_SUCCESS;
  }
  ~HideFileExtSetting() {
    if (had_)
      Set(saved_);
    else
      RegDeleteKeyValueW(HKEY_CURRENT_USER, kExplorerAdvanced, L"HideFileExt");
  }
  void Set(DWORD value) {
    RegSetKeyValueW(HKEY_CURRENT_USER, kExplorerAdvanced, L"HideFileExt", REG_DWORD, &value, sizeof value);
  }

 private:
  bool had_ = false;
  DWORD saved_ = 0;
};

// Every window that FindGameWindow finds with the title, walking on from
// each one found: other programs of the same title may run beside the test.
std::vector<win::Hwnd> WindowsTitledThornwickvale() {
  std::vector<win::Hwnd> found;
  win::Hwnd previous{};
  while (true) {
    previous = process::FindGameWindow(std::nullopt, previous, std::nullopt, std::string("Thornwickvale"));
    if (win::IsNull(previous) || found.size() > 100) return found;
    found.push_back(previous);
  }
}

// The first process of a snapshot whose name equals `name` ignoring case:
// what FindProcessByName must answer, other programs of the name included.
DWORD FirstProcessNamed(const wchar_t* name) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  DWORD id = 0;
  for (BOOL more = Process32FirstW(snapshot, &entry); more && !id; more = Process32NextW(snapshot, &entry))
    if (lstrcmpiW(entry.szExeFile, name) == 0) id = entry.th32ProcessID;
  CloseHandle(snapshot);
  return id;
}

TEST(StandInGameLookup, FoundByItsWholeWindowTitle) {
  if (!wine_test::HasDisplay()) GTEST_SKIP() << "no display: the game's window cannot be made";
  const struct {
    const wchar_t* title;
    bool found;
  } cases[] = {{L"Thornwickvale", true}, {L"thornwickvale", true}, {L"Thornwickvale Launcher", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(Cp936(c.title));
    StandInGame game(std::wstring(L"--title \"") + c.title + L"\"");
    ASSERT_NE(game.Window(), nullptr);
    const auto gameWindow = static_cast<win::Hwnd>(reinterpret_cast<std::uintptr_t>(game.Window()));
    const std::vector<win::Hwnd> found = WindowsTitledThornwickvale();
    EXPECT_EQ(std::count(found.begin(), found.end(), gameWindow), c.found ? 1 : 0);
    for (const win::Hwnd window : found) {
      wchar_t title[64] = {};
      GetWindowTextW(reinterpret_cast<HWND>(win::Value(window)), title, 64);
      EXPECT_EQ(lstrcmpiW(title, L"Thornwickvale"), 0);
    }
    win::Dword owner = 0;
    win::GetWindowThreadProcessId(gameWindow, &owner);
    EXPECT_EQ(owner, game.Id());
  }
}

TEST(StandInGameLookup, FoundByItsExecutablesNameInAnyLetterCase) {
  StandInGame game;
  ASSERT_TRUE(game.Started());
  const struct {
    const char* name;
    bool found;
  } cases[] = {
      {"Thornwickvale.exe", true},    {"THORNWICKVALE.EXE", true},      {"thornwickvale.exe", true},
      {"Thornwickvale.ex", false},    {"Thornwickvale.exe.bak", false}, {"hornwickvale.exe", false},
      {"MyThornwickvale.exe", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const win::Dword found = process::FindProcessByName(c.name);
    if (c.found) {
      EXPECT_NE(found, 0u);
      EXPECT_EQ(found, FirstProcessNamed(L"Thornwickvale.exe"));  // ours, unless another runs before it
    } else {
      EXPECT_EQ(found, 0u);
    }
  }
}

TEST(StandInGameLookup, ImagePathsWithTheirDriveLetters) {
  StandInGame game;
  ASSERT_TRUE(game.Started());
  EXPECT_TRUE(text::Equal(process::GetProcessImagePath(game.Id()), Cp936(wine_test::StandInGamePath()),
                          text::Case::Fold))
      << process::GetProcessImagePath(game.Id());
  EXPECT_TRUE(text::Equal(process::GetProcessImagePath(0), Cp936(wine_test::OwnExePath()), text::Case::Fold))
      << process::GetProcessImagePath(0);
  EXPECT_TRUE(text::Equal(process::GetProcessImagePath(), process::GetProcessImagePath(0)));
}

TEST(StandInGameLookup, FolderAndFileNameWithExtensionsShownAndHidden) {
  StandInGame game;
  ASSERT_TRUE(game.Started());
  const std::string path = process::GetProcessImagePath(game.Id());
  const std::string gamePath = Cp936(wine_test::StandInGamePath());
  const std::string expectedFolder = gamePath.substr(0, gamePath.rfind('\\') + 1);
  EXPECT_TRUE(text::Equal(process::GetPathDirectory(path), expectedFolder, text::Case::Fold));

  HideFileExtSetting setting;
  setting.Set(0);
  EXPECT_EQ(process::GetPathFileName(path), "Thornwickvale.exe");

  setting.Set(1);
  EXPECT_EQ(process::ReadRegistryDword(win::kHkeyCurrentUser,
                                       "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced",
                                       "HideFileExt", process::IsSystem64Bit()),
            1u);
  wchar_t title[MAX_PATH] = {};
  GetFileTitleW(wine_test::StandInGamePath().c_str(), title, MAX_PATH);
  if (std::wstring(title) == L"Thornwickvale.exe")
    GTEST_SKIP() << "Wine's GetFileTitleW shows the extension whatever HideFileExt says";
  EXPECT_EQ(process::GetPathFileName(path), "Thornwickvale.exe");
}

TEST(StandInGameLookup, KillProcessEndsItWithExitCodeZero) {
  auto game = std::make_unique<StandInGame>();
  ASSERT_TRUE(game->Started());
  const DWORD id = game->Id();
  EXPECT_TRUE(process::KillProcess(id));
  EXPECT_EQ(game->WaitForExit(10000), 0u);
  game.reset();  // no handle of ours keeps the ended process
  // Wine lets an ended process be opened (and "ended" again) for a moment
  // after its last handle is closed; wait until its id is gone.
  for (int i = 0; i < 100; ++i) {
    HANDLE handle = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, id);
    if (!handle) break;
    CloseHandle(handle);
    Sleep(50);
  }
  EXPECT_FALSE(process::KillProcess(id));
  EXPECT_EQ(process::GetProcessImagePath(id), "");
}

}  // namespace
