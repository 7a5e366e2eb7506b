#include "text/text_ops.h"

#include <gtest/gtest.h>

namespace {

using text::Case;

// "\xB0\x5C" and "\xB0\x41" are two-byte characters whose second byte is a
// backslash or the letter A; a search must never start inside them.
TEST(TextFind, NeverStartsInsideTwoByteCharacter) {
  const struct {
    const char* text;
    const char* needle;
    Case mode;
    std::optional<std::size_t> expected;
  } cases[] = {
      {"ab\\cd", "\\", Case::Exact, 2},
      {"\xB0\x5C", "\\", Case::Exact, std::nullopt},
      {"\xB0\x5C\\x", "\\", Case::Exact, 2},
      {"\xB0\x41", "A", Case::Exact, std::nullopt},
      {"\xB0\x41", "a", Case::Fold, std::nullopt},
      {"\xB0\x41"
       "A",
       "a", Case::Fold, 2},
      {"Thornwickvale.EXE", "thornwickvale.exe", Case::Fold, 0},
      {"Thornwickvale.EXE", "thornwickvale.exe", Case::Exact, std::nullopt},
      {"abc", "", Case::Exact, 0},
      {"", "a", Case::Exact, std::nullopt},
      {"abc", "abcd", Case::Exact, std::nullopt},
      {"xxabc", "abc", Case::Exact, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(text::Find(c.text, c.needle, 0, c.mode), c.expected);
  }
}

TEST(TextFind, NotFoundIsDistinctFromStart) {
  EXPECT_EQ(text::Find("abc", "a"), std::optional<std::size_t>(0));
  EXPECT_EQ(text::Find("abc", "z"), std::nullopt);
  EXPECT_EQ(text::Find("abcabc", "abc", 1), std::optional<std::size_t>(3));
}

TEST(TextFind, LastMatchAndEnds) {
  EXPECT_EQ(text::FindLast("C:\\a\\b.exe", "\\"), std::optional<std::size_t>(4));
  EXPECT_EQ(text::FindLast("C:\\\xB0\x5C", "\\"), std::optional<std::size_t>(2));
  EXPECT_TRUE(text::EndsWith("abc\\", "\\"));
  EXPECT_FALSE(text::EndsWith("\xB0\x5C", "\\"));
  EXPECT_TRUE(text::StartsWith("Set-Cookie: a", "set-cookie:", Case::Fold));
  EXPECT_FALSE(text::StartsWith("Set-Cookie: a", "set-cookie:", Case::Exact));
}

TEST(TextSplit, EmptyItemRules) {
  const struct {
    const char* text;
    const char* separator;
    std::vector<std::string> expected;
  } cases[] = {
      {"", "; ", {}},
      {"a; b", "; ", {"a", "b"}},
      {"; a", "; ", {"", "a"}},
      {"a; ; b", "; ", {"a", "", "b"}},
      {"a; ", "; ", {"a"}},
      {"; ", "; ", {""}},
      {"a\r\n\r\nb", "\r\n", {"a", "", "b"}},
      {"\xB0\x5C\\x", "\\", {"\xB0\x5C", "x"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(text::Split(c.text, c.separator), c.expected);
  }
}

TEST(TextTrim, AsciiAndFullWidthSpacesAtBothEndsOnly) {
  const struct {
    const char* text;
    const char* expected;
  } cases[] = {
      {"  a b  ", "a b"},
      {"\xA1\xA1"
       "a\xA1\xA1",
       "a"},
      {" \xA1\xA1 a", "a"},
      {"\ta\r\n", "\ta\r\n"},
      {"   ", ""},
      {"", ""},
      // B0 A1 is one character; the A1 after it is not a full-width space.
      {"\xB0\xA1\xA1", "\xB0\xA1\xA1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(text::Trim(c.text), c.expected);
  }
}

TEST(TextLower, OnlyAsciiLettersOutsideTwoByteCharacters) {
  EXPECT_EQ(text::Lower("HTTPS://Host/\xB0\x41Z"), "https://host/\xB0\x41z");
  EXPECT_EQ(text::Lower("[@Z]"), "[@z]");
}

TEST(TextNumbers, DecimalAndBooleans) {
  EXPECT_EQ(text::Number(0), "0");
  EXPECT_EQ(text::Number(-2147483647 - 1), "-2147483648");
  EXPECT_EQ(text::Number(static_cast<std::int32_t>(0xFFFFFFFFu)), "-1");
  EXPECT_EQ(text::Boolean(true), "\xD5\xE6");   // 真
  EXPECT_EQ(text::Boolean(false), "\xBC\xD9");  // 假
}

TEST(TextReplace, AllOccurrencesAtCharacterStarts) {
  EXPECT_EQ(text::ReplaceAll("a#引号b#引号", "#引号", "\""), "a\"b\"");
  EXPECT_EQ(text::ReplaceAll("\xB0\x5C\\", "\\", "/"), "\xB0\x5C/");
}

}  // namespace

namespace {

TEST(TextCut, WholeCharactersWithin) {
  const struct {
    const char* text;
    std::size_t maxBytes, expected;
  } cases[] = {
      {"abc", 2, 2}, {"a\xB0\x5C", 2, 1}, {"a\xB0\x5C", 3, 3}, {"abc", 10, 3}, {"", 5, 0}, {"\xB0", 1, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(text::WholeCharactersWithin(c.text, c.maxBytes), c.expected);
  }
}

}  // namespace
