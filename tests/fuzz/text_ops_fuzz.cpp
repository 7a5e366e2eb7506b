// Text operations on arbitrary bytes: no read past the text, and the
// invariants a caller relies on.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "text/text_ops.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view all(reinterpret_cast<const char*>(data), size);
  const std::size_t cut = size ? data[0] % (size + 1) : 0;
  const std::string_view text = all.substr(0, cut), needle = all.substr(cut, 4);

  for (auto mode : {text::Case::Exact, text::Case::Fold}) {
    if (auto hit = text::Find(text, needle, 0, mode)) {
      if (*hit + needle.size() > text.size()) std::abort();
      if (!text::Equal(text.substr(*hit, needle.size()), needle, mode)) std::abort();
    }
    (void)text::FindLast(text, needle, mode);
    (void)text::EndsWith(text, needle, mode);
  }
  if (!needle.empty()) {
    const auto pieces = text::Split(text, needle);
    const std::string joined = text::Join(pieces, needle);
    // Splitting drops only a final separator.
    if (joined != text && joined + std::string(needle) != text) std::abort();
  }
  const std::string trimmed = text::Trim(text);
  if (trimmed.size() > text.size()) std::abort();
  if (text::Lower(text).size() != text.size()) std::abort();
  (void)text::ReplaceAll(text, needle, "\"");
  return 0;
}
