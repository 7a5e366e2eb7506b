#include "web/web_access.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/inet.h"
#include "tests/support/bytes.h"
#include "tests/support/sim_test.h"

namespace {

using testing_bytes::Bytes;

const char* const kHttpsUrl = "https://Host.Example/Personal_cloud_disk/download.php?file=A%2FB.txt";
const char* const kHttpUrl = "http://host.example:8080/Path?q=1";
const std::string kDefaultAgent = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

std::string Spaces() { return std::string(5000, ' '); }

class WebAccessTest : public SimTest {
 protected:
  sim::InetState& inet() { return world().inet; }
  const sim::InetRoot& Root() { return inet().roots.back(); }
  const sim::InetConnection& Connection() { return inet().connections.back(); }
  const sim::InetRequest& Request() { return inet().requests.back(); }

  void Answer(std::string headers, std::string body, std::vector<std::size_t> pieces = {}) {
    inet().Answer({std::move(headers), std::move(body), std::move(pieces)});
  }

  // Every handle that was opened is closed, once, in the reverse order of
  // opening.
  void ExpectClosedInReverse() {
    std::vector<win::Hinternet> opened;
    for (const auto& r : inet().roots)
      if (!win::IsNull(r.handle)) opened.push_back(r.handle);
    for (const auto& c : inet().connections)
      if (!win::IsNull(c.handle)) opened.push_back(c.handle);
    for (const auto& r : inet().requests)
      if (!win::IsNull(r.handle)) opened.push_back(r.handle);
    EXPECT_EQ(inet().closed, std::vector<win::Hinternet>(opened.rbegin(), opened.rend()));
    EXPECT_EQ(inet().OpenCount(), 0);
    EXPECT_EQ(inet().badCloses, 0);
  }

