// Registry functions of the simulation.
#include <cstring>

#include "platform/registry.h"
#include "platform/sim/sim_text.h"
#include "platform/sim/world.h"

namespace win {

namespace {

constexpr Long kErrorInvalidParameter = 87;

std::u16string WideText(const Wchar* text) { return text ? std::u16string(text) : std::u16string(); }

// Full path of an open or predefined key; empty for an unknown handle.
std::u16string PathOf(const sim::RegistryState& registry, Hkey key) {
  if (std::u16string root = sim::RegistryState::RootName(key); !root.empty()) return root;
  const auto it = registry.openKeys.find(Value(key));
  return it == registry.openKeys.end() ? std::u16string() : it->second;
}

}  // namespace

Long RegOpenKeyExW(Hkey key, const Wchar* subKey, Dword, Dword desiredAccess, Hkey* result) {
  auto& world = sim::TheWorld();
  if (world.Enter("RegOpenKeyExW")) return kErrorAccessDenied;
  auto& registry = world.registry;
  const std::u16string base = PathOf(registry, key);
  if (base.empty()) return kErrorInvalidHandle;
  if (!result) return kErrorInvalidParameter;
  const std::u16string sub = WideText(subKey);
  const std::u16string path = sub.empty() ? base : base + u'\\' + sub;
  registry.opens.push_back(sim::RegistryOpen{path, desiredAccess});
  if (!sub.empty() && !registry.KeyExists(path)) return kErrorFileNotFound;
  const std::uintptr_t handle = registry.nextHandle;
  registry.nextHandle += 4;
  registry.openKeys[handle] = sim::FoldAscii(path);
  *result = static_cast<Hkey>(handle);
  return kErrorSuccess;
}

Long RegQueryValueExW(Hkey key, const Wchar* valueName, Dword* reserved, Dword* type, Byte* data,
                      Dword* dataSize) {
  auto& world = sim::TheWorld();
  if (world.Enter("RegQueryValueExW")) return kErrorAccessDenied;
  const auto& registry = world.registry;
  const std::u16string path = PathOf(registry, key);
  if (path.empty()) return kErrorInvalidHandle;
  if (reserved || (data && !dataSize)) return kErrorInvalidParameter;
  const sim::RegValue* value = registry.Value(path, WideText(valueName));
  if (!value) return kErrorFileNotFound;
  if (type) *type = value->type;
  const auto size = static_cast<Dword>(value->data.size());
  if (!data) {
    if (dataSize) *dataSize = size;
    return kErrorSuccess;
  }
  if (*dataSize < size) {
    *dataSize = size;
    return kErrorMoreData;
  }
  if (size) std::memcpy(data, value->data.data(), size);
  *dataSize = size;
  return kErrorSuccess;
}

Long RegCloseKey(Hkey key) {
  auto& world = sim::TheWorld();
  if (world.Enter("RegCloseKey")) return kErrorInvalidHandle;
  if (!sim::RegistryState::RootName(key).empty()) return kErrorSuccess;
  return world.registry.openKeys.erase(Value(key)) ? kErrorSuccess : kErrorInvalidHandle;
}

}  // namespace win
