// WriteFile of the simulation: console output or an open file.
#include "platform/console.h"
#include "platform/sim/world.h"

namespace win {

bool WriteConsoleBytes(Handle handle, const void* buffer, Dword bytesToWrite, Dword* bytesWritten);

Bool WriteFile(Handle file, const void* buffer, Dword bytesToWrite, Dword* bytesWritten) {
  auto& world = sim::TheWorld();
  if (bytesWritten) *bytesWritten = 0;
  if (world.Enter("WriteFile")) return kFalse;
  if (WriteConsoleBytes(file, buffer, bytesToWrite, bytesWritten)) return kTrue;
  const auto* entry = world.handles.Find(file);
  if (!entry || entry->kind != sim::HandleKind::File) return kFalse;
  sim::FileNode* node = world.files.Find(entry->note);
  if (!node || node->folder) return kFalse;
  const auto* bytes = static_cast<const std::uint8_t*>(buffer);
  if (bytesToWrite > 0 && !bytes) return kFalse;
  node->bytes.insert(node->bytes.end(), bytes, bytes + bytesToWrite);
  if (bytesWritten) *bytesWritten = bytesToWrite;
  return kTrue;
}

}  // namespace win
