// Locating the game, in whole runs of the installer against the simulation.
#include <gtest/gtest.h>

#include <algorithm>

#include "installer/program_state.h"
#include "installer/run_installer.h"
#include "tests/support/sim_test.h"

namespace {

constexpr char kClosingLine[] = "补丁安装结束，程序在10秒后自动关闭......\r\n";
constexpr char kErrorTitle[] = "欧尼酱~出错啦~";

struct Line {
  std::string text;
  win::Word attribute;
  bool operator==(const Line&) const = default;
};

std::string Report(const std::string& processId, const std::string& window, const std::string& folder,
                   const std::string& name) {
  return "未能成功寻找到游戏！\r\n请确保游戏已经在运行，版本号与补丁适配版本ver 0.24g相同！\r\n\r\n"
         "--------------------变量信息--------------------\r\n进程ID：" +
         processId + "\r\n窗口句柄：" + window + "\r\n程序路径：" + folder + "\r\n程序命名：" + name;
}

class LocateGameTest : public SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    world().processes.SetDrive(u"D:", u"\\Device\\HarddiskVolume3");
  }

  sim::SimProcess& Game(const std::string& exe = "Thornwickvale.exe") {
    world().files.AddFile("D:\\Games\\Thornwickvale\\" + exe);
    return world().processes.Add(exe, u"\\Device\\HarddiskVolume3\\Games\\Thornwickvale\\" + Wide(exe));
  }
  static std::u16string Wide(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }
  win::Hwnd Window(win::Dword processId, std::u16string title = u"Thornwickvale") {
    return world().windows.Add(std::move(title), processId).handle;
  }

  // The six information writes, found by their first label.
  std::vector<Line> InformationLines() {
    const auto& writes = world().console.writes;
    const auto first =
        std::find_if(writes.begin(), writes.end(), [](const auto& w) { return w.text == "窗口句柄ID "; });
    std::vector<Line> lines;
    for (auto it = first; it != writes.end() && lines.size() < 6; ++it)
      lines.push_back({it->text, it->attribute});
    return lines;
  }
  static std::vector<Line> Expected(const std::string& window, const std::string& processId,
                                    const std::string& path) {
    return {{"窗口句柄ID ", 0x03},      {window + "\r\n", 0x07}, {"游戏进程ID ", 0x03},
            {processId + "\r\n", 0x07}, {"游戏路径 ", 0x03},     {path + "\r\n", 0x07}};
  }
  static std::string Number(std::uintptr_t value) { return std::to_string(value); }

  const sim::MessageBoxRecord* NotFoundBox() {
    for (const auto& box : world().dialogs.shown)
      if (box.text.starts_with("未能成功寻找到游戏！")) return &box;
    return nullptr;
  }
  bool ClosingLineWritten() {
    return !world().console.writes.empty() && world().console.writes.back().text == kClosingLine;
  }
};

TEST_F(LocateGameTest, FoundByItsWindow) {
  const sim::SimProcess& game = Game();
  world().processes.Add("Thornwickvale.exe", u"\\Device\\HarddiskVolume3\\Other\\Thornwickvale.exe");
  const win::Hwnd window = Window(game.id);
  installer::ProgramMain();

  EXPECT_EQ(InformationLines(), Expected(Number(win::Value(window)), Number(game.id),
                                         "D:\\Games\\Thornwickvale\\Thornwickvale.exe"));
  const auto& program = installer::Program();
  EXPECT_EQ(program.GameWindow, window);
  EXPECT_EQ(program.GameProcessId, game.id);
  EXPECT_EQ(program.GameFolder, "D:\\Games\\Thornwickvale\\");
  EXPECT_EQ(program.GameFileName, "Thornwickvale.exe");
  EXPECT_EQ(world().CallCount("CreateToolhelp32Snapshot"), 0);  // the name is not looked for
  EXPECT_EQ(NotFoundBox(), nullptr);
  EXPECT_TRUE(ClosingLineWritten());
}

TEST_F(LocateGameTest, FoundByNameOnlyWhenNoWindowHasTheTitle) {
  const sim::SimProcess& game = Game();
  Window(game.id, u"Thornwickvale - 加载中");
  installer::ProgramMain();

  EXPECT_EQ(InformationLines(),
            Expected("0", Number(game.id), "D:\\Games\\Thornwickvale\\Thornwickvale.exe"));
  EXPECT_TRUE(win::IsNull(installer::Program().GameWindow));
  EXPECT_EQ(NotFoundBox(), nullptr);
  EXPECT_TRUE(ClosingLineWritten());
}

