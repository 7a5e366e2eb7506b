// Length-counted byte buffers, and handing them to the platform.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace text {

using ByteBuffer = std::vector<std::uint8_t>;
using ByteView = std::span<const std::uint8_t>;

// What a platform function receives for a buffer: its first byte, or a null
// pointer for an empty buffer.
template <class T = std::uint8_t>
const T* DataOrNull(ByteView bytes) {
  return bytes.empty() ? nullptr : reinterpret_cast<const T*>(bytes.data());
}

}  // namespace text
