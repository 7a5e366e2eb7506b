// The simulated registry: keys by full path ("HKEY_CURRENT_USER\SOFTWARE\..."),
// names compared without regard to the case of A-Z, and the handles of
// the keys the code under test opened.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/types.h"

namespace sim {

inline constexpr char16_t kExplorerAdvancedKey[] =
    u"HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";

struct RegValue {
  win::Dword type = 0;
  std::vector<std::uint8_t> data;
};

struct RegistryOpen {
  std::u16string path;  // full path of the key asked for
  win::Dword access = 0;
};

struct RegistryState {
  RegistryState();

  // Folded full key path -> folded value name -> value. A key exists when
  // it or a key below it is listed.
  std::map<std::u16string, std::map<std::u16string, RegValue>> keys;
  std::map<std::uintptr_t, std::u16string> openKeys;  // handle -> folded full path
  std::vector<RegistryOpen> opens;                    // every RegOpenKeyExW, in order

  void AddKey(std::u16string_view path);
  void RemoveKey(std::u16string_view path);  // with the keys below it
  bool KeyExists(std::u16string_view path) const;
  void SetValue(std::u16string_view path, std::u16string_view name, RegValue value);
  void SetDword(std::u16string_view path, std::u16string_view name, win::Dword value);
  void RemoveValue(std::u16string_view path, std::u16string_view name);
  const RegValue* Value(std::u16string_view path, std::u16string_view name) const;

  // Explorer's "hide extensions of known file types": absent or a number.
  void SetHideFileExt(std::optional<win::Dword> value);
  // 1 only when the value is a number equal to 1, as Explorer reads it.
  bool ExtensionsHidden() const;

  // Name of a predefined root key; empty for any other handle.
  static std::u16string RootName(win::Hkey root);

  std::uintptr_t nextHandle = 0x3000;
};

}  // namespace sim
