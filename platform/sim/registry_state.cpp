#include "platform/sim/registry_state.h"

#include <cstring>

#include "platform/sim/sim_text.h"

namespace sim {

RegistryState::RegistryState() { AddKey(kExplorerAdvancedKey); }

void RegistryState::AddKey(std::u16string_view path) { keys[FoldAscii(path)]; }

void RegistryState::RemoveKey(std::u16string_view path) {
  const std::u16string key = FoldAscii(path);
  std::erase_if(
      keys, [&](const auto& entry) { return entry.first == key || entry.first.starts_with(key + u'\\'); });
}

bool RegistryState::KeyExists(std::u16string_view path) const {
  const std::u16string key = FoldAscii(path);
  for (const auto& [name, values] : keys)
    if (name == key || name.starts_with(key + u'\\')) return true;
  return false;
}

void RegistryState::SetValue(std::u16string_view path, std::u16string_view name, RegValue value) {
  keys[FoldAscii(path)][FoldAscii(name)] = std::move(value);
}

void RegistryState::SetDword(std::u16string_view path, std::u16string_view name, win::Dword value) {
  RegValue v;
  v.type = 4;  // REG_DWORD
  v.data.resize(sizeof value);
  std::memcpy(v.data.data(), &value, sizeof value);
  SetValue(path, name, std::move(v));
}

void RegistryState::RemoveValue(std::u16string_view path, std::u16string_view name) {
  if (auto it = keys.find(FoldAscii(path)); it != keys.end()) it->second.erase(FoldAscii(name));
}

const RegValue* RegistryState::Value(std::u16string_view path, std::u16string_view name) const {
  const auto key = keys.find(FoldAscii(path));
  if (key == keys.end()) return nullptr;
  const auto value = key->second.find(FoldAscii(name));
  return value == key->second.end() ? nullptr : &value->second;
}

void RegistryState::SetHideFileExt(std::optional<win::Dword> value) {
  if (value)
    SetDword(kExplorerAdvancedKey, u"HideFileExt", *value);
  else
    RemoveValue(kExplorerAdvancedKey, u"HideFileExt");
}

bool RegistryState::ExtensionsHidden() const {
  const RegValue* value = Value(kExplorerAdvancedKey, u"HideFileExt");
  if (!value || value->type != 4 || value->data.size() != 4) return false;
  win::Dword number = 0;
  std::memcpy(&number, value->data.data(), sizeof number);
  return number == 1;
}

std::u16string RegistryState::RootName(win::Hkey root) {
  switch (win::Value(root)) {
    case 0x80000000u:
      return u"HKEY_CLASSES_ROOT";
    case 0x80000001u:
      return u"HKEY_CURRENT_USER";
    case 0x80000002u:
      return u"HKEY_LOCAL_MACHINE";
    case 0x80000003u:
      return u"HKEY_USERS";
    default:
      return {};
  }
}

}  // namespace sim
