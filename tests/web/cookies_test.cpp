#include "web/cookies.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(CollectResponseCookies, FirstPairOfEachSetCookieLineWithASemicolon) {
  const struct {
    std::vector<std::string> lines;
    const char* expected;
  } cases[] = {
      {{"HTTP/1.1 200 OK", "Set-Cookie: a=1; Path=/", "SET-COOKIE: b=2;", "X: y"}, "a=1; b=2"},
      {{"Set-Cookie: bare=1"}, ""},
      {{"Set-Cookie: a=1; p", "Set-Cookie: ; p"}, "a=1; "},
      {{"Set-Cookie: ; p", "Set-Cookie: a=1; p"}, "a=1"},  // nothing to separate from yet
      {{"Set-Cookie:   spaced=1  ; x"}, "spaced=1"},
      {{"Set-Cookie:a=1;"}, "a=1"},
      {{"Set-Cookie2: a=1; x", "X-Set-Cookie: b=1; x", " Set-Cookie: c=1; x"}, ""},
      {{"Set-Cookie: a=1; x", "Set-Cookie: a=1; x"}, "a=1; a=1"},
      {{}, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(web::CollectResponseCookies(c.lines), c.expected);
  }
}

TEST(MergeCookies, ResponseFirstThenTheCallersOthers) {
  const struct {
    const char* cookies;
    const char* response;
    const char* merged;
    const char* responseAfter;  // the response text as it is stored back
  } cases[] = {
      {"a=1; b=2", "b=3", "b=3; a=1", "b=3"},
      {"a=1; b=2", "a=deleted", "b=2", "a=deleted"},
      {"a=1", "a=DELETED", "a=DELETED", "a=DELETED"},
      {"a=1;", "", "a=1", ""},
      {"a=1;b=2", "a=5", "a=5", "a=5"},  // ";" without a space: one entry named a
      {"A=1; a=2", "", "A=1; a=2", ""},
      {"", "x=1; x=1", "x=1", "x=1; x=1"},
      {"", "", "", ""},
      {"a=1; a=2", "", "a=1", ""},
      {"a=1; a=2", "a=3", "a=3", "a=3"},
      {"  a=1  ", "b=3;", "b=3; a=1", "b=3; "},
      {"s=deleted", "", "", ""},
      {"", "; a=1", "; a=1", "; a=1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.cookies) + " + " + c.response);
    std::string cookies = c.cookies;
    std::string response = c.response;
    EXPECT_EQ(web::MergeCookies(cookies, response), c.merged);
    EXPECT_EQ(cookies, c.merged);
    EXPECT_EQ(response, c.responseAfter);
  }
}

TEST(CookieName, TrimmedBytesBeforeTheFirstEquals) {
  EXPECT_EQ(web::CookieName("a=1"), "a");
  EXPECT_EQ(web::CookieName(" a =1"), "a");
  EXPECT_EQ(web::CookieName("a=b=c"), "a");
  EXPECT_EQ(web::CookieName("noequals"), "noequals");
  EXPECT_EQ(web::CookieName("=v"), "");
}

TEST(JoinDistinct, KeepsTheFirstOfEachItem) {
  EXPECT_EQ(web::JoinDistinct("a; b; a", "; "), "a; b");
  EXPECT_EQ(web::JoinDistinct("a; ; ; b", "; "), "a; ; b");
  EXPECT_EQ(web::JoinDistinct("a; b; ", "; "), "a; b");
  EXPECT_EQ(web::JoinDistinct("", "; "), "");
  EXPECT_EQ(web::JoinDistinct("a;a", ";"), "a");
}

TEST(Cookies, MegabyteTextsAreHandledInLinearTime) {
  const std::string value(1 << 20, 'v');
  EXPECT_EQ(web::CollectResponseCookies({"Set-Cookie: big=" + value + "; Path=/"}), "big=" + value);
  EXPECT_EQ(web::CollectResponseCookies({"Set-Cookie: big=" + value}), "");

  // 20 000 distinct entries, each twice in the response and once
  // more in the caller's cookies.
  std::string entries;
  for (int i = 0; i < 20000; ++i) entries += "k" + std::to_string(i) + "=v; ";
  std::string cookies = entries;
  std::string response = entries + entries;
  EXPECT_EQ(web::MergeCookies(cookies, response), entries.substr(0, entries.size() - 2));
}

}  // namespace
