// The update check against the simulated web server, message box and shell.
#include "installer/check_for_update.h"

#include <gtest/gtest.h>

#include <string>

#include "installer/program_state.h"
#include "installer/run_installer.h"
#include "installer/site.h"
#include "tests/support/sim_test.h"
#include "web/url.h"

namespace {

constexpr char kQuestion[] = "本程序不是最新版是否前往下载最新版？";
constexpr char kQuestionTitle[] = "欧尼酱~有一件事想问你~";

class CheckForUpdateTest : public SimTest {
 protected:
  void Reply(std::string body) { world().inet.Answer({"HTTP/1.1 200 OK\r\n\r\n", std::move(body), {}}); }
  std::string Site() { return std::string("https://") + installer::SiteHost; }
};

TEST_F(CheckForUpdateTest, QuestionOnlyWhenTheFetchedTextIsGreater) {
  const struct {
    std::string fetched;
    bool asks;
  } cases[] = {
      {"1.2", true},
      {"1.10", true},
      {"2", true},
      {"10", true},
      {"1.1\r\n", true},
      {"<html>", true},
      {"\xB0\xE6", true},  // bytes compare as unsigned
      {"1.1", false},
      {"1.0", false},
      {"0.9", false},
      {"1", false},
      {"", false},
      {std::string("1.1\0"
                   "9",
                   4),
       false},  // the text ends at its first zero byte
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fetched);
    sim::ResetWorld();
    Reply(c.fetched);
    world().dialogs.Answer(sim::kIdCancel);
    installer::CheckForUpdate();
    EXPECT_EQ(world().dialogs.shown.size(), c.asks ? 1u : 0u);
    EXPECT_TRUE(world().shell.opens.empty());
    EXPECT_TRUE(world().console.writes.empty());
  }
}

TEST_F(CheckForUpdateTest, FailedRequestAsksNothing) {
  world().FailNext("InternetOpenA");
  installer::CheckForUpdate();
  EXPECT_TRUE(world().dialogs.shown.empty());
  EXPECT_EQ(world().CallCount("MessageBoxTimeoutA"), 0);
}

TEST_F(CheckForUpdateTest, SendsOnePostToTheVersionAddress) {
  Reply("1.1");
  installer::CheckForUpdate();
  ASSERT_EQ(world().inet.requests.size(), 1u);
  const auto& request = world().inet.requests[0];
  const std::string address = Site() + std::string(installer::VersionPath);
  EXPECT_EQ(world().inet.roots[0].agent, "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)");
  EXPECT_EQ(world().inet.roots[0].accessType, 1u);
  EXPECT_EQ(world().inet.connections[0].host, web::UrlHost(address));
  EXPECT_EQ(world().inet.connections[0].port, web::UrlPort(address));  // 443 unless the site names a port
  EXPECT_EQ(request.verb, "POST");
  EXPECT_EQ(request.path, std::string(installer::VersionPath));
  EXPECT_EQ(request.flags, 0x80800010u);
  ASSERT_TRUE(request.buffers);
  EXPECT_EQ(request.buffers->header, "Content-Type: application/json\r\nAccept: */*\r\nReferer: " + address +
                                         "\r\nAccept-Language: zh-cn");
  EXPECT_EQ(request.buffers->bufferTotal, 0u);
  EXPECT_TRUE(request.chunks.empty());
  EXPECT_EQ(request.ends, 1);
  EXPECT_EQ(world().inet.OpenCount(), 0);
}

TEST_F(CheckForUpdateTest, VersionQueryIsTheFileNameInPercentEncodedUtf8) {
  const std::u8string file = u8"雾棘谷//补丁最新版本.txt";
  std::string encoded;
  for (char8_t c : file) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9') ||
        byte == '.') {
      encoded += static_cast<char>(byte);
    } else {
      static const char hex[] = "0123456789ABCDEF";
      encoded += {'%', hex[byte >> 4], hex[byte & 15]};
    }
  }
  EXPECT_EQ(installer::VersionPath, "/Personal_cloud_disk/download.php?file=" + encoded);
}

TEST_F(CheckForUpdateTest, QuestionBoxAndWhatEachAnswerDoes) {
  const struct {
    int answer;
    bool opens;
  } cases[] = {
      {sim::kIdOk, true}, {sim::kIdCancel, false}, {sim::kTimedOut, false}, {sim::kBoxFailed, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answer);
    sim::ResetWorld();
    Reply("1.2");
    world().dialogs.Answer(c.answer);
    installer::CheckForUpdate();
    ASSERT_EQ(world().dialogs.shown.size(), 1u);
    const auto& box = world().dialogs.shown[0];
    EXPECT_EQ(box.text, kQuestion);
    EXPECT_EQ(box.caption, kQuestionTitle);
    EXPECT_EQ(box.style, 0x21u);
    EXPECT_EQ(box.timeout, 1000000u);
    ASSERT_EQ(world().shell.opens.size(), c.opens ? 1u : 0u);
    if (c.opens) {
      EXPECT_EQ(world().shell.opens[0].operation, "open");
      EXPECT_EQ(world().shell.opens[0].file, Site() + "/index.php/2024/04/28/thornwickvale_patch/");
    }
    EXPECT_TRUE(world().console.writes.empty());
  }
}

// Whatever the player answers, the run goes on to look for the game: with
// no game running, its not-found report is the next box.
TEST_F(CheckForUpdateTest, RunGoesOnAfterTheQuestion) {
  for (int answer : {sim::kIdOk, sim::kIdCancel, sim::kTimedOut}) {
    SCOPED_TRACE(answer);
    sim::ResetWorld();
    Reply("1.2");
    world().dialogs.Answer(answer);
    installer::ProgramMain();
    ASSERT_EQ(world().dialogs.shown.size(), 2u);
    EXPECT_EQ(world().dialogs.shown[0].text, kQuestion);
    EXPECT_EQ(world().dialogs.shown[1].caption, "欧尼酱~出错啦~");
    EXPECT_EQ(world().shell.opens.size(), answer == sim::kIdOk ? 1u : 0u);
  }
}

}  // namespace
