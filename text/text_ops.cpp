#include "text/text_ops.h"

#include <cstdio>

namespace text {

namespace {

char FoldByte(char byte) { return byte >= 'A' && byte <= 'Z' ? static_cast<char>(byte - 'A' + 'a') : byte; }

// Byte-wise comparison of equally long ranges, folding when asked.
bool SameBytes(std::string_view a, std::string_view b, Case mode) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const char x = mode == Case::Fold ? FoldByte(a[i]) : a[i];
    const char y = mode == Case::Fold ? FoldByte(b[i]) : b[i];
    if (x != y) return false;
  }
  return true;
}

}  // namespace

std::size_t CharLength(std::string_view text, std::size_t pos) {
  if (pos < text.size() && IsLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size())
    return 2;
  return 1;
}

std::size_t WholeCharactersWithin(std::string_view text, std::size_t maxBytes) {
  std::size_t n = 0;
  while (n < text.size() && n + CharLength(text, n) <= maxBytes) n += CharLength(text, n);
  return n;
}

std::string_view UpToNul(std::string_view bytes) {
  const std::size_t nul = bytes.find('\0');
  return nul == std::string_view::npos ? bytes : bytes.substr(0, nul);
}

std::optional<std::size_t> Find(std::string_view text, std::string_view needle, std::size_t from, Case mode) {
  // Folding never changes a trail byte, but a folded needle could still match
  // inside a character, so candidates are only character starts.
  for (std::size_t pos = from; pos <= text.size(); pos += CharLength(text, pos)) {
    if (text.size() - pos < needle.size()) return std::nullopt;
    if (SameBytes(text.substr(pos, needle.size()), needle, mode)) return pos;
    if (pos == text.size()) break;
  }
  return std::nullopt;
}

std::optional<std::size_t> FindLast(std::string_view text, std::string_view needle, Case mode) {
  std::optional<std::size_t> last;
  for (std::size_t pos = 0; pos <= text.size(); pos += CharLength(text, pos)) {
    if (text.size() - pos < needle.size()) break;
    if (SameBytes(text.substr(pos, needle.size()), needle, mode)) last = pos;
    if (pos == text.size()) break;
  }
  return last;
}

bool Contains(std::string_view text, std::string_view needle, Case mode) {
  return Find(text, needle, 0, mode).has_value();
}

bool StartsWith(std::string_view text, std::string_view prefix, Case mode) {
  return text.size() >= prefix.size() && SameBytes(text.substr(0, prefix.size()), prefix, mode);
}

bool EndsWith(std::string_view text, std::string_view suffix, Case mode) {
  if (text.size() < suffix.size()) return false;
  const std::size_t start = text.size() - suffix.size();
  // The suffix must begin a character of the text.
  std::size_t pos = 0;
  while (pos < start) pos += CharLength(text, pos);
  return pos == start && SameBytes(text.substr(start), suffix, mode);
}

bool Equal(std::string_view a, std::string_view b, Case mode) { return SameBytes(a, b, mode); }

std::string Lower(std::string_view text) {
  std::string out(text);
  for (std::size_t pos = 0; pos < out.size();) {
    const std::size_t length = CharLength(out, pos);
    if (length == 1) out[pos] = FoldByte(out[pos]);
    pos += length;
  }
  return out;
}

std::vector<std::string> Split(std::string_view text, std::string_view separator) {
  std::vector<std::string> items;
  if (text.empty()) return items;
  if (separator.empty()) return {std::string(text)};
  std::size_t start = 0;
  while (start < text.size()) {
    const auto hit = Find(text, separator, start);
    if (!hit) {
      items.emplace_back(text.substr(start));
      break;
    }
    items.emplace_back(text.substr(start, *hit - start));
    start = *hit + separator.size();
  }
  return items;
}

std::string Join(const std::vector<std::string>& items, std::string_view separator) {
  std::string out;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) out += separator;
    out += items[i];
  }
  return out;
}

std::string Trim(std::string_view text) {
  // Walk characters from the start so that a trailing A1 A1 is only taken
  // for a space when it really is one character.
  std::vector<std::size_t> starts;
  for (std::size_t pos = 0; pos < text.size(); pos += CharLength(text, pos)) starts.push_back(pos);
  auto isSpace = [&](std::size_t index) {
    const std::size_t pos = starts[index];
    const std::size_t length = CharLength(text, pos);
    if (length == 1) return text[pos] == ' ';
    return text[pos] == '\xA1' && text[pos + 1] == '\xA1';
  };
  std::size_t first = 0, last = starts.size();
  while (first < last && isSpace(first)) ++first;
  while (last > first && isSpace(last - 1)) --last;
  if (first == last) return {};
  const std::size_t begin = starts[first];
  const std::size_t end = last == starts.size() ? text.size() : starts[last];
  return std::string(text.substr(begin, end - begin));
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
  if (from.empty()) return std::string(text);
  std::string out;
  std::size_t start = 0;
  while (true) {
    const auto hit = Find(text, from, start);
    if (!hit) break;
    out.append(text.substr(start, *hit - start)).append(to);
    start = *hit + from.size();
  }
  out.append(text.substr(start));
  return out;
}

std::string Number(std::int32_t value) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%d", static_cast<int>(value));
  return digits;
}

std::string Boolean(bool value) { return value ? "真" : "假"; }

}  // namespace text
