// Path functions of the simulation.
#include <algorithm>

#include "platform/path.h"
#include "platform/sim/sim_text.h"
#include "platform/sim/world.h"

namespace win {

Dword QueryDosDeviceW(const Wchar* deviceName, Wchar* targetPath, Dword maxCount) {
  auto& world = sim::TheWorld();
  if (world.Enter("QueryDosDeviceW") || !deviceName || !targetPath) return 0;
  const std::u16string name = sim::FoldAscii(deviceName);
  for (const auto& [drive, answer] : world.processes.dosDevices) {
    if (sim::FoldAscii(drive) != name) continue;
    if (answer.size() > maxCount) return 0;  // the area is too small
    std::copy(answer.begin(), answer.end(), targetPath);
    return static_cast<Dword>(answer.size());
  }
  return 0;
}

Short GetFileTitleW(const Wchar* file, Wchar* title, Word titleSize) {
  auto& world = sim::TheWorld();
  if (world.Enter("GetFileTitleW") || !file || !title) return -1;
  const std::u16string path(file);
  if (path.empty() || path.find_first_of(u"*[]") != std::u16string::npos) return -1;
  const auto isSeparator = [](char16_t c) { return c == u'\\' || c == u'/' || c == u':'; };
  if (isSeparator(path.back())) return -1;
  const auto start = std::find_if(path.rbegin(), path.rend(), isSeparator).base() - path.begin();
  std::u16string name = path.substr(static_cast<std::size_t>(start));
  // The name as it is shown to the user: without its extension when
  // Explorer hides extensions.
  if (world.registry.ExtensionsHidden()) {
    const auto dot = name.rfind(u'.');
    if (dot != std::u16string::npos && dot > 0) name.resize(dot);
  }
  if (titleSize < name.size() + 1) return static_cast<Short>(name.size() + 1);
  std::copy(name.begin(), name.end(), title);
  title[name.size()] = 0;
  return 0;
}

Dword GetFileAttributesW(const Wchar* fileName) {
  auto& world = sim::TheWorld();
  if (world.Enter("GetFileAttributesW") || !fileName) return kInvalidFileAttributes;
  const sim::FileNode* node = world.files.Find(sim::EncodeCp936(fileName));
  if (!node) return kInvalidFileAttributes;
  const Dword attributes = node->attributes | (node->folder ? kFileAttributeDirectory : 0);
  return attributes ? attributes : kFileAttributeNormal;
}

const Wchar* PathFindExtensionW(const Wchar* path) {
  sim::TheWorld().Enter("PathFindExtensionW");
  if (!path) return nullptr;
  const Wchar* dot = nullptr;
  for (; *path; ++path) {
    if (*path == u'\\' || *path == u' ')
      dot = nullptr;
    else if (*path == u'.')
      dot = path;
  }
  return dot ? dot : path;
}

}  // namespace win
