#include "process/path_parts.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/path.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "process/text_conversion.h"
#include "text/text_ops.h"

namespace process {

namespace {

constexpr std::size_t kTitleUnits = 32768;  // 65,536 bytes
constexpr win::Word kTitleOffered = 0x7FFF;
constexpr const char* kExplorerAdvanced = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";

}  // namespace

std::string GetPathDirectory(std::string_view path) {
  std::string_view rest = text::UpToNul(path);
  if (!rest.empty() && rest.back() == '\\') rest.remove_suffix(1);
  const auto last = text::FindLast(rest, "\\");
  return last ? std::string(rest.substr(0, *last + 1)) : std::string();
}

std::string GetPathFileName(std::string_view path) {
  const text::ByteBuffer wide = TextToWide(path);
  const win::Wchar* widePath = WidePointer(wide);
  std::vector<win::Wchar> title(kTitleUnits, 0);
  if (win::GetFileTitleW(widePath, title.data(), kTitleOffered) != 0) return {};

  // A path that cannot be examined has every attribute bit set, the folder
  // bit included: it gets no extension either.
  if (!(win::GetFileAttributesW(widePath) & win::kFileAttributeDirectory) &&
      ReadRegistryDword(win::kHkeyCurrentUser, kExplorerAdvanced, "HideFileExt", IsSystem64Bit()) == 1) {
    const text::ByteBuffer extension = WideStringAt(win::PathFindExtensionW(widePath));
    if (!extension.empty()) {
      // The title lacks the extension that Explorer hides: put it back,
      // growing the area when the two do not fit in it.
      const std::size_t length =
          static_cast<std::size_t>(std::find(title.begin(), title.end(), 0) - title.begin());
      const std::size_t units = extension.size() / sizeof(win::Wchar);  // terminator included
      if (length + units > title.size()) title.resize(length + units, 0);
      std::memcpy(title.data() + length, extension.data(), units * sizeof(win::Wchar));
    }
  }
  const text::ByteView area(reinterpret_cast<const std::uint8_t*>(title.data()),
                            title.size() * sizeof(win::Wchar));
  return WideToText(CutWideAtNul(area, true));
}

bool IsSystem64Bit() {
  const win::Hmodule kernel = win::GetModuleHandleA("kernel32.dll");
  if (win::IsNull(kernel)) return false;
  const auto query = reinterpret_cast<win::GetSystemWow64DirectoryAProc>(
      win::GetProcAddress(kernel, "GetSystemWow64DirectoryA"));
  if (!query) return false;
  std::string folder(255, ' ');  // and its closing NUL
  return query(folder.data(), 255) > 0;
}

win::Dword ReadRegistryDword(win::Hkey root, std::string_view subKey, std::string_view valueName,
                             bool use64BitView) {
  if (win::IsNull(root)) return 0;
  const win::Dword access = win::kKeyQueryValue | (use64BitView ? win::kKeyWow6464Key : win::kKeyWow6432Key);
  const text::ByteBuffer wideKey = TextToWide(subKey);
  win::Hkey key{};
  if (win::RegOpenKeyExW(root, WidePointer(wideKey), 0, access, &key) != win::kErrorSuccess) return 0;

  const text::ByteBuffer wideName = TextToWide(valueName);
  const win::Wchar* name = WidePointer(wideName);
  win::Dword type = 0;
  win::Dword size = 0;
  win::Dword value = 0;
  if (win::RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) == win::kErrorSuccess) {
    // Read into an area of the data's own size, so that longer data never
    // runs past the number.
    std::vector<win::Byte> data(std::max<win::Dword>(size, sizeof value), 0);
    if (win::RegQueryValueExW(key, name, nullptr, &type, data.data(), &size) == win::kErrorSuccess)
      std::memcpy(&value, data.data(), sizeof value);
  }
  win::RegCloseKey(key);
  return value;
}

}  // namespace process
