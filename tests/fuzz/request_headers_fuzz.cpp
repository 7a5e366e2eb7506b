// The request header block on arbitrary texts: names are only raised,
// values pass untouched, defaults are only ever appended.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/fuzz/fuzz_check.h"
#include "text/text_ops.h"
#include "web/request_headers.h"

using fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::int32_t method = input.ConsumeIntegralInRange<std::int32_t>(-1, 3);
  const std::string url = input.ConsumeRandomLengthString(64);
  const std::string cookies = input.ConsumeRandomLengthString(64);
  const std::string block = input.ConsumeRemainingBytesAsString();

  // Every line with a ":" comes back, equal but for the case of letters,
  // with the same ":" and value bytes; lines without one are gone.
  const std::string normal = web::NormalizeHeaderNames(block);
  std::vector<std::string> kept;
  for (const auto& line : text::Split(block, "\r\n"))
    if (text::Contains(line, ":")) kept.push_back(line);
  const std::vector<std::string> lines = text::Split(normal, "\r\n");
  Check(lines.size() == kept.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    Check(text::Equal(lines[i], kept[i], text::Case::Fold));
    const std::size_t colon = *text::Find(kept[i], ":");
    Check(lines[i].compare(colon, std::string::npos, kept[i], colon) == 0);
  }
  Check(web::NormalizeHeaderNames(normal) == normal);

  const std::string raised = web::CapitalizeFirst(block);
  Check(text::Equal(raised, block, text::Case::Fold));

  // The agent is the default or trimmed text taken from the block.
  for (const std::string& headers : {block, normal}) {
    const std::string agent = web::PickUserAgent(headers);
    if (!text::Contains(headers, "User-Agent:", text::Case::Fold)) {
      Check(agent == web::DefaultUserAgent);
    } else {
      Check(text::Trim(agent) == agent);
      Check(agent.empty() || text::Contains(headers, agent));
    }
  }

  // Defaults are appended after the caller's lines and leave nothing more
  // to add.
  const std::string full = web::AddDefaultHeaders(block, url, method);
  Check(full.starts_with(block));
  for (const char* name : {"Accept:", "Referer:", "Accept-Language:"})
    Check(text::Contains(full, name, text::Case::Fold));
  if (method == 1) Check(text::Contains(full, "Content-Type:", text::Case::Fold));
  Check(web::AddDefaultHeaders(full, url, method) == full);

  const std::string withCookies = web::AppendCookieHeader(block, cookies);
  Check(withCookies.starts_with(block + "\r\n") && withCookies.ends_with(cookies));
  Check(withCookies.size() == block.size() + 2 + cookies.size() ||
        withCookies == block + "\r\nCookie: " + cookies);
  return 0;
}
