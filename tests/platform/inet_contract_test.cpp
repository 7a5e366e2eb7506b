// WinINet as both faces answer it, for what needs no server: handle types,
// argument checks, and a send to a port where nothing listens.
#include <gtest/gtest.h>

#include <string>

#include "platform/inet.h"

#ifndef _WIN32
#include "platform/sim/world.h"
#endif

namespace {

constexpr const char* kHost = "127.0.0.1";
constexpr win::Word kClosedPort = 1;  // nothing listens on tcpmux

class InetContract : public ::testing::Test {
 protected:
  void SetUp() override {
#ifndef _WIN32
    sim::ResetWorld();
    sim::TheWorld().inet.Refuse(kHost, kClosedPort);
#endif
    root_ = win::InternetOpenA("Contract/1", win::kInternetOpenTypeDirect, nullptr, nullptr, 0);
    ASSERT_FALSE(win::IsNull(root_));
    connection_ =
        win::InternetConnectA(root_, kHost, kClosedPort, nullptr, nullptr, win::kInternetServiceHttp, 0, 0);
    ASSERT_FALSE(win::IsNull(connection_));
    request_ = win::HttpOpenRequestA(connection_, "POST", "/x", "HTTP/1.1", nullptr, nullptr,
                                     win::kInternetFlagReload | win::kInternetFlagNeedFile, 0);
    ASSERT_FALSE(win::IsNull(request_));
  }
  void TearDown() override {
    for (auto handle : {request_, connection_, root_})
      if (!win::IsNull(handle)) win::InternetCloseHandle(handle);
  }

  win::Hinternet root_{}, connection_{}, request_{};
};

TEST_F(InetContract, InternetOpenA) {
  const struct {
    const char* agent;
    win::Dword access;
    const char* proxy;
    const char* bypass;
    bool opens;
  } cases[] = {
      {"Contract/1", win::kInternetOpenTypeDirect, nullptr, nullptr, true},
      {nullptr, win::kInternetOpenTypeDirect, nullptr, nullptr, true},
      {"Contract/1", win::kInternetOpenTypeProxy, "proxy.example:3128", "", true},
      {"Contract/1", win::kInternetOpenTypeProxy, "http=proxy.example:3128", "", true},
      {"Contract/1", win::kInternetOpenTypeProxy, "SOCKS=proxy.example:1080", "", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.agent ? c.agent : "(null)") + " " + (c.proxy ? c.proxy : "(null)"));
    const win::Hinternet handle = win::InternetOpenA(c.agent, c.access, c.proxy, c.bypass, 0);
    EXPECT_EQ(!win::IsNull(handle), c.opens);
    if (!win::IsNull(handle)) {
      EXPECT_TRUE(win::InternetCloseHandle(handle));
    }
  }
}

TEST_F(InetContract, InternetConnectA) {
  const struct {
    bool validRoot;
    const char* host;
    bool opens;
  } cases[] = {
      {true, "127.0.0.1", true},  // nothing is connected yet
      {true, "no-such-host.invalid", true},
      {false, "127.0.0.1", false},
      {true, "", false},
      {true, nullptr, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.validRoot ? "root " : "none ") + (c.host ? c.host : "(null)"));
    const win::Hinternet handle = win::InternetConnectA(c.validRoot ? root_ : win::Hinternet{}, c.host, 80,
                                                        nullptr, nullptr, win::kInternetServiceHttp, 0, 0);
    EXPECT_EQ(!win::IsNull(handle), c.opens);
    if (!win::IsNull(handle)) {
      EXPECT_TRUE(win::InternetCloseHandle(handle));
    }
  }
}

TEST_F(InetContract, HttpOpenRequestA) {
  const struct {
    const char* parent;
    const char* verb;
    bool opens;
  } cases[] = {
      {"connection", "GET", true},   {"connection", "PATCH", true},
      {"connection", nullptr, true}, {"root", "GET", false},  // the wrong kind of handle
      {"none", "GET", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.parent) + " " + (c.verb ? c.verb : "(null)"));
    const std::string parent = c.parent;
    const win::Hinternet on = parent == "connection" ? connection_
                              : parent == "root"     ? root_
                                                     : win::Hinternet{};
    const win::Hinternet handle = win::HttpOpenRequestA(on, c.verb, "/p?q=1", "HTTP/1.1", nullptr, nullptr,
                                                        win::kInternetFlagReload, 0);
    EXPECT_EQ(!win::IsNull(handle), c.opens);
    if (!win::IsNull(handle)) {
      EXPECT_TRUE(win::InternetCloseHandle(handle));
    }
  }
}

TEST_F(InetContract, InternetSetOptionA) {
  win::Dword flags = 0x0001F380;
  EXPECT_TRUE(win::InternetSetOptionA(request_, win::kInternetOptionSecurityFlags, &flags, 4));
  EXPECT_FALSE(win::InternetSetOptionA(request_, win::kInternetOptionSecurityFlags, &flags, 2));
}

TEST_F(InetContract, SendToAClosedPortFailsAndLeavesNothingToRead) {
  EXPECT_FALSE(win::HttpSendRequestA(request_, "Accept: */*", 11, nullptr, 0));

  // Windows fails the read; Wine 8 answers true. Either way the count is 0,
  // which ends a read loop.
  win::Dword count = 77;
  char buffer[16] = {};
  win::InternetReadFile(request_, buffer, sizeof buffer, &count);
  EXPECT_EQ(count, 0u);

  // Windows finds no headers and leaves the buffer alone; Wine 8 answers an
  // empty block. Neither gives a status line.
  std::string headers(16, ' ');
  win::Dword length = 16;
  if (win::HttpQueryInfoA(request_, win::kHttpQueryRawHeadersCrlf, headers.data(), &length, nullptr)) {
    EXPECT_EQ(std::string(headers.c_str()), "\r\n");
  } else {
    EXPECT_EQ(headers, std::string(16, ' '));
  }
}

// (InternetWriteFile before a streaming send has begun is left out: Wine 8
// dereferences a null connection there instead of failing.)
TEST_F(InetContract, StreamingSendToAClosedPortFails) {
  EXPECT_FALSE(win::HttpEndRequestA(request_, nullptr, 0, 0));  // nothing was begun

  win::InternetBuffersA buffers{};
  buffers.dwStructSize = sizeof buffers;
  buffers.lpcszHeader = "Accept: */*";
  buffers.dwHeadersLength = 11;
  buffers.dwBufferTotal = 2;
  EXPECT_FALSE(win::HttpSendRequestExA(request_, &buffers, nullptr, win::kHsrInitiate, 0));
  EXPECT_FALSE(win::HttpEndRequestA(request_, nullptr, 0, 0));
}

TEST_F(InetContract, InternetCloseHandle) {
  EXPECT_FALSE(win::InternetCloseHandle(win::Hinternet{}));
  EXPECT_TRUE(win::InternetCloseHandle(request_));
  request_ = {};
  EXPECT_TRUE(win::InternetCloseHandle(connection_));
  connection_ = {};
}

}  // namespace
