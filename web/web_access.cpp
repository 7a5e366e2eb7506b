#include "web/web_access.h"

#include <algorithm>
#include <array>
#include <new>
#include <vector>

#include "installer/program_constants.h"
#include "platform/inet.h"
#include "text/text_ops.h"
#include "web/cookies.h"
#include "web/request_headers.h"
#include "web/url.h"

namespace web {

namespace {

constexpr std::array<const char*, 9> kVerbs = {"GET",    "POST",  "HEAD",    "PUT",  "OPTIONS",
                                               "DELETE", "TRACE", "CONNECT", "PATCH"};
constexpr win::Dword kSecurityFlags =
    win::kSecurityFlagIgnoreRevocation | win::kSecurityFlagIgnoreUnknownCa |
    win::kSecurityFlagIgnoreWrongUsage | win::kSecurityFlagIgnoreCertCnInvalid |
    win::kSecurityFlagIgnoreCertDateInvalid | win::kSecurityFlagIgnoreRedirectToHttps |
    win::kSecurityFlagIgnoreRedirectToHttp | win::kSecurityFlagIgnoreWeakSignature;
static_assert(kSecurityFlags == 0x0001F380);

constexpr win::Dword kReadSize = 1024;
constexpr std::size_t kHeaderRoom = 5000;

// An empty text goes to the platform as no text at all.
const char* TextOrNull(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }

// Closes its handle when it goes; declared in the order of opening, the
// handles of one call close in the reverse order.
class InternetHandle {
 public:
  explicit InternetHandle(win::Hinternet handle) : handle_(handle) {}
  InternetHandle(const InternetHandle&) = delete;
  InternetHandle& operator=(const InternetHandle&) = delete;
  ~InternetHandle() { Close(); }

  win::Hinternet get() const { return handle_; }
  bool IsNull() const { return win::IsNull(handle_); }
  void Close() {
    if (!IsNull()) win::InternetCloseHandle(handle_);
    handle_ = {};
  }