  std::vector<std::string> InetCalls() {
    std::vector<std::string> calls;
    for (const auto& call : world().calls)
      if (call != "InternetReadFile" || calls.empty() || calls.back() != "InternetReadFile")
        calls.push_back(call);
    return calls;
  }
};

TEST_F(WebAccessTest, UpdateCheckShapedPostPutsTheDocumentedCallsInOrder) {
  Answer("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\n", "1.2");
  text::ByteBuffer body;
  const auto result = web::WebAccess(
      kHttpsUrl, {.method = web::kPost, .headers = "Content-Type: application/json", .bodyBytes = &body});

  EXPECT_EQ(result, Bytes("1.2"));
  EXPECT_EQ(InetCalls(), (std::vector<std::string>{
                             "InternetOpenA", "InternetConnectA", "HttpOpenRequestA", "InternetSetOptionA",
                             "HttpSendRequestExA", "HttpEndRequestA", "InternetReadFile", "HttpQueryInfoA",
                             "InternetCloseHandle", "InternetCloseHandle", "InternetCloseHandle"}));

  EXPECT_EQ(Root().agent, kDefaultAgent);
  EXPECT_EQ(Root().accessType, win::kInternetOpenTypeDirect);
  EXPECT_EQ(Root().proxy, std::nullopt);
  EXPECT_EQ(Root().bypass, std::nullopt);
  EXPECT_EQ(Root().flags, 0u);

  EXPECT_EQ(Connection().parent, Root().handle);
  EXPECT_EQ(Connection().host, "host.example");
  EXPECT_EQ(Connection().port, 443);
  EXPECT_EQ(Connection().user, std::nullopt);
  EXPECT_EQ(Connection().password, std::nullopt);
  EXPECT_EQ(Connection().service, win::kInternetServiceHttp);
  EXPECT_EQ(Connection().flags, 0u);
  EXPECT_EQ(Connection().context, 0u);

  const auto& request = Request();
  EXPECT_EQ(request.parent, Connection().handle);
  EXPECT_EQ(request.verb, "POST");
  EXPECT_EQ(request.path, "/Personal_cloud_disk/download.php?file=A%2FB.txt");
  EXPECT_EQ(request.version, "HTTP/1.1");
  EXPECT_EQ(request.referrer, std::nullopt);
  EXPECT_TRUE(request.acceptTypesNull);
  EXPECT_EQ(request.flags, 0x80800010u);
  EXPECT_EQ(request.context, 0u);
  ASSERT_EQ(request.options.size(), 1u);
  EXPECT_EQ(request.options[0].option, 31u);
  EXPECT_EQ(request.options[0].value, std::string("\x80\xF3\x01\x00", 4));

  const std::string block = std::string("Content-Type: application/json\r\nAccept: */*\r\nReferer: ") +
                            kHttpsUrl + "\r\nAccept-Language: zh-cn";
  EXPECT_EQ(request.sends, 0);
  EXPECT_EQ(request.sendExs, 1);
  ASSERT_TRUE(request.buffers);
  EXPECT_EQ(request.buffers->structSize, sizeof(win::InternetBuffersA));
  EXPECT_TRUE(request.buffers->nextNull);
  EXPECT_EQ(request.buffers->header, block);
  EXPECT_EQ(request.buffers->headersLength, block.size());
  EXPECT_EQ(request.buffers->headersTotal, 0u);
  EXPECT_TRUE(request.buffers->bufferNull);
  EXPECT_EQ(request.buffers->bufferLength, 0u);
  EXPECT_EQ(request.buffers->bufferTotal, 0u);
  EXPECT_EQ(request.buffers->offsetLow, 0u);
  EXPECT_EQ(request.buffers->offsetHigh, 0u);
  EXPECT_TRUE(request.buffersOutNull);
  EXPECT_EQ(request.sendExFlags, win::kHsrInitiate);
  EXPECT_EQ(request.sendExContext, 0u);
  EXPECT_TRUE(request.chunks.empty());
  EXPECT_EQ(request.ends, 1);
  EXPECT_TRUE(request.endBuffersNull);
  EXPECT_EQ(request.endFlags, 0u);
  EXPECT_EQ(request.endContext, 0u);
  for (auto asked : request.reads) EXPECT_EQ(asked, 1024u);
  ASSERT_EQ(request.queries.size(), 1u);
  EXPECT_EQ(request.queries[0].infoLevel, 22u);
  EXPECT_EQ(request.queries[0].offered, 5000u);
  EXPECT_TRUE(request.queries[0].indexNull);
  EXPECT_TRUE(body.empty());
  ExpectClosedInReverse();
}

TEST_F(WebAccessTest, BodyArrivingInPiecesOfAnySizeIsReturnedWhole) {
  std::string body;
  for (int i = 0; i < 5000; ++i) body.push_back(static_cast<char>(i * 7));  // zero bytes included
  Answer("HTTP/1.1 200 OK\r\n\r\n", body, {1, 1023, 1024, 5, 0, 2000, 3});
  const auto result = web::WebAccess(kHttpUrl);
  EXPECT_EQ(result, Bytes(body));
  EXPECT_EQ(Request().reads.size(), 9u);  // 1, 1023, 1024, 5, 1024, 976, 3, 944 and the final 0
}

TEST_F(WebAccessTest, RequestFlagsFollowSchemeCookiesAndRedirects) {
  const struct {
    const char* url;
    bool cookies;
    bool noRedirect;
    win::Dword flags;
  } cases[] = {
      {"https://h.example/", false, false, 0x80800010}, {"HTTPS://h.example/", false, false, 0x80800010},
      {"http://h.example/", false, false, 0x80004010},  {"h.example/", false, false, 0x80004010},
      {"http://h.example/", true, false, 0x80084010},   {"https://h.example/", false, true, 0x80A00010},
      {"https://h.example/", true, true, 0x80A80010},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.url + std::string(c.cookies ? " cookies" : "") + (c.noRedirect ? " noRedirect" : ""));
    std::string cookies;
    web::WebAccess(c.url, {.cookies = c.cookies ? &cookies : nullptr, .noRedirect = c.noRedirect});
    EXPECT_EQ(Request().flags, c.flags);
  }
}

