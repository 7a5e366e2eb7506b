#include "process/kill_process.h"

#include <gtest/gtest.h>

#include "tests/support/sim_test.h"

namespace {

using process::KillProcess;

class KillProcessTest : public SimTest {
 protected:
  sim::SimProcess& Game() {
    return world().processes.Add("Thornwickvale.exe", u"\\Device\\HarddiskVolume2\\Games\\Thornwickvale.exe");
  }
};

TEST_F(KillProcessTest, EndsTheProcessWithExitCodeZero) {
  sim::SimProcess& game = Game();
  world().windows.Add(u"Thornwickvale", game.id);
  EXPECT_TRUE(KillProcess(game.id));
  EXPECT_FALSE(game.running);
  EXPECT_EQ(game.exitCode, 0u);
  EXPECT_TRUE(world().windows.zOrder.empty());
  EXPECT_EQ(world().handles.OpenCount(), 0);
  EXPECT_TRUE(world().processes.debugPrivilegeSwitches.empty());  // no privilege for ending
  EXPECT_TRUE(world().processes.Self().running);
}

TEST_F(KillProcessTest, ProcessesThatCannotBeOpenedOrEndedGiveFalse) {
  const struct {
    const char* name;
    void (*arrange)(sim::World&, sim::SimProcess&);
    int closes;
  } cases[] = {
      {"gone", [](sim::World&, sim::SimProcess& p) { p.running = false; }, 0},
      {"may not be opened", [](sim::World&, sim::SimProcess& p) { p.mayOpen = false; }, 0},
      {"protected: only with the debug privilege",
       [](sim::World&, sim::SimProcess& p) { p.needsDebugPrivilege = true; }, 0},
      {"termination refused", [](sim::World& w, sim::SimProcess&) { w.FailNext("TerminateProcess"); }, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    sim::ResetWorld();
    sim::SimProcess& game = Game();
    c.arrange(world(), game);
    EXPECT_FALSE(KillProcess(game.id));
    EXPECT_EQ(world().CallCount("CloseHandle"), c.closes);
    EXPECT_EQ(world().handles.OpenCount(), 0);
    EXPECT_FALSE(game.exitCode.has_value());
  }
  EXPECT_FALSE(KillProcess(0xFFFFFFF0u));  // an id no process has
}

TEST_F(KillProcessTest, ZeroOrLeftOutEndsTheCallingProcess) {
  const struct {
    const char* name;
    std::optional<win::Dword> id;
  } cases[] = {{"left out", std::nullopt}, {"zero", 0u}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    sim::ResetWorld();
    EXPECT_TRUE(KillProcess(c.id));
    EXPECT_FALSE(world().processes.Self().running);
    EXPECT_EQ(world().processes.Self().exitCode, 0u);
    EXPECT_EQ(world().CallCount("OpenProcess"), 0);
    EXPECT_EQ(world().handles.badCloses, 0);
  }
}

}  // namespace
