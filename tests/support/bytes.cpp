#include "tests/support/bytes.h"

#include <cstdio>

namespace testing_bytes {

text::ByteBuffer Bytes(std::initializer_list<int> values) {
  text::ByteBuffer out;
  for (int v : values) out.push_back(static_cast<std::uint8_t>(v));
  return out;
}

text::ByteBuffer Bytes(std::string_view text) { return text::ByteBuffer(text.begin(), text.end()); }

std::string Hex(text::ByteView bytes) {
  std::string out;
  char piece[4];
  for (auto b : bytes) {
    std::snprintf(piece, sizeof piece, out.empty() ? "%02X" : " %02X", b);
    out += piece;
  }
  return out;
}

}  // namespace testing_bytes
