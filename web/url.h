// Taking a URL text apart for the connection and the request: plain
// searching and cutting, no URL grammar and no percent-decoding.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace web {

// The bytes between the first `left` and the next `right` after it; empty
// when either is missing. In both markers "#引号" stands for a double quote.
std::string TextBetween(std::string_view text, std::string_view left, std::string_view right);

// Host of `url`, lower-cased; without its ":port" unless keepPort.
std::string UrlHost(std::string_view url, bool keepPort = false);

// Port named in `url`, or 443 / 80 by scheme; ":" without digits gives 0.
std::int32_t UrlPort(std::string_view url);

// Object path with query (and fragment) as written, starting with "/".
std::string UrlPath(std::string_view url);

}  // namespace web
