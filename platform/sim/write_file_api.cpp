// WriteFile of the simulation: console output or an open file.
#include <algorithm>

#include "platform/console.h"
#include "platform/file.h"
#include "platform/sim/world.h"

namespace win {

bool WriteConsoleBytes(Handle handle, const void* buffer, Dword bytesToWrite, Dword* bytesWritten);

Bool WriteFile(Handle file, const void* buffer, Dword bytesToWrite, Dword* bytesWritten) {
  auto& world = sim::TheWorld();
  if (bytesWritten) *bytesWritten = 0;
  if (world.Enter("WriteFile")) return kFalse;
  if (WriteConsoleBytes(file, buffer, bytesToWrite, bytesWritten)) return kTrue;
  const auto* entry = world.handles.Find(file);
  if (!entry || entry->kind != sim::HandleKind::File || !(entry->object & kGenericWrite)) return kFalse;
  sim::FileNode* node = world.files.Find(entry->note);
  if (!node || node->folder) return kFalse;
  const auto* bytes = static_cast<const std::uint8_t*>(buffer);
  if (bytesToWrite > 0 && !bytes) return kFalse;

  std::size_t& position = world.files.positions[Value(file)];
  std::size_t room = bytesToWrite;
  const sim::FileNode* limits[] = {node, world.files.Parent(entry->note)};
  for (const sim::FileNode* limited : limits)
    if (limited && limited->sizeLimit)
      room = std::min(room, *limited->sizeLimit - std::min(*limited->sizeLimit, position));
  if (node->bytes.size() < position + room) node->bytes.resize(position + room);
  std::copy(bytes, bytes + room, node->bytes.begin() + static_cast<std::ptrdiff_t>(position));
  position += room;
  if (bytesWritten) *bytesWritten = static_cast<Dword>(room);
  return room == bytesToWrite ? kTrue : kFalse;  // the rest did not fit
}

}  // namespace win
