#include "process/process_image_path.h"

#include <array>
#include <cstring>

#include "platform/handles.h"
#include "platform/memory.h"
#include "platform/path.h"
#include "platform/process.h"
#include "process/text_conversion.h"

namespace process {

namespace {

constexpr win::Dword kAnswerUnits = 260;  // of an area of 261

// The image path bytes of an open process: the MaximumLength bytes of the
// image-name answer, terminator included; empty when it cannot be had.
text::ByteBuffer QueryImageName(win::Handle process) {
  text::ByteBuffer image;
  win::Dword needed = 0;
  if (win::NtQueryInformationProcess(process, win::kProcessImageFileName, nullptr, 0, &needed) !=
      win::kStatusInfoLengthMismatch)
    return image;
  void* block = win::HeapAlloc(win::GetProcessHeap(), win::kHeapZeroMemory, needed);
  if (!block) return image;
  if (win::NtQueryInformationProcess(process, win::kProcessImageFileName, block, needed, &needed) ==
          win::kStatusSuccess &&
      needed >= sizeof(win::UnicodeString)) {
    const auto* head = static_cast<const win::UnicodeString*>(block);
    const auto* start = reinterpret_cast<const std::uint8_t*>(head->Buffer);
    const auto* blockStart = static_cast<const std::uint8_t*>(block);
    // The characters follow the head inside the block; an answer pointing
    // anywhere else is not read.
    const bool inside = start >= blockStart + sizeof(win::UnicodeString) &&
                        start + head->MaximumLength <= blockStart + needed;
    if (head->MaximumLength != 0 && start && inside) image.assign(start, start + head->MaximumLength);
  }
  win::HeapFree(win::GetProcessHeap(), 0, block);
  return image;
}

bool IsAsciiLetter(std::uint16_t unit) {
  return (unit >= u'A' && unit <= u'Z') || (unit >= u'a' && unit <= u'z');
}

std::uint16_t UnitAt(text::ByteView bytes, std::size_t unit) {
  return static_cast<std::uint16_t>(bytes[unit * 2] | bytes[unit * 2 + 1] << 8);
}

// \??\C:\dir\x.exe: the drive-letter path behind the object manager's
// prefix, as some systems answer the image-name query.
bool IsPrefixedDrivePath(text::ByteView path) {
  if (path.size() < 14) return false;
  return UnitAt(path, 0) == u'\\' && UnitAt(path, 1) == u'?' && UnitAt(path, 2) == u'?' &&
         UnitAt(path, 3) == u'\\' && IsAsciiLetter(UnitAt(path, 4)) && UnitAt(path, 5) == u':' &&
         UnitAt(path, 6) == u'\\';
}

}  // namespace

std::string GetProcessImagePath(std::optional<win::Dword> processId) {
  const win::Dword id = processId.value_or(0);
  win::Handle handle{};
  if (id != 0) {
    // The debug privilege opens processes of other users; without the
    // right to it the open is tried under the user's own rights.
    win::Byte wasEnabled = 0;
    win::RtlAdjustPrivilege(win::kSeDebugPrivilege, 1, 0, &wasEnabled);
    handle = win::OpenProcess(win::kProcessQueryInformation, win::kFalse, id);
    win::RtlAdjustPrivilege(win::kSeDebugPrivilege, 0, 0, &wasEnabled);
    if (win::IsNull(handle)) return {};
  } else {
    handle = win::GetCurrentProcess();
  }
  const text::ByteBuffer image = QueryImageName(handle);
  win::CloseHandle(handle);
  return WideToText(DevicePathToDrivePath(image));
}

text::ByteBuffer DevicePathToDrivePath(text::ByteView path) {
  if (IsPrefixedDrivePath(path)) return text::ByteBuffer(path.begin() + 8, path.end());
  std::array<win::Wchar, 3> drive = {0x40, u':', 0};
  std::array<win::Wchar, kAnswerUnits + 1> answer{};
  for (int letter = 0; letter < 26; ++letter) {
    ++drive[0];
    const win::Dword n = win::QueryDosDeviceW(drive.data(), answer.data(), kAnswerUnits);
    // An answer shorter than a name and its NUL holds no device.
    if (n < 2 || n > kAnswerUnits) continue;
    answer[n - 2] = u'\\';  // the device name closed by a backslash
    const std::size_t prefixBytes = (n - 1) * sizeof(win::Wchar);
    if (path.size() >= prefixBytes && std::memcmp(path.data(), answer.data(), prefixBytes) == 0) {
      drive[2] = u'\\';
      text::ByteBuffer out(reinterpret_cast<const std::uint8_t*>(drive.data()),
                           reinterpret_cast<const std::uint8_t*>(drive.data()) + 6);
      out.insert(out.end(), path.begin() + static_cast<std::ptrdiff_t>(prefixBytes), path.end());
      return out;
    }
  }
  return text::ByteBuffer(path.begin(), path.end());
}

}  // namespace process
