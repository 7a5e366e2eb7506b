// The restart stage: the game again, the comparison pictures, the explorer.
#include <algorithm>

#include <gtest/gtest.h>

#include "installer/program_state.h"
#include "installer/run_installer.h"
#include "payloads/payloads.h"
#include "tests/support/bytes.h"
#include "tests/support/sim_test.h"

namespace {

using testing_bytes::Bytes;

constexpr const char* kFolder = "D:\\My Games\\Thornwickvale\\";
const std::string kPictures = std::string(kFolder) + "补丁对比图";

class RestartTest : public SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    world().files.AddFolder("D:");
    world().processes.SetDrive(u"D:", u"\\Device\\HarddiskVolume3");
    world().files.AddFile(std::string(kFolder) + "Thornwickvale.exe");
    installer::StartUp();
    installer::Program().GameFolder = kFolder;
    installer::Program().GameFileName = "Thornwickvale.exe";
  }
  // Positions of the calls in the log, in order.
  std::vector<std::size_t> Where(const std::string& function) {
    std::vector<std::size_t> at;
    for (std::size_t i = 0; i < world().calls.size(); ++i)
      if (world().calls[i] == function) at.push_back(i);
    return at;
  }
  text::ByteBuffer BytesOf(const std::string& path) {
    const sim::FileNode* node = world().files.Find(path);
    EXPECT_TRUE(node) << path;
    return node ? node->bytes : text::ByteBuffer{};
  }
};

TEST_F(RestartTest, GameFirstThenPicturesThenExplorer) {
  installer::RestartAndShowPictures();
  EXPECT_EQ(world().clock.sleeps, (std::vector<std::uint32_t>{2000}));
  ASSERT_EQ(world().shell.started.size(), 2u);
  EXPECT_EQ(world().shell.started[0].commandLine, std::string("\"") + kFolder + "Thornwickvale.exe\"");
  EXPECT_EQ(world().shell.started[0].startedAt, 1'000'000u + 2000u) << "after the 2000 ms wait";
  EXPECT_EQ(world().shell.started[1].commandLine, "explorer.exe \"" + kPictures + "\"");

  const auto processes = Where("CreateProcessA");
  const auto folders = Where("CreateDirectoryW");
  const auto files = Where("CreateFileA");
  ASSERT_EQ(processes.size(), 2u);
  ASSERT_EQ(files.size(), 3u);
  ASSERT_FALSE(folders.empty());
  EXPECT_LT(processes[0], folders.front());
  EXPECT_LT(folders.back(), files.front());
  EXPECT_LT(files.back(), processes[1]);

  ASSERT_EQ(world().console.writes.size(), 1u);
  EXPECT_EQ(world().console.writes[0].text, "重新运行 Thornwickvale.exe\r\n") << "the file name only";
  EXPECT_EQ(world().console.writes[0].attribute, 0x0A);
  EXPECT_EQ(world().handles.OpenCount(), 0);
}

TEST_F(RestartTest, NothingStopsTheStage) {
  // The game does not start, and the folder cannot be made.
  world().files.Remove(std::string(kFolder) + "Thornwickvale.exe");
  world().files.Find(kFolder)->readOnlyTree = true;
  installer::RestartAndShowPictures();
  EXPECT_EQ(world().console.writes.at(0).text, "重新运行 Thornwickvale.exe\r\n");
  EXPECT_EQ(world().CallCount("CreateFileA"), 3) << "every picture is still tried";
  ASSERT_EQ(world().shell.started.size(), 1u);
  EXPECT_EQ(world().shell.started[0].commandLine, "explorer.exe \"" + kPictures + "\"");
}

TEST_F(RestartTest, PicturesReplaceAnEarlierFolder) {
  world().files.AddFile(kPictures + "\\该文件夹没用可以直接删除", Bytes("not empty any more"));
  world().files.AddFile(kPictures + "\\安装前.PNG",
                        text::ByteBuffer(payloads::BeforePicture().bytes.size() + 100, 7));
  world().files.AddFile(kPictures + "\\安装后.PNG", Bytes("short"));
  installer::RestartAndShowPictures();
  EXPECT_EQ(BytesOf(kPictures + "\\该文件夹没用可以直接删除"), text::ByteBuffer{});
  const auto before = payloads::BeforePicture().bytes, after = payloads::AfterPicture().bytes;
  EXPECT_EQ(BytesOf(kPictures + "\\安装前.PNG"), text::ByteBuffer(before.begin(), before.end()));
  EXPECT_EQ(BytesOf(kPictures + "\\安装后.PNG"), text::ByteBuffer(after.begin(), after.end()));
  EXPECT_EQ(world().files.List(kPictures).size(), 3u);
}

}  // namespace
