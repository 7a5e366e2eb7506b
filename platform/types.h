// Small types of the platform layer. They mirror the Win32 ones in size and
// meaning, without including any platform header.
#pragma once

#include <cstddef>
#include <cstdint>

namespace win {

using Byte = std::uint8_t;
using Word = std::uint16_t;
using Dword = std::uint32_t;
using Uint = std::uint32_t;
using Long = std::int32_t;
using Bool = std::int32_t;
using Short = std::int16_t;
using NtStatus = std::uint32_t;
using Wchar = char16_t;

// Opaque handles: 0 means none. Values are the platform's own (real
// backend) or the simulation's.
enum class Handle : std::uintptr_t {};
enum class Hwnd : std::uintptr_t {};
enum class Hkey : std::uintptr_t {};
enum class Hinternet : std::uintptr_t {};
enum class Hmodule : std::uintptr_t {};

template <class H>
constexpr bool IsNull(H h) {
  return static_cast<std::uintptr_t>(h) == 0;
}
template <class H>
constexpr std::uintptr_t Value(H h) {
  return static_cast<std::uintptr_t>(h);
}

inline constexpr Bool kTrue = 1;
inline constexpr Bool kFalse = 0;
inline constexpr Dword kInfinite = 0xFFFFFFFF;

}  // namespace win
