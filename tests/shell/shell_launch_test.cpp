// Starting programs and handing targets to the shell, against the simulation.
#include "shell/shell_launch.h"

#include <gtest/gtest.h>

#include "tests/support/sim_test.h"

namespace {

sim::ProgramBehaviour Behaving(std::optional<std::uint64_t> readyAfter,
                               std::optional<std::uint64_t> endsAfter = {}, bool console = false) {
  sim::ProgramBehaviour behaviour;
  behaviour.readyAfter = readyAfter;
  behaviour.endsAfter = endsAfter;
  behaviour.console = console;
  return behaviour;
}

class ShellLaunchTest : public SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    world().files.AddFile(kGame);
  }
  void TearDown() override {
    EXPECT_EQ(world().handles.OpenCount(), 0) << "a process or thread handle was left open";
    EXPECT_EQ(world().handles.badCloses, 0);
    EXPECT_FALSE(world().shell.hung);
  }
  const sim::StartedProcess& OnlyStarted() {
    EXPECT_EQ(world().shell.started.size(), 1u);
    return world().shell.started.at(0);
  }
  static constexpr const char* kGame = "C:\\Program Files (x86)\\Thornwickvale\\Thornwickvale.exe";
};

TEST_F(ShellLaunchTest, ShellOpenHandsTheTargetToTheOpenVerb) {
  shell::ShellOpen("https://thornwickvale-patch.example/index.php/2024/04/28/thornwickvale_patch/");
  ASSERT_EQ(world().shell.opens.size(), 1u);
  const auto& open = world().shell.opens[0];
  EXPECT_TRUE(win::IsNull(open.window));
  EXPECT_EQ(open.operation, "open");
  EXPECT_EQ(open.file, "https://thornwickvale-patch.example/index.php/2024/04/28/thornwickvale_patch/");
  EXPECT_EQ(open.parameters, "") << "an empty text, not a null pointer";
  EXPECT_EQ(open.directory, "") << "an empty text, not a null pointer";
  EXPECT_EQ(open.showCommand, 1);
}

TEST_F(ShellLaunchTest, ShellOpenReportsNothingWhenTheShellCannotOpen) {
  world().FailNext("ShellExecuteA");
  shell::ShellOpen("C:\\missing.txt");
  shell::ShellOpen("C:\\missing.txt");
  EXPECT_EQ(world().CallCount("ShellExecuteA"), 2);
}

TEST_F(ShellLaunchTest, ShowModeChoosesHowTheFirstWindowIsShown) {
  const struct {
    std::optional<int> mode;
    win::Word showWindow;
  } cases[] = {
      {std::nullopt, 1}, {1, 0}, {2, 1}, {3, 2}, {4, 3}, {5, 4}, {6, 6}, {0, 0}, {-7, 0}, {7, 6}, {1000, 6},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode ? std::to_string(*c.mode) : "left out");
    sim::ResetWorld();
    world().files.AddFile(kGame);
    EXPECT_TRUE(shell::RunCommandLine(std::string("\"") + kGame + "\"", false, c.mode));
    const auto& started = OnlyStarted();
    EXPECT_EQ(started.showWindow, c.showWindow);
    EXPECT_EQ(started.startupFlags, 0x1u) << "STARTF_USESHOWWINDOW";
    EXPECT_EQ(world().processes.Find(started.processId)->showWindow, c.showWindow);
  }
}

TEST_F(ShellLaunchTest, CommandLineGoesToThePlatformUnchanged) {
  const std::string line = std::string("\"") + kGame + "\" -screen-fullscreen 0 补丁";
  EXPECT_TRUE(shell::RunCommandLine(line, false));
  const auto& started = OnlyStarted();
  EXPECT_EQ(started.commandLine, line);
  EXPECT_EQ(started.program, kGame);
  EXPECT_EQ(started.applicationName, std::nullopt);
  EXPECT_EQ(started.currentDirectory, std::nullopt) << "the installer's own working folder is inherited";
  EXPECT_FALSE(started.environmentGiven);
  EXPECT_EQ(started.inheritHandles, 0);
  EXPECT_EQ(started.creationFlags, 0u);
  EXPECT_EQ(started.startupInfoSize, 68u);
  const sim::SimProcess* process = world().processes.Find(started.processId);
  ASSERT_TRUE(process);
  EXPECT_EQ(process->exeName, "Thornwickvale.exe");
  EXPECT_EQ(process->imagePath,
            u"\\Device\\HarddiskVolume2\\Program Files (x86)\\Thornwickvale\\Thornwickvale.exe");
  EXPECT_EQ(process->parentId, world().processes.selfId);
}

