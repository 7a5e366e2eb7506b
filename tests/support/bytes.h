// Byte helpers for tests.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "text/byte_buffer.h"

namespace testing_bytes {

text::ByteBuffer Bytes(std::initializer_list<int> values);
text::ByteBuffer Bytes(std::string_view text);
std::string Hex(text::ByteView bytes);

}  // namespace testing_bytes
