// Code-page conversions of the simulation: code page 936 through iconv's
// CP936 tables, UTF-8 by hand. Like Windows without MB_ERR_INVALID_CHARS and
// without a caller's default character, what cannot be converted becomes "?".
#include <iconv.h>

#include <array>
#include <cstring>
#include <map>
#include <string>

#include "platform/sim/sim_text.h"
#include "platform/sim/world.h"
#include "platform/text.h"

namespace win {

namespace {

constexpr Uint kGbk = 936;

struct Cp936Tables {
  std::map<std::uint16_t, char16_t> toWide;  // two-byte code (lead << 8 | trail) -> unit
  std::map<char16_t, std::uint16_t> toNarrow;
  Cp936Tables() {
    iconv_t cd = iconv_open("UTF-16LE", "CP936");
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
      for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
        if (trail == 0x7F) continue;
        char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        char out[8];
        char* inPtr = in;
        char* outPtr = out;
        std::size_t inLeft = 2, outLeft = sizeof out;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) continue;
        if (sizeof out - outLeft != 2) continue;  // outside the BMP: not in CP936
        const char16_t unit = static_cast<char16_t>(static_cast<unsigned char>(out[0]) |
                                                    static_cast<unsigned char>(out[1]) << 8);
        const std::uint16_t code = static_cast<std::uint16_t>(lead << 8 | trail);
        toWide[code] = unit;
        toNarrow.emplace(unit, code);
      }
    }
    iconv_close(cd);
    // Windows' code page 936 has the euro sign at 0x80.
    toNarrowSingle[0x20AC] = 0x80;
    toNarrowSingle[0xF8F5] = 0xFF;
  }
  std::map<char16_t, unsigned char> toNarrowSingle;
};

const Cp936Tables& Tables() {
  static const Cp936Tables tables;
  return tables;
}

std::u16string DecodeGbk(const unsigned char* bytes, std::size_t length) {
  const auto& tables = Tables();
  std::u16string out;
  for (std::size_t i = 0; i < length;) {
    const unsigned char b = bytes[i];
    if (b < 0x80) {
      out += static_cast<char16_t>(b);
      ++i;
    } else if (b == 0x80) {
      out += u'\u20AC';
      ++i;
    } else if (b == 0xFF) {
      out += u'\uF8F5';  // Windows' table keeps 0xFF as a private-use character
      ++i;
    } else if (i + 1 >= length || bytes[i + 1] == 0) {
      out += u'?';
      ++i;
    } else {
      const auto it = tables.toWide.find(static_cast<std::uint16_t>(b << 8 | bytes[i + 1]));
      if (it != tables.toWide.end()) {
        out += it->second;
        i += 2;
      } else {
        out += u'?';  // a lead byte takes the byte after it, valid or not
        i += 2;
      }
    }
  }
  return out;
}

std::string EncodeGbk(const char16_t* wide, std::size_t length) {
  const auto& tables = Tables();
  std::string out;
  // Each unit on its own: the halves of a surrogate pair become one "?" each.
  for (std::size_t i = 0; i < length; ++i) {
    const char16_t unit = wide[i];
    if (unit < 0x80) {
      out += static_cast<char>(unit);
      continue;
    }
    if (auto single = tables.toNarrowSingle.find(unit); single != tables.toNarrowSingle.end()) {
      out += static_cast<char>(single->second);
    } else if (auto it = tables.toNarrow.find(unit); it != tables.toNarrow.end()) {
      out += static_cast<char>(it->second >> 8);
      out += static_cast<char>(it->second & 0xFF);
    } else {
      out += '?';
    }
  }
  return out;
}

std::u16string DecodeUtf8(const unsigned char* s, std::size_t n) {
  std::u16string out;
  for (std::size_t i = 0; i < n;) {
    char32_t cp = 0xFFFD;
    std::size_t len = 1;
    const unsigned char b = s[i];
    if (b < 0x80) {
      cp = b;
    } else if ((b >> 5) == 6 && i + 1 < n && (s[i + 1] & 0xC0) == 0x80) {
      cp = (b & 0x1F) << 6 | (s[i + 1] & 0x3F), len = 2;
    } else if ((b >> 4) == 14 && i + 2 < n && (s[i + 1] & 0xC0) == 0x80 && (s[i + 2] & 0xC0) == 0x80) {
      cp = (b & 0x0F) << 12 | (s[i + 1] & 0x3F) << 6 | (s[i + 2] & 0x3F), len = 3;
    } else if ((b >> 3) == 30 && i + 3 < n && (s[i + 1] & 0xC0) == 0x80 && (s[i + 2] & 0xC0) == 0x80 &&
               (s[i + 3] & 0xC0) == 0x80) {
      cp = (b & 0x07) << 18 | (s[i + 1] & 0x3F) << 12 | (s[i + 2] & 0x3F) << 6 | (s[i + 3] & 0x3F), len = 4;
    }
    i += len;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (cp >> 10));
      out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
      out += static_cast<char16_t>(cp);
    }
  }
  return out;
}

