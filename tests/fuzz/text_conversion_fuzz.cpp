// Narrow/wide conversions on arbitrary bytes.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/sim/world.h"
#include "process/text_conversion.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool ready = (sim::ResetWorld(), true);
  (void)ready;
  sim::TheWorld().calls.clear();
  const text::ByteView bytes(data, size);
  const std::string narrow(reinterpret_cast<const char*>(data), size);

  const auto wide = process::TextToWide(narrow);
  if (!wide.empty() && (wide.size() % 2 != 0 || wide[wide.size() - 1] != 0 || wide[wide.size() - 2] != 0))
    std::abort();  // a wide buffer handed to the platform as a string must be terminated
  (void)process::WideToText(bytes);
  for (bool terminator : {false, true}) {
    const auto cut = process::CutWideAtNul(bytes, terminator);
    if (cut.size() > size + 2 || cut.size() % 2 != 0) std::abort();
  }
  std::u16string units(size / 2 + 1, u'\0');
  for (std::size_t i = 0; i + 1 < size; i += 2)
    units[i / 2] = static_cast<char16_t>(data[i] | data[i + 1] << 8);
  (void)process::WideStringAt(units.c_str());
  return 0;
}
