// Cookies kept as plain text: entries "name=value" joined by "; ".
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace web {

// The first name=value of every Set-Cookie line that has a ";", joined by
// "; ".
std::string CollectResponseCookies(const std::vector<std::string>& headerLines);

// The response's cookies, then the caller's that the response did not set;
// "=deleted" entries removed, repeats dropped. Both inputs are stored back
// in their tidied form, and `cookies` receives the result as well.
std::string MergeCookies(std::string& cookies, std::string& responseCookies);

// The trimmed bytes before the entry's first "=" (the whole entry without one).
std::string CookieName(std::string_view entry);

// The items of `text` between `separator`s, each kept once, in first order.
std::string JoinDistinct(std::string_view text, std::string_view separator);

}  // namespace web
