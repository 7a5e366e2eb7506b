#include "web/cookies.h"

#include <unordered_set>

#include "text/text_ops.h"

namespace web {

namespace {

constexpr std::string_view kSetCookie = "set-cookie:";
constexpr std::string_view kSeparator = "; ";

void Tidy(std::string& cookies) {
  cookies = text::Trim(cookies);
  if (text::EndsWith(cookies, ";")) cookies += ' ';
}

}  // namespace

std::string CollectResponseCookies(const std::vector<std::string>& headerLines) {
  std::string result;
  for (const std::string& line : headerLines) {
    if (!text::StartsWith(line, kSetCookie, text::Case::Fold)) continue;
    const auto semicolon = text::Find(line, ";", kSetCookie.size());
    if (!semicolon) continue;
    if (!result.empty()) result += kSeparator;
    result += text::Trim(std::string_view(line).substr(kSetCookie.size(), *semicolon - kSetCookie.size()));
  }
  return result;
}

std::string MergeCookies(std::string& cookies, std::string& responseCookies) {
  Tidy(cookies);
  Tidy(responseCookies);
  const std::vector<std::string> oldList = text::Split(cookies, kSeparator);
  std::vector<std::string> newList = text::Split(responseCookies, kSeparator);

  // Names already in the new list, kept as a set so that long cookie texts
  // cost linear time; the entries appended below count too.
  std::unordered_set<std::string> names;
  for (const auto& entry : newList) names.insert(CookieName(entry));
  for (const auto& entry : oldList)
    if (names.insert(CookieName(entry)).second) newList.push_back(entry);

  std::vector<std::string> kept;
  for (auto& entry : newList)
    if (!std::string_view(entry).ends_with("=deleted")) kept.push_back(std::move(entry));

  cookies = JoinDistinct(text::Join(kept, kSeparator), kSeparator);
  return cookies;
}

std::string CookieName(std::string_view entry) {
  const auto equals = text::Find(entry, "=");
  return text::Trim(equals ? entry.substr(0, *equals) : entry);
}

std::string JoinDistinct(std::string_view text, std::string_view separator) {
  std::vector<std::string> kept;
  std::unordered_set<std::string> seen;
  for (auto& item : text::Split(text, separator))
    if (seen.insert(item).second) kept.push_back(std::move(item));
  return text::Join(kept, separator);
}

}  // namespace web