TEST_F(WebAccessTest, MethodTableAndWhatEachSends) {
  const struct {
    int method;
    const char* verb;
    bool streaming;
    bool formType;
  } cases[] = {
      {0, "GET", false, false},  {1, "POST", true, true},     {2, "HEAD", true, false},
      {3, "PUT", true, false},   {4, "OPTIONS", true, false}, {5, "DELETE", true, false},
      {6, "TRACE", true, false}, {7, "CONNECT", true, false}, {8, "PATCH", true, false},
      {9, "GET", false, false},  {-1, "GET", false, false},   {1000, "GET", false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.method);
    text::ByteBuffer body = Bytes("abc");
    web::WebAccess(kHttpUrl, {.method = c.method, .bodyText = "xyz", .bodyBytes = &body});
    const auto& request = Request();
    EXPECT_EQ(request.verb, c.verb);
    const std::string block = c.streaming ? request.buffers.value().header.value() : request.headers.value();
    EXPECT_EQ(block.find("Content-Type: application/x-www-form-urlencoded") != std::string::npos, c.formType);
    if (c.streaming) {
      EXPECT_EQ(request.sends, 0);
      EXPECT_EQ(request.buffers->bufferTotal, 3u);
      EXPECT_EQ(request.Body(), "abc");
      EXPECT_EQ(request.ends, 1);
    } else {
      // A GET sends nothing of any body it is given, and leaves bodyBytes alone.
      EXPECT_EQ(request.sends, 1);
      EXPECT_EQ(request.sendExs, 0);
      EXPECT_TRUE(request.optionalNull);
      EXPECT_EQ(request.optionalLength, 0u);
      EXPECT_EQ(request.headersLength, block.size());
      EXPECT_TRUE(request.chunks.empty());
    }
    EXPECT_EQ(body, Bytes("abc"));
  }
}

TEST_F(WebAccessTest, PostWithoutHeadersSendsTheDefaultBlockInOrder) {
  web::WebAccess(kHttpsUrl, {.method = web::kPost});
  EXPECT_EQ(Request().buffers.value().header, std::string("Accept: */*\r\nReferer: ") + kHttpsUrl +
                                                  "\r\nAccept-Language: zh-cn\r\n"
                                                  "Content-Type: application/x-www-form-urlencoded");
}

TEST_F(WebAccessTest, BodyTextIsSentWhenBodyBytesIsEmptyAndWrittenBack) {
  text::ByteBuffer body;
  web::WebAccess(kHttpUrl, {.method = web::kHead, .bodyText = "abc", .bodyBytes = &body});
  EXPECT_EQ(Request().buffers.value().bufferTotal, 3u);
  EXPECT_EQ(Request().chunks, std::vector<std::string>{"abc"});
  EXPECT_EQ(body, Bytes("abc"));

  // A text ends at its first NUL; the bytes keep theirs.
  text::ByteBuffer none;
  web::WebAccess(kHttpUrl, {.method = web::kPut, .bodyText = std::string("ab\0cd", 5), .bodyBytes = &none});
  EXPECT_EQ(Request().Body(), "ab");
  text::ByteBuffer zeros = Bytes({0, 1, 0});
  web::WebAccess(kHttpUrl, {.method = web::kPut, .bodyText = "text", .bodyBytes = &zeros});
  EXPECT_EQ(Request().Body(), std::string("\0\1\0", 3));
}

TEST_F(WebAccessTest, BodyIsWrittenInChunksOfOneMebibyte) {
  const struct {
    std::size_t size;
    std::vector<std::size_t> chunks;
  } cases[] = {
      {0, {}}, {1, {1}}, {1048576, {1048576}}, {1048577, {1048576, 1}}, {2621440, {1048576, 1048576, 524288}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.size);
    text::ByteBuffer body(c.size);
    for (std::size_t i = 0; i < c.size; ++i) body[i] = static_cast<std::uint8_t>(i % 251);
    web::WebAccess(kHttpUrl, {.method = web::kPut, .bodyBytes = &body});
    const auto& request = Request();
    std::vector<std::size_t> sizes;
    for (const auto& chunk : request.chunks) sizes.push_back(chunk.size());
    EXPECT_EQ(sizes, c.chunks);
    EXPECT_EQ(request.buffers.value().bufferTotal, c.size);
    EXPECT_EQ(request.Body(), std::string(body.begin(), body.end()));
    EXPECT_EQ(request.ends, 1);
  }
}