TEST_F(ShellLaunchTest, ProgramIsFoundByThePlatformsRules) {
  world().files.AddFile("C:\\Program.exe");
  world().files.AddFile("C:\\Users\\player\\Downloads\\tool.exe");
  const struct {
    const char* line;
    const char* program;  // null: nothing started
  } cases[] = {
      // Unquoted, the shortest prefix that names a program wins.
      {"C:\\Program Files (x86)\\Thornwickvale\\Thornwickvale.exe", "C:\\Program.exe"},
      {"\"C:\\Program Files (x86)\\Thornwickvale\\Thornwickvale.exe\"", kGame},
      {"\"C:\\Program Files (x86)\\Thornwickvale\\Thornwickvale\" -x", kGame},
      {"explorer.exe \"C:\\Games\\补丁对比图\"", "C:\\Windows\\explorer.exe"},
      {"explorer C:\\Games", "C:\\Windows\\explorer.exe"},
      {"tool --help", "C:\\Users\\player\\Downloads\\tool.exe"},
      {"no-such-program.exe", nullptr},
      {"\"C:\\Program Files (x86)\\Missing\\Game.exe\"", nullptr},
      {"", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    world().shell.started.clear();
    EXPECT_EQ(shell::RunCommandLine(c.line, false), c.program != nullptr);
    if (c.program) {
      ASSERT_EQ(world().shell.started.size(), 1u);
      EXPECT_EQ(world().shell.started[0].program, c.program);
    } else {
      EXPECT_TRUE(world().shell.started.empty());
    }
  }
}

TEST_F(ShellLaunchTest, WithoutWaitReturnsOnceTheProgramIsReadyOrAfterASecond) {
  const struct {
    const char* name;
    sim::ProgramBehaviour behaviour;
    std::uint64_t held;  // how long the caller was held
  } cases[] = {
      {"ready after 300 ms", Behaving(300), 300},
      {"never ready", Behaving(std::nullopt), 1000},
      {"ready after 5 s", Behaving(5000), 1000},
      {"ends before it is ready", Behaving(std::nullopt, 100), 100},
      {"a console program", Behaving(std::nullopt, std::nullopt, true), 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    sim::ResetWorld();
    world().files.AddFile(kGame);
    world().shell.Behaviour(kGame) = c.behaviour;
    const std::uint64_t before = world().clock.now;
    EXPECT_TRUE(shell::RunCommandLine(std::string("\"") + kGame + "\"", false));
    EXPECT_EQ(world().clock.now - before, c.held);
    ASSERT_EQ(world().shell.waits.size(), 1u);
    EXPECT_EQ(world().shell.waits[0].function, "WaitForInputIdle");
    EXPECT_EQ(world().shell.waits[0].timeout, 1000u);
    EXPECT_EQ(world().CallCount("WaitForSingleObject"), 0);
  }
}

TEST_F(ShellLaunchTest, WithWaitReturnsOnlyAfterTheProgramEnded) {
  world().shell.Behaviour(kGame) = Behaving(200, 42000);
  const std::uint64_t before = world().clock.now;
  EXPECT_TRUE(shell::RunCommandLine(std::string("\"") + kGame + "\"", true));
  EXPECT_EQ(world().clock.now - before, 42000u);
  ASSERT_EQ(world().shell.waits.size(), 1u);
  EXPECT_EQ(world().shell.waits[0].function, "WaitForSingleObject");
  EXPECT_EQ(world().shell.waits[0].timeout, win::kInfinite);
  EXPECT_FALSE(world().processes.Find(OnlyStarted().processId)->running);
  EXPECT_EQ(world().CallCount("WaitForInputIdle"), 0);
}

TEST_F(ShellLaunchTest, FailedStartWaitsForNothing) {
  world().FailNext("CreateProcessA");
  EXPECT_FALSE(shell::RunCommandLine(std::string("\"") + kGame + "\"", true));
  EXPECT_TRUE(world().shell.waits.empty());
  EXPECT_EQ(world().CallCount("CloseHandle"), 0);
}

TEST_F(ShellLaunchTest, WaitResultsAreNotLookedAt) {
  world().FailNext("WaitForInputIdle");
  EXPECT_TRUE(shell::RunCommandLine(std::string("\"") + kGame + "\"", false));
  EXPECT_EQ(world().CallCount("CloseHandle"), 2);
}

}  // namespace
