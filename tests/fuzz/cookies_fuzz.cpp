// Collecting and merging cookies on arbitrary header lines and cookie texts.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "tests/fuzz/fuzz_check.h"
#include "text/text_ops.h"
#include "web/cookies.h"

namespace {

using fuzz::Check;

constexpr std::string_view kSeparator = "; ";

bool Ascii(std::string_view text) {
  return std::none_of(text.begin(), text.end(),
                      [](char c) { return text::IsLeadByte(static_cast<unsigned char>(c)); });
}

bool Has(const std::vector<std::string>& items, const std::string& item) {
  return std::find(items.begin(), items.end(), item) != items.end();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  std::vector<std::string> lines;
  const std::size_t count = input.ConsumeIntegralInRange<std::size_t>(0, 8);
  for (std::size_t i = 0; i < count; ++i) {
    std::string line = input.ConsumeRandomLengthString(48);
    // Most lines should be cookie lines, so that merging gets work.
    if (input.ConsumeBool()) line.insert(0, input.ConsumeBool() ? "Set-Cookie:" : "set-cookie: ");
    lines.push_back(std::move(line));
  }
  const std::string callers = input.ConsumeRemainingBytesAsString();

  // The collected entries are trimmed pieces of cookie lines, no more of
  // them than such lines.
  const std::string collected = web::CollectResponseCookies(lines);
  const auto entries = text::Split(collected, kSeparator);
  const auto cookieLines = std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
    return text::StartsWith(line, "set-cookie:", text::Case::Fold);
  });
  Check(entries.size() <= static_cast<std::size_t>(cookieLines));
  if (Ascii(collected)) {
    for (const auto& entry : entries) {
      Check(text::Trim(entry) == entry && !text::Contains(entry, ";"));
      Check(std::any_of(lines.begin(), lines.end(),
                        [&](const std::string& line) { return text::Find(line, entry, 11).has_value(); }));
    }
  }

  // The merge: stored back in both places, no deleted entry, no repeat.
  std::string cookies = callers, response = collected;
  const std::string merged = web::MergeCookies(cookies, response);
  Check(cookies == merged);
  Check(response == text::Trim(collected) || response == text::Trim(collected) + " ");
  const auto items = text::Split(merged, kSeparator);
  Check(std::set<std::string>(items.begin(), items.end()).size() == items.size());
  for (const auto& item : items) Check(!item.ends_with("=deleted"));

  if (Ascii(callers) && Ascii(collected)) {
    // Each response entry that is not a deletion is there, and a caller's
    // entry whose name the response did not set, the first of that name;
    // nothing else comes in. (An empty entry can fall away at the end.)
    std::string tidied = text::Trim(callers);
    if (tidied.ends_with(";")) tidied += ' ';
    const auto fresh = text::Split(response, kSeparator), old = text::Split(tidied, kSeparator);
    std::set<std::string> freshNames, oldNames;
    for (const auto& entry : fresh) freshNames.insert(web::CookieName(entry));
    for (const auto& entry : fresh)
      if (!entry.empty() && !entry.ends_with("=deleted")) Check(Has(items, entry));
    for (const auto& entry : old) {
      const std::string name = web::CookieName(entry);
      const bool first = oldNames.insert(name).second;
      if (first && !entry.empty() && !freshNames.count(name) && !entry.ends_with("=deleted"))
        Check(Has(items, entry));
    }
    for (const auto& item : items)
      Check(Has(fresh, item) || (!freshNames.count(web::CookieName(item)) && Has(old, item)));
  }

  const std::string name = web::CookieName(callers);
  Check(text::Trim(name) == name && !text::Contains(name, "="));
  Check(name.empty() || text::Contains(callers, name));
  return 0;
}
