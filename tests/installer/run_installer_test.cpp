// The installer's whole sequence, run against the simulation.
#include "installer/run_installer.h"

#include <gtest/gtest.h>

#include "installer/program_state.h"
#include "tests/support/sim_test.h"

namespace {

struct Line {
  std::string text;
  win::Word attribute;
  bool operator==(const Line&) const = default;
};

std::vector<Line> Lines(const sim::World& world) {
  std::vector<Line> lines;
  for (const auto& write : world.console.writes) lines.push_back({write.text, write.attribute});
  return lines;
}

class RunInstallerTest : public SimTest {};

TEST_F(RunInstallerTest, BannerComesFirstInItsColours) {
  installer::ProgramMain();
  const auto lines = Lines(world());
  ASSERT_GE(lines.size(), 5u);
  EXPECT_EQ(lines[0], (Line{"免责声明：本程序仅供参考，技术分享。\r\n", 0xFC}));
  EXPECT_EQ(lines[1], (Line{"补丁适配游戏版本:ver 0.24g\r\n", 0xFC}));
  for (int i = 2; i < 5; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(lines[i].attribute, 0x9E);
    EXPECT_TRUE(lines[i].text.starts_with("https://"));
    EXPECT_TRUE(lines[i].text.ends_with("\r\n"));
  }
  EXPECT_EQ(lines[4].text, "https://" TW_TEST_SITE_HOST "/\r\n");
  // Colours go back to the console's own after each line.
  EXPECT_EQ(world().console.attribute, 0x07);
}

TEST_F(RunInstallerTest, DeclinedRunEndsWithClosingLineAndTenSecondWait) {
  // A running game, found by its name; the consent question is left alone.
  world().processes.Add("Thornwickvale.exe",
                        u"\\Device\\HarddiskVolume2\\Games\\Thornwickvale\\Thornwickvale.exe");
  world().files.AddFile("C:\\Games\\Thornwickvale\\Thornwickvale.exe");
  installer::ProgramMain();
  const auto lines = Lines(world());
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), (Line{"补丁安装结束，程序在10秒后自动关闭......\r\n", 0x5F}));
  ASSERT_FALSE(world().clock.sleeps.empty());
  EXPECT_EQ(world().clock.sleeps.back(), 10000u);
  EXPECT_EQ(world().console.attribute, 0x07);
}

}  // namespace