 private:
  win::Hinternet handle_;
};

// Sends the body through the streaming send, in pieces of UploadChunkSize.
void SendStreaming(win::Hinternet request, const std::string& block, const text::ByteBuffer& body) {
  win::InternetBuffersA buffers{};
  buffers.dwStructSize = sizeof(win::InternetBuffersA);
  buffers.lpcszHeader = TextOrNull(block);
  buffers.dwHeadersLength = static_cast<win::Dword>(block.size());
  buffers.dwBufferTotal = static_cast<win::Dword>(body.size());
  if (!win::HttpSendRequestExA(request, &buffers, nullptr, win::kHsrInitiate, 0)) return;
  const std::size_t chunkSize = static_cast<std::size_t>(installer::UploadChunkSize);
  for (std::size_t offset = 0; offset < body.size();) {
    const std::size_t chunk = std::min(chunkSize, body.size() - offset);
    win::Dword written = 0;
    // A short or failed write does not stop the upload.
    win::InternetWriteFile(request, body.data() + offset, static_cast<win::Dword>(chunk), &written);
    offset += chunk;
  }
  win::HttpEndRequestA(request, nullptr, 0, 0);
}

// The whole body, 1024 bytes a read. The accumulated body grows
// geometrically, so a long body costs linear time. Empty when the body does
// not fit into memory.
text::ByteBuffer ReadBody(win::Hinternet request) {
  text::ByteBuffer body;
  std::array<std::uint8_t, kReadSize> buffer{};
  try {
    while (true) {
      win::Dword count = 0;
      if (!win::InternetReadFile(request, buffer.data(), kReadSize, &count) || count == 0) break;
      body.insert(body.end(), buffer.begin(), buffer.begin() + std::min(count, kReadSize));
    }
  } catch (const std::bad_alloc&) {
    return {};
  }
  return body;
}

}  // namespace

text::ByteBuffer WebAccess(std::string_view url, const WebAccessOptions& options) {
  std::string block = options.headers.value_or("");
  if (options.normalizeHeaderNames.value_or(true)) block = NormalizeHeaderNames(block);

  std::int32_t method = options.method.value_or(kGet);
  if (method < kGet || method > kPatch) method = kGet;
  const bool https = text::Equal(url.substr(0, 8), "https://", text::Case::Fold);

  const std::string agent = PickUserAgent(block);
  const std::string proxy = options.proxy.value_or("");
  std::string proxyText;
  if (!proxy.empty()) {
    if (options.socksProxy.value_or(false))
      proxyText = "SOCKS=" + proxy;
    else if (https)
      proxyText = proxy;
    else
      proxyText = "http=" + proxy;
  }
  InternetHandle root(
      proxy.empty()
          ? win::InternetOpenA(TextOrNull(agent), win::kInternetOpenTypeDirect, nullptr, nullptr, 0)
          : win::InternetOpenA(TextOrNull(agent), win::kInternetOpenTypeProxy, proxyText.c_str(), "", 0));
  if (root.IsNull()) return {};

  const std::string host = UrlHost(url);
  InternetHandle connection(win::InternetConnectA(root.get(), TextOrNull(host),
                                                  static_cast<win::Word>(UrlPort(url)), nullptr, nullptr,
                                                  win::kInternetServiceHttp, 0, 0));
  if (connection.IsNull()) return {};

  const bool cookiesSupplied = options.cookies != nullptr;
  win::Dword flags = win::kInternetFlagReload | win::kInternetFlagNeedFile;
  if (cookiesSupplied) flags |= win::kInternetFlagNoCookies;
  if (options.noRedirect.value_or(false)) flags |= win::kInternetFlagNoAutoRedirect;
  flags |= https ? win::kInternetFlagSecure : win::kInternetFlagIgnoreRedirectToHttps;
  const std::string path = UrlPath(url);
  InternetHandle request(win::HttpOpenRequestA(connection.get(), kVerbs[static_cast<std::size_t>(method)],
                                               path.c_str(), "HTTP/1.1", nullptr, nullptr, flags, 0));
  if (request.IsNull()) return {};

  // Certificate problems never stop a request.
  win::Dword security = kSecurityFlags;
  win::InternetSetOptionA(request.get(), win::kInternetOptionSecurityFlags, &security, sizeof security);

  if (options.completeHeaders.value_or(true)) block = AddDefaultHeaders(block, url, method);
  const std::string cookies = cookiesSupplied ? *options.cookies : std::string();
  if (!cookies.empty()) block = AppendCookieHeader(block, cookies);

  if (method == kGet) {
    win::HttpSendRequestA(request.get(), TextOrNull(block), static_cast<win::Dword>(block.size()), nullptr,
                          0);
  } else {
    text::ByteBuffer scratch;
    text::ByteBuffer& body = options.bodyBytes ? *options.bodyBytes : scratch;
    if (body.empty()) {
      const std::string bodyText(text::UpToNul(options.bodyText ? *options.bodyText : std::string_view()));
      body.assign(bodyText.begin(), bodyText.end());
    }
    SendStreaming(request.get(), block, body);
  }

  text::ByteBuffer received = ReadBody(request.get());

  // 5000 spaces and a NUL, of which 5000 bytes are offered: what the query
  // leaves there is a NUL-terminated text in every case.
  std::string headerText(kHeaderRoom, ' ');
  headerText.push_back('\0');
  win::Dword headerLength = kHeaderRoom;
  win::HttpQueryInfoA(request.get(), win::kHttpQueryRawHeadersCrlf, headerText.data(), &headerLength,
                      nullptr);
  const std::string responseHeaders(text::UpToNul(headerText));

  request.Close();
  connection.Close();
  root.Close();

  std::string responseCookies = CollectResponseCookies(text::Split(responseHeaders, "\r\n"));
  if (options.mergeCookies.value_or(true) && cookiesSupplied) {
    std::string merged = cookies;
    responseCookies = MergeCookies(merged, responseCookies);
    *options.cookies = merged;
  }
  if (options.responseCookies) *options.responseCookies = responseCookies;
  if (options.responseHeaders) *options.responseHeaders = responseHeaders;
  return received;
}

}  // namespace web
