// Narrow/wide conversions, run against the simulation and the real API.
#include "process/text_conversion.h"

#include <gtest/gtest.h>

#include "tests/support/bytes.h"

namespace {

using testing_bytes::Bytes;
using testing_bytes::Hex;

TEST(TextToWide, TerminatedBuffers) {
  const struct {
    std::string text;
    text::ByteBuffer wide;
  } cases[] = {
      {"", {}},
      {"ab", Bytes({0x61, 0, 0x62, 0, 0, 0})},
      {"\xB2\xB9", Bytes({0x65, 0x88, 0, 0})},
      {std::string("a\0b", 3), Bytes({0x61, 0, 0, 0})},  // a text ends at its NUL
      {"\x81\x5C\\", Bytes({0x57, 0x4E, 0x5C, 0, 0, 0})},
      {"a\x81", Bytes({0x61, 0, 0x3F, 0, 0, 0})},  // stays terminated
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Hex(Bytes(c.text)));
    EXPECT_EQ(Hex(process::TextToWide(c.text)), Hex(c.wide));
  }
}

TEST(WideToText, StopsAtFirstNulAndReplacesWhatCannotBeShown) {
  const struct {
    text::ByteBuffer wide;
    std::string text;
  } cases[] = {
      {Bytes({0x61, 0, 0, 0, 0x62, 0}), "a"}, {Bytes({0x61, 0, 0x62, 0}), "ab"}, {Bytes({0, 0, 0x61, 0}), ""},
      {Bytes({0x65, 0x88}), "\xB2\xB9"},      {Bytes({0x01, 0x0E}), "?"},        {{}, ""},
      {Bytes({0x61, 0, 0x62}), "a"},  // an odd last byte is no code unit
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Hex(c.wide));
    EXPECT_EQ(process::WideToText(c.wide), c.text);
  }
}

TEST(CutWideAtNul, CutsAtFirstNulUnit) {
  const struct {
    text::ByteBuffer wide;
    bool addTerminator;
    text::ByteBuffer expected;
  } cases[] = {
      {Bytes({0x61, 0, 0, 0, 0x62, 0}), false, Bytes({0x61, 0})},
      {Bytes({0x61, 0, 0, 0, 0x62, 0}), true, Bytes({0x61, 0, 0, 0})},
      {Bytes({0, 0, 0x61, 0}), false, {}},
      {Bytes({0, 0, 0x61, 0}), true, {}},
      {Bytes({0x61}), true, {}},
      {Bytes({0x61, 0, 0x62, 0, 0x63}), false, Bytes({0x61, 0, 0x62, 0})},
      // a zero byte pair straddling two units is no NUL unit
      {Bytes({0x61, 0x00, 0x00, 0x62, 0, 0}), false, Bytes({0x61, 0x00, 0x00, 0x62})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Hex(c.wide));
    EXPECT_EQ(Hex(process::CutWideAtNul(c.wide, c.addTerminator)), Hex(c.expected));
  }
}

TEST(WideStringAt, CopiesWithTerminator) {
  EXPECT_TRUE(process::WideStringAt(nullptr).empty());
  EXPECT_TRUE(process::WideStringAt(u"").empty());
  EXPECT_EQ(Hex(process::WideStringAt(u"ab")), Hex(Bytes({0x61, 0, 0x62, 0, 0, 0})));
}

TEST(TextToWide, RoundTripOfChineseTexts) {
  for (const std::string text : {"补丁对比图", "该文件夹没用可以直接删除", "欧尼酱~出错啦~"}) {
    SCOPED_TRACE(text);
    EXPECT_EQ(process::WideToText(process::TextToWide(text)), text);
  }
}

}  // namespace
