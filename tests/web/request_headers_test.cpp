#include "web/request_headers.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char* const kUrl = "https://host.example/a?b=c";

TEST(NormalizeHeaderNames, RaisesTheFirstLetterOfEachNamePart) {
  const struct {
    const char* block;
    const char* expected;
  } cases[] = {
      {"", ""},
      {"content-type:application/json", "Content-Type:application/json"},  // spacing kept
      {"ACCEPT-LANGUAGE: zh-cn", "ACCEPT-LANGUAGE: zh-cn"},
      {"accept: a\r\n\r\nx-y: b", "Accept: a\r\nX-Y: b"},  // empty line dropped
      {"no colon here\r\nhost: h", "Host: h"},
      {"x-: v", "X-: v"},  // final dash kept
      {"-x-y: v", "-X-Y: v"},
      {"a--b: v", "A--B: v"},
      {"user-agent: a-b: c-d", "User-Agent: a-b: c-d"},  // values untouched
      {"中-a: 文", "中-A: 文"},
      {"x: 1\r\n", "X: 1"},
      {": v", ": v"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.block);
    EXPECT_EQ(web::NormalizeHeaderNames(c.block), c.expected);
  }
}

TEST(CapitalizeFirst, OnlyAnAsciiLowerCaseFirstByte) {
  EXPECT_EQ(web::CapitalizeFirst(""), "");
  EXPECT_EQ(web::CapitalizeFirst("ab"), "Ab");
  EXPECT_EQ(web::CapitalizeFirst("aB"), "AB");
  EXPECT_EQ(web::CapitalizeFirst("1a"), "1a");
  EXPECT_EQ(web::CapitalizeFirst("中a"), "中a");
}

TEST(PickUserAgent, ValueOfTheAgentLineOrTheFallbacks) {
  const std::string agentDefault(web::DefaultUserAgent);
  const struct {
    const char* block;
    std::string expected;
  } cases[] = {
      {"", agentDefault},
      {"Accept: */*", agentDefault},
      {"User-Agent: Foo/1.0", "Foo/1.0"},
      {"Accept: */*\r\nUser-Agent:   Bar 2  \r\nX: y", "Bar 2"},
      {"X-User-Agent: Z", "Z"},
      // Found without regard to case, taken out only when written exactly.
      {"Accept: */*\r\nuser-agent: Foo", "*/*\r\nuser-agent: Foo"},
      {"User-Agent:", ""},
      {"User-Agent:  \r\nAccept: x", "\r\nAccept: x"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.block);
    EXPECT_EQ(web::PickUserAgent(c.block), c.expected);
  }
}

TEST(TextAfterColon, TrimmedRestAfterTheFirstColon) {
  EXPECT_EQ(web::TextAfterColon("a: b "), "b");
  EXPECT_EQ(web::TextAfterColon("a:b:c"), "b:c");
  EXPECT_EQ(web::TextAfterColon("none"), "");
  EXPECT_EQ(web::TextAfterColon("a:\xA1\xA1x\xA1\xA1"), "x");
  EXPECT_EQ(web::TextAfterColon("a:\tx\r\n"), "\tx\r\n");
}

TEST(AddDefaultHeaders, AddsWhatTheBlockLacksInOrder) {
  const std::string referer = std::string("Referer: ") + kUrl;
  const struct {
    const char* block;
    int method;
    std::string expected;
  } cases[] = {
      {"", 1,
       "Accept: */*\r\n" + referer +
           "\r\nAccept-Language: zh-cn\r\nContent-Type: application/x-www-form-urlencoded"},
      {"", 0, "Accept: */*\r\n" + referer + "\r\nAccept-Language: zh-cn"},
      {"", 3, "Accept: */*\r\n" + referer + "\r\nAccept-Language: zh-cn"},
      {"Content-Type: application/json", 1,
       "Content-Type: application/json\r\nAccept: */*\r\n" + referer + "\r\nAccept-Language: zh-cn"},
      {"X-Accept: 1", 0, "X-Accept: 1\r\n" + referer + "\r\nAccept-Language: zh-cn"},
      {"Accept-Language: en", 0, "Accept-Language: en\r\nAccept: */*\r\n" + referer},
      {"referer: r\r\naccept: a\r\naccept-language: en\r\ncontent-type: t", 1,
       "referer: r\r\naccept: a\r\naccept-language: en\r\ncontent-type: t"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.block) + " / " + std::to_string(c.method));
    EXPECT_EQ(web::AddDefaultHeaders(c.block, kUrl, c.method), c.expected);
  }
}

TEST(AppendCookieHeader, CookieLineOrTheCallersOwnLines) {
  EXPECT_EQ(web::AppendCookieHeader("", "a=1"), "\r\nCookie: a=1");
  EXPECT_EQ(web::AppendCookieHeader("Accept: */*", "a=1; b=2"), "Accept: */*\r\nCookie: a=1; b=2");
  EXPECT_EQ(web::AppendCookieHeader("Accept: */*", "Cookie: a=1"), "Accept: */*\r\nCookie: a=1");
  EXPECT_EQ(web::AppendCookieHeader("X: y", "cookie: a=1"), "X: y\r\nCookie: cookie: a=1");
}

TEST(HeaderBlocks, LongLinesAndOddShapesGiveTheirResult) {
  const std::string value(100000, 'v');
  const std::string block = "x-long: " + value + "\r\n\r\n" + std::string(100000, ':') + "\r\nnocolon";
  const std::string normalized = web::NormalizeHeaderNames(block);
  EXPECT_EQ(normalized, "X-Long: " + value + "\r\n" + std::string(100000, ':'));
  EXPECT_EQ(web::PickUserAgent("User-Agent: " + value), value);
  const std::string completed = web::AddDefaultHeaders(normalized, kUrl, 1);
  EXPECT_TRUE(completed.starts_with(normalized + "\r\nAccept: */*\r\nReferer: "));
}

}  // namespace
