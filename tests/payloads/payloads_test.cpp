// The carried files come out byte for byte as they were in the folder the
// build took them from, whatever their length, and in place.
#include "payloads/payloads.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

namespace {

std::vector<std::uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in.good()) << path;
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(Payloads, EqualTheFilesTheBuildCarried) {
  const struct {
    payloads::PatchPayload (*payload)();
    const char* file;
  } cases[] = {
      {payloads::AssemblyPayload, "Assembly-CSharp.dll"},
      {payloads::ExecutablePayload, "Thornwickvale.exe"},
      {payloads::BeforePicture, "before.png"},
      {payloads::AfterPicture, "after.png"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const auto payload = c.payload();
    const auto expected = ReadFile(std::string(TW_TEST_PAYLOAD_DIR) + "/" + c.file);
    EXPECT_EQ(std::vector<std::uint8_t>(payload.bytes.begin(), payload.bytes.end()), expected);
    // Handed out in place: every call gives the same bytes of the image.
    EXPECT_EQ(c.payload().bytes.data(), payload.bytes.data());
  }
}

}  // namespace
