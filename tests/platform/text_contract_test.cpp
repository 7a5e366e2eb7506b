// MultiByteToWideChar / WideCharToMultiByte with code page 936: the answers
// are the real platform's, and the simulation must give the same.
#include <gtest/gtest.h>

#include <string>

#include "platform/text.h"

namespace {

std::u16string ToWide(const std::string& narrow, int count) {
  const int n = win::MultiByteToWideChar(936, 0, narrow.data(), count, nullptr, 0);
  if (n <= 0) return u"<fail>";
  std::u16string wide(static_cast<std::size_t>(n), u'\0');
  EXPECT_EQ(win::MultiByteToWideChar(936, 0, narrow.data(), count, wide.data(), n), n);
  return wide;
}

std::string ToNarrow(const std::u16string& wide, int count) {
  const int n = win::WideCharToMultiByte(936, 0, wide.data(), count, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return "<fail>";
  std::string narrow(static_cast<std::size_t>(n), '\0');
  EXPECT_EQ(win::WideCharToMultiByte(936, 0, wide.data(), count, narrow.data(), n, nullptr, nullptr), n);
  return narrow;
}

TEST(MultiByteToWideChar936, Contract) {
  const struct {
    std::string narrow;
    int count;
    std::u16string wide;
  } cases[] = {
      {"ab", -1, std::u16string(u"ab\0", 3)},
      {"ab", 2, u"ab"},
      {"\xB2\xB9", -1, std::u16string(u"\u8865\0", 2)},  // 补
      {"\xD5\xE6\xBC\xD9", 4, u"\u771F\u5047"},          // 真假
      {"\x81\x5C", 2, u"\u4E57"},                        // second byte is a backslash
      {"\x80", 1, u"\u20AC"},                            // the euro sign
      // Not valid GBK: converted in the platform's default manner, not rejected.
      {"a\x81", 2, u"a?"},
      {"a\x81", -1, std::u16string(u"a?\0", 3)},  // a lone lead byte never takes the NUL
      {"\xFF", 1, u"\uF8F5"},
      {"\x81\x20", 2, u"?"},  // a lead byte takes the byte after it
      {"\x81\x7F", 2, u"?"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.narrow);
    EXPECT_EQ(ToWide(c.narrow, c.count), c.wide);
  }
}

TEST(MultiByteToWideChar936, BufferTooSmallFails) {
  char16_t one[1];
  EXPECT_EQ(win::MultiByteToWideChar(936, 0, "ab", -1, one, 1), 0);
}

TEST(WideCharToMultiByte936, Contract) {
  const struct {
    std::u16string wide;
    int count;
    std::string narrow;
  } cases[] = {
      {std::u16string(u"a\0", 2), -1, std::string("a\0", 2)},
      {u"\u8865", 1, "\xB2\xB9"},
      {u"\u0E01", 1, "?"},       // Thai: not in code page 936
      {u"\U0001F600", 2, "??"},  // outside the BMP: each half of the pair
      {u"\u20AC", 1, "\x80"},
      {u"\u4E57\\", 2, "\x81\x5C\\"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.narrow);
    EXPECT_EQ(ToNarrow(c.wide, c.count), c.narrow);
  }
}

TEST(LstrlenW, CountsUnitsBeforeNul) {
  EXPECT_EQ(win::lstrlenW(u"ab"), 2);
  EXPECT_EQ(win::lstrlenW(u""), 0);
  EXPECT_EQ(win::lstrlenW(nullptr), 0);
}

}  // namespace
