// One complete HTTP or HTTPS request through WinINet.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "text/byte_buffer.h"

namespace web {

// Methods by index; anything outside 0..8 is a GET.
enum Method : std::int32_t {
  kGet = 0,
  kPost = 1,
  kHead = 2,
  kPut = 3,
  kOptions = 4,
  kDelete = 5,
  kTrace = 6,
  kConnect = 7,
  kPatch = 8,
};

// The parameters after the URL, in their order. Left-out values take the
// defaults noted; the pointers name the caller's own variables, which are
// read and written back (null: left out).
struct WebAccessOptions {
  std::optional<std::int32_t> method{};        // GET
  std::optional<std::string> bodyText{};       // empty; sent only when bodyBytes is empty
  std::string* cookies = nullptr;              // in/out; left out is not the same as empty
  std::string* responseCookies = nullptr;      // out
  std::optional<std::string> headers{};        // extra lines joined by "\r\n"; not changed
  std::string* responseHeaders = nullptr;      // out: the raw response header block
  std::optional<bool> noRedirect{};            // false
  text::ByteBuffer* bodyBytes = nullptr;       // in/out: takes precedence over bodyText
  std::optional<std::string> proxy{};          // "host:port"; empty: direct
  std::optional<bool> mergeCookies{};          // true
  std::optional<bool> completeHeaders{};       // true
  std::optional<bool> normalizeHeaderNames{};  // true
  std::optional<bool> socksProxy{};            // false
};

// The whole response body, whatever the status; empty when nothing arrived
// or the request could not be opened.
text::ByteBuffer WebAccess(std::string_view url, const WebAccessOptions& options = {});

}  // namespace web