TEST_F(WebAccessTest, FailedWriteDoesNotStopTheUpload) {
  world().FailNext("InternetWriteFile", 1);
  text::ByteBuffer body(2621440, 'x');
  Answer("HTTP/1.1 200 OK\r\n\r\n", "done");
  EXPECT_EQ(web::WebAccess(kHttpUrl, {.method = web::kPut, .bodyBytes = &body}), Bytes("done"));
  EXPECT_EQ(world().CallCount("InternetWriteFile"), 3);
  EXPECT_EQ(Request().chunks.size(), 2u);  // the first one failed
  EXPECT_EQ(Request().ends, 1);
}

TEST_F(WebAccessTest, FailedSendRunsOnWithNothingToRead) {
  for (const char* send : {"HttpSendRequestA", "HttpSendRequestExA"}) {
    SCOPED_TRACE(send);
    sim::ResetWorld();
    world().FailNext(send);
    Answer("HTTP/1.1 200 OK\r\nSet-Cookie: s=1; x\r\n\r\n", "unused");
    std::string cookies = "a=1", responseCookies = "old", responseHeaders = "old";
    text::ByteBuffer body = Bytes("abc");
    const auto result =
        web::WebAccess(kHttpUrl, {.method = std::string(send) == "HttpSendRequestA" ? web::kGet : web::kPost,
                                  .cookies = &cookies,
                                  .responseCookies = &responseCookies,
                                  .responseHeaders = &responseHeaders,
                                  .bodyBytes = &body});
    EXPECT_TRUE(result.empty());
    EXPECT_EQ(world().CallCount("InternetWriteFile"), 0);
    EXPECT_EQ(world().CallCount("HttpEndRequestA"), 0);
    EXPECT_EQ(responseHeaders, Spaces());
    EXPECT_EQ(responseCookies, "a=1");  // the caller's cookies merged with nothing
    EXPECT_EQ(cookies, "a=1");
    ExpectClosedInReverse();
  }
}

TEST_F(WebAccessTest, ReadEndsAtTheFirstFailingRead) {
  world().FailNext("InternetReadFile", 3);
  Answer("HTTP/1.1 200 OK\r\n\r\n", std::string(5000, 'b'));
  EXPECT_EQ(web::WebAccess(kHttpUrl).size(), 2048u);
  EXPECT_EQ(world().CallCount("HttpQueryInfoA"), 1);
  ExpectClosedInReverse();
}

TEST_F(WebAccessTest, EachFailingOpenLeavesEveryOutParameterAlone) {
  for (const char* open : {"InternetOpenA", "InternetConnectA", "HttpOpenRequestA"}) {
    SCOPED_TRACE(open);
    sim::ResetWorld();
    world().FailNext(open);
    std::string cookies = "a=1", responseCookies = "rc", responseHeaders = "rh";
    text::ByteBuffer body;
    const auto result = web::WebAccess(kHttpsUrl, {.method = web::kPost,
                                                   .bodyText = "text",
                                                   .cookies = &cookies,
                                                   .responseCookies = &responseCookies,
                                                   .responseHeaders = &responseHeaders,
                                                   .bodyBytes = &body});
    EXPECT_TRUE(result.empty());
    EXPECT_EQ(cookies, "a=1");
    EXPECT_EQ(responseCookies, "rc");
    EXPECT_EQ(responseHeaders, "rh");
    EXPECT_TRUE(body.empty());
    std::vector<std::string> calls = world().calls;
    std::erase(calls, "InternetCloseHandle");
    EXPECT_EQ(calls.back(), open);  // nothing is tried after the failed open
    EXPECT_EQ(world().CallCount("InternetSetOptionA"), 0);
    ExpectClosedInReverse();
  }
}

