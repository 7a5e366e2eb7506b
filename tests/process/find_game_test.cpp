#include "process/find_game.h"

#include <gtest/gtest.h>

#include "tests/support/sim_test.h"

namespace {

using process::FindGameWindow;
using process::FindProcessByName;

class FindGameWindowTest : public SimTest {
 protected:
  win::Dword game = 0;
  void SetUp() override {
    SimTest::SetUp();
    game =
        world().processes.Add("Thornwickvale.exe", u"\\Device\\HarddiskVolume2\\Games\\Thornwickvale.exe").id;
  }
  win::Hwnd Window(std::u16string title, std::u16string className = u"GameWindowClass") {
    return world().windows.Add(std::move(title), game, std::move(className)).handle;
  }
};

TEST_F(FindGameWindowTest, TheWholeTitleMustMatchLetterCaseNotCounting) {
  const struct {
    std::u16string title;
    bool found;
  } cases[] = {
      {u"Thornwickvale", true},
      {u"thornwickvale", true},
      {u"THORNWICKVALE", true},
      {u"Thornwickvale Launcher", false},
      {u"Thornwickval", false},
      {u"The Thornwickvale", false},
      {u"", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.title.size() << " units");
    sim::ResetWorld();
    SetUp();
    const win::Hwnd window = Window(c.title);
    EXPECT_EQ(FindGameWindow(std::nullopt, std::nullopt, std::nullopt, std::string("Thornwickvale")),
              c.found ? window : win::Hwnd{});
    EXPECT_EQ(world().CallCount("FindWindowExA"), 1);  // one call, nothing more
  }
}

TEST_F(FindGameWindowTest, FirstMatchInZOrderAndLeftOutNamesMatchEverything) {
  const win::Hwnd other = Window(u"Launcher", u"LauncherClass");
  const win::Hwnd first = Window(u"Thornwickvale");
  const win::Hwnd second = Window(u"Thornwickvale", u"OtherClass");
  const auto title = std::string("Thornwickvale");
  EXPECT_EQ(FindGameWindow(std::nullopt, std::nullopt, std::nullopt, title), first);
  EXPECT_EQ(FindGameWindow(), other);
  EXPECT_EQ(FindGameWindow(std::nullopt, std::nullopt, std::string("otherclass"), title), second);
  EXPECT_EQ(FindGameWindow(std::nullopt, first, std::nullopt, title), second);
  EXPECT_TRUE(win::IsNull(FindGameWindow(std::nullopt, second, std::nullopt, title)));
  EXPECT_TRUE(win::IsNull(FindGameWindow(std::nullopt, std::nullopt, std::string("NoSuchClass"), title)));
}

class FindProcessByNameTest : public SimTest {
 protected:
  win::Dword Add(std::string name) { return world().processes.Add(std::move(name), u"").id; }
  void ExpectSnapshotReleased() {
    EXPECT_EQ(world().handles.OpenCount(), 0);
    EXPECT_EQ(world().handles.badCloses, 0);
  }
};

TEST_F(FindProcessByNameTest, WholeNamesMatchWithAToZFolded) {
  const struct {
    const char* running;
    const char* wanted;
    bool found;
  } cases[] = {
      {"Thornwickvale.exe", "Thornwickvale.exe", true},
      {"THORNWICKVALE.EXE", "Thornwickvale.exe", true},
      {"thornwickvale.exe", "Thornwickvale.exe", true},
      {"Thornwickvale.exe.bak", "Thornwickvale.exe", false},
      {"Thornwickvale.ex", "Thornwickvale.exe", false},
      {"MyThornwickvale.exe", "Thornwickvale.exe", false},
      {"", "Thornwickvale.exe", false},
      // 81 41 and 81 61 are two different characters: the second byte of a
      // two-byte character is never folded.
      {"\x81\x41.exe", "\x81\x41.exe", true},
      {"\x81\x41.exe", "\x81\x61.exe", false},
      {"\x81\x61.exe", "\x81\x41.exe", false},
      {"游戏.EXE", "游戏.exe", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.running) + " / " + c.wanted);
    sim::ResetWorld();
    const win::Dword id = Add(c.running);
    EXPECT_EQ(FindProcessByName(c.wanted), c.found ? id : 0u);
    ExpectSnapshotReleased();
  }
}

TEST_F(FindProcessByNameTest, TheFirstInSnapshotOrderWins) {
  Add("Other.exe");
  const win::Dword first = Add("Thornwickvale.exe");
  Add("thornwickvale.exe");
  EXPECT_EQ(FindProcessByName("Thornwickvale.exe"), first);
  EXPECT_EQ(world().CallCount("CloseHandle"), 1);
  ExpectSnapshotReleased();
}

TEST_F(FindProcessByNameTest, EndedProcessesAreNotInTheSnapshot) {
  world().processes.Find(Add("Thornwickvale.exe"))->running = false;
  const win::Dword second = Add("Thornwickvale.exe");
  EXPECT_EQ(FindProcessByName("Thornwickvale.exe"), second);
}

TEST_F(FindProcessByNameTest, FailuresGiveZeroAndReleaseTheSnapshot) {
  const struct {
    const char* failing;
    int occurrence;
  } cases[] = {{"CreateToolhelp32Snapshot", 1}, {"Process32First", 1}, {"Process32Next", 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.failing);
    sim::ResetWorld();
    Add("Other.exe");
    Add("Thornwickvale.exe");
    world().FailNext(c.failing, c.occurrence);
    EXPECT_EQ(FindProcessByName("Thornwickvale.exe"), 0u);
    ExpectSnapshotReleased();
    // A snapshot that was never made is not closed either.
    EXPECT_EQ(world().CallCount("CloseHandle"), std::string(c.failing) == "CreateToolhelp32Snapshot" ? 0 : 1);
  }
}

TEST_F(FindProcessByNameTest, NoMatchGivesZero) {
  Add("Other.exe");
  EXPECT_EQ(FindProcessByName("Thornwickvale.exe"), 0u);
  EXPECT_EQ(FindProcessByName(""), 0u);
  ExpectSnapshotReleased();
}

}  // namespace
