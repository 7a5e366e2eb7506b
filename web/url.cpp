#include "web/url.h"

#include <limits>

#include "text/text_ops.h"

namespace web {

std::string TextBetween(std::string_view text, std::string_view left, std::string_view right) {
  const std::string leftMarker = text::ReplaceAll(left, "#引号", "\"");
  const std::string rightMarker = text::ReplaceAll(right, "#引号", "\"");
  const auto start = text::Find(text, leftMarker);
  if (!start) return {};
  const std::size_t from = *start + leftMarker.size();
  const auto end = text::Find(text, rightMarker, from);
  if (!end) return {};
  return std::string(text.substr(from, *end - from));
}

std::string UrlHost(std::string_view url, bool keepPort) {
  std::string lowered = text::Lower(url);
  if (!text::EndsWith(lowered, "/")) lowered += '/';
  std::string host;
  if (lowered.starts_with("https://")) {
    host = TextBetween(lowered, "https://", "/");
  } else {
    if (!text::Contains(lowered, "http://")) lowered.insert(0, "http://");
    host = TextBetween(lowered, "http://", "/");
  }
  if (keepPort) return host;
  const auto colon = text::Find(host, ":");
  return colon ? host.substr(0, *colon) : host;
}

std::int32_t UrlPort(std::string_view url) {
  const std::string host = UrlHost(url, true);
  if (const auto colon = text::FindLast(host, ":")) {
    // Leading digits only; a port text too long for a number stops growing.
    std::int64_t port = 0;
    for (std::size_t i = *colon + 1; i < host.size() && host[i] >= '0' && host[i] <= '9'; ++i)
      port = std::min<std::int64_t>(port * 10 + (host[i] - '0'), std::numeric_limits<std::int32_t>::max());
    return static_cast<std::int32_t>(port);
  }
  return text::Lower(url.substr(0, 5)) == "https" ? 443 : 80;
}

std::string UrlPath(std::string_view url) {
  const std::string host = UrlHost(url);
  const std::size_t from = text::Find(url, host, 0, text::Case::Fold).value_or(0);
  const auto slash = text::Find(url, "/", from);
  if (!slash) return "/";
  return std::string(url.substr(*slash));
}

}  // namespace web