TEST_F(WebAccessTest, CookiesSuppliedEmptyAreMergedWithTheResponse) {
  Answer("HTTP/1.1 200 OK\r\nSet-Cookie: s=1; Path=/\r\nSet-Cookie: t=2; HttpOnly\r\n\r\n", "");
  std::string cookies, responseCookies;
  web::WebAccess(kHttpUrl, {.cookies = &cookies, .responseCookies = &responseCookies});
  EXPECT_TRUE(Request().flags & win::kInternetFlagNoCookies);
  EXPECT_EQ(Request().headers.value().find("Cookie"), std::string::npos);
  EXPECT_EQ(cookies, "s=1; t=2");
  EXPECT_EQ(responseCookies, "s=1; t=2");
}

TEST_F(WebAccessTest, CookiesOmittedLeaveWinInetsOwnHandlingOn) {
  Answer("HTTP/1.1 200 OK\r\nSet-Cookie: s=1; Path=/\r\n\r\n", "");
  std::string responseCookies;
  web::WebAccess(kHttpUrl, {.responseCookies = &responseCookies, .mergeCookies = true});
  EXPECT_FALSE(Request().flags & win::kInternetFlagNoCookies);
  EXPECT_EQ(responseCookies, "s=1");
}

TEST_F(WebAccessTest, CookiesSentThenMergedUnlessMergingIsOff) {
  const std::string setB = "HTTP/1.1 200 OK\r\nSet-Cookie: b=3; Path=/\r\n\r\n";
  Answer(setB, "");
  std::string cookies = "a=1; b=2", responseCookies;
  web::WebAccess(kHttpUrl, {.cookies = &cookies, .responseCookies = &responseCookies});
  EXPECT_TRUE(Request().headers.value().ends_with("\r\nAccept-Language: zh-cn\r\nCookie: a=1; b=2"));
  EXPECT_EQ(cookies, "b=3; a=1");
  EXPECT_EQ(responseCookies, "b=3; a=1");

  Answer(setB, "");
  cookies = "a=1; b=2";
  web::WebAccess(kHttpUrl, {.cookies = &cookies, .responseCookies = &responseCookies, .mergeCookies = false});
  EXPECT_EQ(cookies, "a=1; b=2");
  EXPECT_EQ(responseCookies, "b=3");

  // One variable for both: it ends up holding the merged text.
  Answer(setB, "");
  cookies = "a=1";
  web::WebAccess(kHttpUrl, {.cookies = &cookies, .responseCookies = &cookies});
  EXPECT_EQ(cookies, "b=3; a=1");
}

TEST_F(WebAccessTest, CookieLineWithoutDefaultHeaders) {
  std::string cookies = "a=1";
  web::WebAccess(kHttpUrl, {.cookies = &cookies, .completeHeaders = false});
  EXPECT_EQ(Request().headers, "\r\nCookie: a=1");

  web::WebAccess(kHttpUrl, {.completeHeaders = false});
  EXPECT_EQ(Request().headers, std::nullopt);  // an empty block goes as no block
  EXPECT_EQ(Request().headersLength, 0u);
}

TEST_F(WebAccessTest, ProxyForms) {
  const struct {
    const char* url;
    const char* proxy;
    bool socks;
    win::Dword access;
    std::optional<std::string> proxyText;
    std::optional<std::string> bypass;
  } cases[] = {
      {kHttpUrl, "", false, 1, std::nullopt, std::nullopt},
      {kHttpUrl, "", true, 1, std::nullopt, std::nullopt},
      {kHttpUrl, "proxy.example:3128", false, 3, "http=proxy.example:3128", ""},
      {kHttpsUrl, "proxy.example:3128", false, 3, "proxy.example:3128", ""},
      {kHttpUrl, "proxy.example:1080", true, 3, "SOCKS=proxy.example:1080", ""},
      {kHttpsUrl, "proxy.example:1080", true, 3, "SOCKS=proxy.example:1080", ""},
      {kHttpUrl, " ", false, 3, "http= ", ""},  // not trimmed
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.url) + " via " + c.proxy + (c.socks ? " socks" : ""));
    web::WebAccess(c.url, {.proxy = c.proxy, .socksProxy = c.socks});
    EXPECT_EQ(Root().accessType, c.access);
    EXPECT_EQ(Root().proxy, c.proxyText);
    EXPECT_EQ(Root().bypass, c.bypass);
  }
}

