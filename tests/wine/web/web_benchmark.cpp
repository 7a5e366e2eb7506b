// Download rate of WebAccess against a bare read loop into one buffer
// allocated up front, both reading 1024 bytes a call from a local server
// (run through tests/wine/web_server.py, which names its port in
// TW_HTTP_PORT). Prints MiB/s of each, best of several rounds, and the
// ratio WebAccess / bare loop.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/console.h"
#include "platform/inet.h"
#include "web/web_access.h"

namespace {

constexpr std::size_t kSize = 64u << 20;
constexpr int kRounds = 5;

double Now() {
  LARGE_INTEGER count, frequency;
  QueryPerformanceCounter(&count);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The same WinINet calls as WebAccess's GET, reading into `buffer`.
std::size_t BareDownload(const std::string& host, win::Word port, const std::string& path,
                         std::vector<std::uint8_t>& buffer, win::Dword readSize) {
  win::Hinternet root = win::InternetOpenA("bench", win::kInternetOpenTypeDirect, nullptr, nullptr, 0);
  win::Hinternet connection =
      win::InternetConnectA(root, host.c_str(), port, nullptr, nullptr, win::kInternetServiceHttp, 0, 0);
  win::Hinternet request = win::HttpOpenRequestA(
      connection, "GET", path.c_str(), "HTTP/1.1", nullptr, nullptr,
      win::kInternetFlagReload | win::kInternetFlagNeedFile | win::kInternetFlagIgnoreRedirectToHttps, 0);
  win::HttpSendRequestA(request, nullptr, 0, nullptr, 0);
  std::size_t total = 0;
  while (total < buffer.size()) {
    win::Dword count = 0;
    const win::Dword ask = static_cast<win::Dword>(std::min<std::size_t>(readSize, buffer.size() - total));
    if (!win::InternetReadFile(request, buffer.data() + total, ask, &count) || count == 0) break;
    total += count;
  }
  win::InternetCloseHandle(request);
  win::InternetCloseHandle(connection);
  win::InternetCloseHandle(root);
  return total;
}

double Rate(std::size_t bytes, double seconds) { return static_cast<double>(bytes) / (1 << 20) / seconds; }

// Straight to the output handle: Wine's C runtime may hold back or re-encode
// what goes through stdio.
template <class... Args>
void Print(const char* format, Args... args) {
  char line[256];
  const int n = std::snprintf(line, sizeof line, format, args...);
  win::Dword written = 0;
  if (n > 0)
    win::WriteFile(win::GetStdHandle(win::kStdOutputHandle), line, static_cast<win::Dword>(n), &written);
}

}  // namespace

int main() {
  const char* port = std::getenv("TW_HTTP_PORT");
  if (!port) {
    Print("run through tests/wine/web_server.py\n");
    return 2;
  }
  const std::string path = "/bytes?n=" + std::to_string(kSize);
  const std::string url = std::string("http://127.0.0.1:") + port + path;
  std::vector<std::uint8_t> buffer(kSize + 1);

  double bestWeb = 0, bestBare = 0, bestBareLarge = 0;
  for (int round = 0; round < kRounds; ++round) {
    double start = Now();
    const std::size_t web = web::WebAccess(url).size();
    bestWeb = std::max(bestWeb, Rate(web, Now() - start));

    start = Now();
    const std::size_t bare =
        BareDownload("127.0.0.1", static_cast<win::Word>(std::atoi(port)), path, buffer, 1024);
    bestBare = std::max(bestBare, Rate(bare, Now() - start));

    start = Now();
    const std::size_t large =
        BareDownload("127.0.0.1", static_cast<win::Word>(std::atoi(port)), path, buffer, 65536);
    bestBareLarge = std::max(bestBareLarge, Rate(large, Now() - start));

    if (web != kSize || bare != kSize || large != kSize) {
      Print("short download: %zu %zu %zu of %zu bytes\n", web, bare, large, kSize);
      return 1;
    }
  }
  Print("body: %zu MiB, best of %d rounds\n", kSize >> 20, kRounds);
  Print("WebAccess (1024-byte reads):        %8.1f MiB/s\n", bestWeb);
  Print("bare loop (1024-byte reads):        %8.1f MiB/s\n", bestBare);
  Print("ratio WebAccess / bare loop:        %8.3f\n", bestWeb / bestBare);
  Print("for scale, bare loop 65536-byte reads: %8.1f MiB/s\n", bestBareLarge);
  return 0;
}