std::string EncodeUtf8(const char16_t* w, std::size_t n) {
  std::string out;
  for (std::size_t i = 0; i < n; ++i) {
    char32_t cp = w[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < n && w[i + 1] >= 0xDC00 && w[i + 1] <= 0xDFFF)
      cp = 0x10000 + ((cp - 0xD800) << 10) + (w[++i] - 0xDC00);
    else if (cp >= 0xD800 && cp <= 0xDFFF)
      cp = 0xFFFD;
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | cp >> 6);
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | cp >> 12);
      out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | cp >> 18);
      out += static_cast<char>(0x80 | (cp >> 12 & 0x3F));
      out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  return out;
}

}  // namespace

int MultiByteToWideChar(Uint codePage, Dword, const char* multiByte, int cbMultiByte, Wchar* wide,
                        int cchWideChar) {
  if (sim::TheWorld().Enter("MultiByteToWideChar")) return 0;
  if ((codePage != kGbk && codePage != kCpUtf8) || !multiByte || cbMultiByte == 0 || cchWideChar < 0)
    return 0;
  const std::size_t length =
      cbMultiByte < 0 ? std::strlen(multiByte) + 1 : static_cast<std::size_t>(cbMultiByte);
  const auto* bytes = reinterpret_cast<const unsigned char*>(multiByte);
  const std::u16string out = codePage == kGbk ? DecodeGbk(bytes, length) : DecodeUtf8(bytes, length);
  if (cchWideChar == 0) return static_cast<int>(out.size());
  if (!wide || out.size() > static_cast<std::size_t>(cchWideChar)) return 0;
  std::memcpy(wide, out.data(), out.size() * sizeof(char16_t));
  return static_cast<int>(out.size());
}

int WideCharToMultiByte(Uint codePage, Dword, const Wchar* wide, int cchWideChar, char* multiByte,
                        int cbMultiByte, const char*, Bool* usedDefaultChar) {
  if (sim::TheWorld().Enter("WideCharToMultiByte")) return 0;
  if ((codePage != kGbk && codePage != kCpUtf8) || !wide || cchWideChar == 0 || cbMultiByte < 0) return 0;
  std::size_t length = 0;
  if (cchWideChar < 0) {
    while (wide[length] != 0) ++length;
    ++length;
  } else {
    length = static_cast<std::size_t>(cchWideChar);
  }
  const std::string out = codePage == kGbk ? EncodeGbk(wide, length) : EncodeUtf8(wide, length);
  if (usedDefaultChar) *usedDefaultChar = kFalse;
  if (cbMultiByte == 0) return static_cast<int>(out.size());
  if (!multiByte || out.size() > static_cast<std::size_t>(cbMultiByte)) return 0;
  std::memcpy(multiByte, out.data(), out.size());
  return static_cast<int>(out.size());
}

int lstrlenW(const Wchar* text) {
  sim::TheWorld().Enter("lstrlenW");
  if (!text) return 0;
  int n = 0;
  while (text[n] != 0) ++n;
  return n;
}

}  // namespace win

namespace sim {

std::u16string DecodeCp936(std::string_view text) {
  return win::DecodeGbk(reinterpret_cast<const unsigned char*>(text.data()), text.size());
}

std::string EncodeCp936(std::u16string_view wide) { return win::EncodeGbk(wide.data(), wide.size()); }

std::u16string FoldAscii(std::u16string_view wide) {
  std::u16string out(wide);
  for (auto& unit : out)
    if (unit >= u'A' && unit <= u'Z') unit = static_cast<char16_t>(unit + (u'a' - u'A'));
  return out;
}

}  // namespace sim
