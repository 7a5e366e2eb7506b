// The full drive-letter path of a running process's executable.
#pragma once

#include <optional>
#include <string>

#include "platform/types.h"
#include "text/byte_buffer.h"

namespace process {

// Code page 936 text: the drive-letter path; the NT device form when no
// drive letter names the device; empty when the process cannot be opened
// or asked. Left out or 0: the calling process itself.
std::string GetProcessImagePath(std::optional<win::Dword> processId = std::nullopt);

// A wide path in NT device form (\Device\HarddiskVolume3\...) with the
// device replaced by the first drive letter from A to Z that names it;
// unchanged when none does. A path in the \??\C:\ form just loses "\??\".
text::ByteBuffer DevicePathToDrivePath(text::ByteView path);

}  // namespace process
