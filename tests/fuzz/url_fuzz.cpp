// TextBetween and the URL splitting on arbitrary texts: what the connection
// and the request take from a URL always lies inside it.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/fuzz/fuzz_check.h"
#include "text/text_ops.h"
#include "web/url.h"

using fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string left = input.ConsumeRandomLengthString(16);
  const std::string right = input.ConsumeRandomLengthString(16);
  const std::string text = input.ConsumeRemainingBytesAsString();

  // The markers as searched: "#引号" stands for a double quote.
  const std::string l = text::ReplaceAll(left, "#引号", "\""), r = text::ReplaceAll(right, "#引号", "\"");
  const std::string between = web::TextBetween(text, left, right);
  Check(between.size() <= text.size());
  if (!between.empty()) Check(text::Contains(text, l + between + r));

  // The URL is the remaining text.
  const std::string& url = text;
  const std::string lowered = text::Lower(url);
  const std::string host = web::UrlHost(url), hostAndPort = web::UrlHost(url, true);
  Check(hostAndPort.starts_with(host));
  Check(!text::Contains(host, ":"));
  Check(!text::Contains(hostAndPort, "/"));
  Check(text::Lower(hostAndPort) == hostAndPort);
  Check(hostAndPort.empty() || text::Contains(lowered, hostAndPort));

  const std::int32_t port = web::UrlPort(url);
  Check(port >= 0);
  if (!text::Contains(hostAndPort, ":")) Check(port == 80 || port == 443);

  const std::string path = web::UrlPath(url);
  Check(path.starts_with("/"));
  Check(path == "/" || url.ends_with(path));  // as written, up to the end
  return 0;
}
