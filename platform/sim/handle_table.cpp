#include "platform/sim/handle_table.h"

namespace sim {

win::Handle HandleTable::Open(HandleKind kind, std::uint32_t object, std::string note) {
  const std::uintptr_t value = next_;
  next_ += 4;  // real handles are multiples of four too
  open[value] = HandleEntry{kind, object, std::move(note)};
  return static_cast<win::Handle>(value);
}

bool HandleTable::Close(win::Handle handle) {
  auto it = open.find(win::Value(handle));
  if (it == open.end() || it->second.kind == HandleKind::ConsoleInput ||
      it->second.kind == HandleKind::ConsoleOutput) {
    ++badCloses;
    return false;
  }
  open.erase(it);
  return true;
}

const HandleEntry* HandleTable::Find(win::Handle handle) const {
  auto it = open.find(win::Value(handle));
  return it == open.end() ? nullptr : &it->second;
}

int HandleTable::OpenCount() const {
  int count = 0;
  for (const auto& [value, entry] : open)
    if (entry.kind != HandleKind::ConsoleInput && entry.kind != HandleKind::ConsoleOutput) ++count;
  return count;
}

}  // namespace sim
