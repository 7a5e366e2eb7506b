#include "web/url.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(TextBetween, FirstLeftMarkerThenNextRightMarker) {
  const struct {
    const char* text;
    const char* left;
    const char* right;
    const char* expected;
  } cases[] = {
      {"a<b>c<d>", "<", ">", "b"},
      {"<>", "<", ">", ""},
      {"abc", "<", ">", ""},    // no left marker
      {"a>b<c", "<", ">", ""},  // the right marker does not follow
      {"a<b", "<", ">", ""},
      {"<<x>>", "<", ">", "<x"},             // the right marker is searched after the left one
      {"Name: v\r\n", "name:", "\r\n", ""},  // case-sensitive
      {"x", "", "", ""},
      {"abc", "", "c", "ab"},
      // "#引号" stands for a double quote in either marker, every time.
      {"id=\"42\" rest", "id=#引号", "#引号", "42"},
      {"q\"\"x\"\"", "q#引号#引号", "#引号#引号", "x"},
      {"k#引号v#引号", "k#引号", "#引号", ""},  // the text itself is not rewritten
      // A marker never matches the second byte of a two-byte character.
      {"\x81\\x\\", "\\", "\\", ""},
      {"\x81\\x\\y\\", "\\", "\\", "y"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " | " + c.left + " | " + c.right);
    EXPECT_EQ(web::TextBetween(c.text, c.left, c.right), c.expected);
  }
}

TEST(UrlParts, HostPortAndPath) {
  const struct {
    const char* url;
    const char* host;
    const char* hostWithPort;
    int port;
    const char* path;
  } cases[] = {
      {"HTTPS://Example.COM:8443/Some/Path?Q=A&b=C", "example.com", "example.com:8443", 8443,
       "/Some/Path?Q=A&b=C"},
      {"http://host.example", "host.example", "host.example", 80, "/"},
      {"https://host.example", "host.example", "host.example", 443, "/"},
      {"host.example/dir/File", "host.example", "host.example", 80, "/dir/File"},
      {"Host.Example:8080/x", "host.example", "host.example:8080", 8080, "/x"},
      {"https://host.example:/x", "host.example", "host.example:", 0, "/x"},
      {"http://host.example:80ab/x", "host.example", "host.example:80ab", 80, "/x"},
      {"HTTP://Host.Example/Path", "host.example", "host.example", 80, "/Path"},
      {"https://h.example/a?x=1#Frag", "h.example", "h.example", 443, "/a?x=1#Frag"},
      {"http://h.example?q=1", "h.example?q=1", "h.example?q=1", 80, "/"},
      {"http://[::1]:8080/p", "[", "[::1]:8080", 8080, "/p"},
      {"http://h.example/h.example/x", "h.example", "h.example", 80, "/h.example/x"},
      {"", "", "", 80, "/"},
      {"https://", "", "", 443, "//"},  // an empty host is found at the start
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.url);
    EXPECT_EQ(web::UrlHost(c.url), c.host);
    EXPECT_EQ(web::UrlHost(c.url, true), c.hostWithPort);
    EXPECT_EQ(web::UrlPort(c.url), c.port);
    EXPECT_EQ(web::UrlPath(c.url), c.path);
  }
}

TEST(UrlParts, PortTextTooLongForANumberStaysInRange) {
  EXPECT_EQ(web::UrlPort("http://h:99999999999999999999999/"), 2147483647);
  EXPECT_EQ(web::UrlPort("http://h:65536/"), 65536);  // the connection takes it as the platform does
}

TEST(UrlParts, TextsOfAnyShapeGiveAResult) {
  const std::string longHost(100000, 'a');
  const std::string url = "http://" + longHost + ":1/" + std::string(100000, '/');
  EXPECT_EQ(web::UrlHost(url), longHost);
  EXPECT_EQ(web::UrlPort(url), 1);
  EXPECT_EQ(web::UrlPath(url).size(), 100001u);
  // Two-byte characters whose second byte is "/" do not end the host.
  EXPECT_EQ(web::UrlHost("http://\x81/\x81/x/y"), "\x81/\x81/x");
}

}  // namespace
