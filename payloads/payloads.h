// The four files the installer carries inside its own image. Each is handed
// out in place: the bytes are never copied, changed or checked.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace payloads {

struct PatchPayload {
  std::string_view name;  // the carried file's name
  std::span<const std::uint8_t> bytes;
};

PatchPayload AssemblyPayload();    // Thornwickvale_Data\Managed\Assembly-CSharp.dll
PatchPayload ExecutablePayload();  // Thornwickvale.exe
PatchPayload BeforePicture();      // 补丁对比图\安装前.PNG
PatchPayload AfterPicture();       // 补丁对比图\安装后.PNG

}  // namespace payloads
