#include "web/request_headers.h"

#include <vector>

#include "text/text_ops.h"
#include "web/url.h"

namespace web {

namespace {
constexpr std::int32_t kPost = 1;
}

std::string NormalizeHeaderNames(std::string_view block) {
  std::vector<std::string> lines;
  for (const std::string& line : text::Split(block, "\r\n")) {
    const auto colon = text::Find(line, ":");
    if (!colon) continue;
    const std::string_view name = std::string_view(line).substr(0, *colon);
    std::string rebuilt;
    if (text::Contains(name, "-")) {
      std::vector<std::string> parts = text::Split(name, "-");
      for (auto& part : parts) part = CapitalizeFirst(part);
      rebuilt = text::Join(parts, "-");
    } else {
      rebuilt = CapitalizeFirst(name);
    }
    // The new name is no longer than the old one (a final dash yields no
    // part), so the rest of the old line follows unchanged.
    rebuilt.append(line, rebuilt.size());
    lines.push_back(std::move(rebuilt));
  }
  return text::Join(lines, "\r\n");
}

std::string CapitalizeFirst(std::string_view text) {
  std::string out(text);
  if (!out.empty() && out[0] >= 'a' && out[0] <= 'z') out[0] = static_cast<char>(out[0] - 'a' + 'A');
  return out;
}

std::string PickUserAgent(std::string_view block) {
  if (!text::Contains(block, "User-Agent:", text::Case::Fold)) return std::string(DefaultUserAgent);
  std::string agent = text::Trim(TextBetween(std::string(block) + "\r\n", "User-Agent:", "\r\n"));
  if (agent.empty()) agent = TextAfterColon(block);
  return agent;
}

std::string TextAfterColon(std::string_view text) {
  const auto colon = text::Find(text, ":");
  if (!colon) return {};
  return text::Trim(text.substr(*colon + 1));
}

std::string AddDefaultHeaders(std::string_view block, std::string_view url, std::int32_t method) {
  std::string out(block);
  auto lacks = [&out](std::string_view name) { return !text::Contains(out, name, text::Case::Fold); };
  if (out.empty()) out = "Accept: */*";
  if (lacks("Accept:")) out += "\r\nAccept: */*";
  if (lacks("Referer:")) out.append("\r\nReferer: ").append(url);
  if (lacks("Accept-Language:")) out += "\r\nAccept-Language: zh-cn";
  if (method == kPost && lacks("Content-Type:")) out += "\r\nContent-Type: application/x-www-form-urlencoded";
  return out;
}

std::string AppendCookieHeader(std::string_view block, std::string_view cookies) {
  std::string out(block);
  if (!text::Contains(cookies, "Cookie:"))
    out += "\r\nCookie: ";
  else
    out += "\r\n";
  out.append(cookies);
  return out;
}

}  // namespace web
