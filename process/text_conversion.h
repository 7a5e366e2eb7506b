// Conversions between code page 936 texts and UTF-16LE wide buffers.
#pragma once

#include <string>
#include <string_view>

#include "platform/types.h"
#include "text/byte_buffer.h"

namespace process {

// Terminated wide buffer; empty for an empty text.
text::ByteBuffer TextToWide(std::string_view text);
// Text of the code units before the first NUL unit; empty when there are none.
std::string WideToText(text::ByteView wide);
// Code units before the first NUL unit, bare or with a terminator appended.
text::ByteBuffer CutWideAtNul(text::ByteView wide, bool addTerminator);
// Copy of the NUL-terminated wide string at `address`, terminator included.
text::ByteBuffer WideStringAt(const win::Wchar* address);

// A wide buffer as the platform takes a string: its first unit, or null.
inline const win::Wchar* WidePointer(text::ByteView wide) { return text::DataOrNull<win::Wchar>(wide); }

}  // namespace process