TEST_F(WebAccessTest, AgentComesFromTheHeaderBlock) {
  const struct {
    const char* headers;
    bool normalize;
    std::optional<std::string> agent;
  } cases[] = {
      {"", true, kDefaultAgent},
      {"user-agent: Tester/1", true, "Tester/1"},
      {"Accept: a\r\nuser-agent: Tester/1", false, "a\r\nuser-agent: Tester/1"},
      {"User-Agent:", true, std::nullopt},  // empty agent: none at all
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.headers);
    web::WebAccess(kHttpUrl, {.headers = c.headers, .normalizeHeaderNames = c.normalize});
    EXPECT_EQ(Root().agent, c.agent);
  }
  // The agent line is sent as well.
  web::WebAccess(kHttpUrl, {.headers = "user-agent: Tester/1\r\nbroken line"});
  EXPECT_TRUE(Request().headers.value().starts_with("User-Agent: Tester/1\r\nAccept: */*\r\n"));
}

TEST_F(WebAccessTest, HeaderBlockTooLongForItsRoom) {
  const std::string cookie = "Set-Cookie: s=1; Path=/\r\n";
  const std::string start = "HTTP/1.1 200 OK\r\n" + cookie;
  auto block = [&](std::size_t size) {
    return start + std::string(size - start.size() - 4, 'x') + "\r\n\r\n";
  };

  // 5000 bytes need 5001 with the NUL: nothing is written.
  Answer(block(5000), "body");
  std::string responseHeaders = "old", responseCookies = "old";
  EXPECT_EQ(
      web::WebAccess(kHttpUrl, {.responseCookies = &responseCookies, .responseHeaders = &responseHeaders}),
      Bytes("body"));
  EXPECT_EQ(responseHeaders, Spaces());
  EXPECT_EQ(responseCookies, "");

  Answer(block(4999), "body");
  web::WebAccess(kHttpUrl, {.responseCookies = &responseCookies, .responseHeaders = &responseHeaders});
  EXPECT_EQ(responseHeaders, block(4999));
  EXPECT_EQ(responseCookies, "s=1");
}

TEST_F(WebAccessTest, BodyAnnouncedButNotSentGivesWhatArrived) {
  Answer("HTTP/1.1 200 OK\r\nContent-Length: 2000000000\r\n\r\n", std::string("a\0b", 3));
  EXPECT_EQ(web::WebAccess(kHttpUrl), Bytes({'a', 0, 'b'}));
  ExpectClosedInReverse();
}

// WinINet connects when the request is sent, so a refused connection is a
// failed send.
TEST_F(WebAccessTest, RefusedConnectionGivesAnEmptyResult) {
  inet().Refuse("host.example", 8080);
  std::string cookies = "a=1", responseCookies = "old", responseHeaders = "old";
  text::ByteBuffer body = Bytes("abc");
  EXPECT_TRUE(web::WebAccess(kHttpUrl, {.cookies = &cookies,
                                        .responseCookies = &responseCookies,
                                        .responseHeaders = &responseHeaders,
                                        .bodyBytes = &body})
                  .empty());
  EXPECT_EQ(cookies, "a=1");
  EXPECT_EQ(body, Bytes("abc"));
  EXPECT_EQ(responseHeaders, Spaces());
  EXPECT_EQ(responseCookies, "a=1");
  ExpectClosedInReverse();
}

}  // namespace
