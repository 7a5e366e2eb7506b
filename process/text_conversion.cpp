#include "process/text_conversion.h"

#include <cstring>

#include "installer/program_constants.h"
#include "platform/text.h"
#include "text/text_ops.h"

namespace process {

namespace {
constexpr win::Uint kCodePage = static_cast<win::Uint>(installer::TextCodePage);
}

text::ByteBuffer TextToWide(std::string_view narrow) {
  const std::string bytes(text::UpToNul(narrow));  // NUL-terminated copy
  if (bytes.empty()) return {};
  const int units = win::MultiByteToWideChar(kCodePage, 0, bytes.c_str(), -1, nullptr, 0);
  if (units <= 0) return {};
  text::ByteBuffer wide(static_cast<std::size_t>(units) * 2, 0);
  if (win::MultiByteToWideChar(kCodePage, 0, bytes.c_str(), -1, reinterpret_cast<win::Wchar*>(wide.data()),
                               units) <= 0)
    return {};
  return wide;
}

std::string WideToText(text::ByteView wide) {
  // Copy into whole code units plus a terminator, so a bare buffer is
  // terminated as well (and the units are properly aligned).
  std::u16string units(wide.size() / 2 + 1, u'\0');
  // An empty view may hold a null pointer, which memcpy must never get.
  if (!wide.empty()) std::memcpy(units.data(), wide.data(), wide.size() / 2 * 2);
  if (win::lstrlenW(units.data()) == 0) return {};
  const int bytes = win::WideCharToMultiByte(kCodePage, 0, units.data(), -1, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return {};
  std::string area(static_cast<std::size_t>(bytes), '\0');
  if (win::WideCharToMultiByte(kCodePage, 0, units.data(), -1, area.data(), bytes, nullptr, nullptr) <= 0)
    return {};
  return std::string(text::UpToNul(area));
}

text::ByteBuffer CutWideAtNul(text::ByteView wide, bool addTerminator) {
  if (wide.size() < 2) return {};
  std::size_t cut = 0;
  while (cut + 1 < wide.size() && !(wide[cut] == 0 && wide[cut + 1] == 0)) cut += 2;
  if (cut == 0) return {};
  text::ByteBuffer out(wide.begin(), wide.begin() + static_cast<std::ptrdiff_t>(cut));
  if (addTerminator) out.insert(out.end(), {0, 0});
  return out;
}

text::ByteBuffer WideStringAt(const win::Wchar* address) {
  if (!address) return {};
  const int length = win::lstrlenW(address);
  if (length <= 0) return {};
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(address);
  return text::ByteBuffer(bytes, bytes + static_cast<std::size_t>(length) * 2 + 2);
}

}  // namespace process
