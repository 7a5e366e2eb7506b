// The simulation's own code page 936 conversions, for simulated functions
// that take or give UTF-16 text. They are no platform call: nothing is
// logged and no failure on demand reaches them.
#pragma once

#include <string>
#include <string_view>

namespace sim {

std::u16string DecodeCp936(std::string_view text);
std::string EncodeCp936(std::u16string_view wide);
// A-Z become a-z, as the system compares names.
std::u16string FoldAscii(std::u16string_view wide);

}  // namespace sim