TEST_F(LocateGameTest, NotFoundShowsTheInstallersOwnPathAndEndsTheRun) {
  world().processes.Add("Launcher.exe", u"\\Device\\HarddiskVolume3\\Games\\Launcher.exe");
  installer::ProgramMain();

  EXPECT_EQ(InformationLines(), Expected("0", "0", "C:\\Users\\player\\Downloads\\ThornwickvalePatch.exe"));
  // After the information lines and a wait of 1000 ms, the report.
  const sim::MessageBoxRecord* box = NotFoundBox();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(&world().dialogs.shown.back(), box);
  EXPECT_EQ(box->text, Report("0", "0", "C:\\Users\\player\\Downloads\\", "ThornwickvalePatch.exe"));
  EXPECT_EQ(box->caption, kErrorTitle);
  EXPECT_EQ(box->style, 0x10u);
  EXPECT_EQ(box->timeout, 1000000u);
  EXPECT_TRUE(win::IsNull(box->owner));
  const auto& calls = world().calls;
  const auto boxCall = std::find(calls.begin(), calls.end(), "MessageBoxTimeoutA");
  const auto lastSleep = std::find(std::make_reverse_iterator(boxCall), calls.rend(), "Sleep");
  ASSERT_NE(lastSleep, calls.rend());
  ASSERT_FALSE(world().clock.sleeps.empty());
  EXPECT_EQ(world().clock.sleeps.back(), 1000u);  // and no closing wait after the box
  // The run ends there: no closing line.
  EXPECT_FALSE(ClosingLineWritten());
  for (const auto& write : world().console.writes) EXPECT_NE(write.text, kClosingLine);
}

TEST_F(LocateGameTest, AGameRenamedButWithItsWindowIsFoundByTheWindow) {
  const sim::SimProcess& game = Game("Thornwickvale_v2.exe");
  Window(game.id);
  installer::ProgramMain();
  EXPECT_EQ(installer::Program().GameFileName, "Thornwickvale_v2.exe");
  EXPECT_EQ(InformationLines()[5].text, "D:\\Games\\Thornwickvale\\Thornwickvale_v2.exe\r\n");
}

TEST_F(LocateGameTest, AWindowWhoseProcessCannotBeReadIsNotAGame) {
  const win::Hwnd window = Window(Game().id);
  world().FailAlways("GetWindowThreadProcessId");
  installer::ProgramMain();
  const std::string handle = Number(win::Value(window));
  EXPECT_EQ(InformationLines(),
            Expected(handle, "0", "C:\\Users\\player\\Downloads\\ThornwickvalePatch.exe"));
  const sim::MessageBoxRecord* box = NotFoundBox();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->text, Report("0", handle, "C:\\Users\\player\\Downloads\\", "ThornwickvalePatch.exe"));
  EXPECT_FALSE(ClosingLineWritten());
}

TEST_F(LocateGameTest, AGameWhosePathCannotBeReadIsStillFound) {
  Game().mayOpen = false;
  installer::ProgramMain();
  const auto lines = InformationLines();
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[5], (Line{"\r\n", 0x07}));
  EXPECT_EQ(installer::Program().GameFolder, "");
  EXPECT_EQ(installer::Program().GameFileName, "");
  EXPECT_EQ(NotFoundBox(), nullptr);
  EXPECT_TRUE(ClosingLineWritten());
}

TEST_F(LocateGameTest, OfTwoGamesByNameTheFirstInTheSnapshot) {
  const sim::SimProcess& first = Game();
  world().processes.Add("THORNWICKVALE.EXE", u"\\Device\\HarddiskVolume3\\Copy\\THORNWICKVALE.EXE");
  installer::StartUp();
  EXPECT_TRUE(installer::LocateGame());
  EXPECT_EQ(installer::Program().GameProcessId, first.id);
}

TEST_F(LocateGameTest, TheResultSaysWhetherAProcessWasFound) {
  installer::StartUp();
  EXPECT_FALSE(installer::LocateGame());
  sim::ResetWorld();
  SetUp();
  Game();
  installer::StartUp();
  EXPECT_TRUE(installer::LocateGame());
  EXPECT_EQ(world().clock.sleeps, (std::vector<std::uint32_t>{1000}));
}

}  // namespace
