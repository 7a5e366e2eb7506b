// The request header block: lines "name: value" joined by "\r\n", with no
// "\r\n" after the last one.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace web {

inline constexpr std::string_view DefaultUserAgent = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

// Raises the first letter of every dash-separated part of each header name;
// lines without ":" are dropped.
std::string NormalizeHeaderNames(std::string_view block);

// The first byte upper-cased when it is a-z.
std::string CapitalizeFirst(std::string_view text);

// The agent string for the connection: the block's User-Agent value, or the
// default agent when the block has none.
std::string PickUserAgent(std::string_view block);

// Everything after the first ":", trimmed; empty without a ":".
std::string TextAfterColon(std::string_view text);

// Adds the Accept, Referer, Accept-Language and (for POST) Content-Type lines
// the block lacks.
std::string AddDefaultHeaders(std::string_view block, std::string_view url, std::int32_t method);

// Adds the caller's cookies: as a Cookie line, or as they are when they
// already hold one.
std::string AppendCookieHeader(std::string_view block, std::string_view cookies);

}  // namespace web
