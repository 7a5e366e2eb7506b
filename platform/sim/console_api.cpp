// Console functions of the simulation.
#include "platform/console.h"
#include "platform/sim/world.h"

namespace win {

namespace {

bool IsConsoleOutput(Handle handle) {
  const auto* entry = sim::TheWorld().handles.Find(handle);
  return entry && entry->kind == sim::HandleKind::ConsoleOutput;
}

void AdvanceCursor(sim::ConsoleState& console, std::string_view bytes) {
  for (char c : bytes) {
    if (c == '\r') {
      console.column = 0;
    } else if (c == '\n') {
      ++console.row;
    } else if (++console.column >= console.width) {
      console.column = 0;
      ++console.row;
    }
    if (console.row >= console.height) console.row = static_cast<Short>(console.height - 1);
  }
}

}  // namespace

Handle GetStdHandle(Dword nStdHandle) {
  auto& world = sim::TheWorld();
  if (world.Enter("GetStdHandle")) return Handle{};
  const sim::HandleKind kind =
      nStdHandle == kStdInputHandle ? sim::HandleKind::ConsoleInput : sim::HandleKind::ConsoleOutput;
  if (nStdHandle != kStdInputHandle && nStdHandle != kStdOutputHandle) return Handle{};
  for (const auto& [value, entry] : world.handles.open)
    if (entry.kind == kind) return static_cast<Handle>(value);
  return Handle{};
}

Bool GetConsoleScreenBufferInfo(Handle console, ConsoleScreenBufferInfo* info) {
  auto& world = sim::TheWorld();
  if (world.Enter("GetConsoleScreenBufferInfo")) return kFalse;
  if (!IsConsoleOutput(console) || !world.console.isConsole || !info) return kFalse;
  const auto& c = world.console;
  info->dwSize = {c.width, c.height};
  info->dwCursorPosition = {c.column, c.row};
  info->wAttributes = c.attribute;
  info->srWindow = {0, 0, static_cast<Short>(c.width - 1), 24};
  info->dwMaximumWindowSize = {c.width, 25};
  return kTrue;
}

Bool SetConsoleCursorPosition(Handle console, Coord position) {
  auto& world = sim::TheWorld();
  if (world.Enter("SetConsoleCursorPosition")) return kFalse;
  auto& c = world.console;
  if (!IsConsoleOutput(console) || !c.isConsole) return kFalse;
  if (position.X < 0 || position.Y < 0 || position.X >= c.width || position.Y >= c.height) return kFalse;
  c.column = position.X;
  c.row = position.Y;
  return kTrue;
}

Bool SetConsoleTextAttribute(Handle console, Word attributes) {
  auto& world = sim::TheWorld();
  if (world.Enter("SetConsoleTextAttribute")) return kFalse;
  if (!IsConsoleOutput(console) || !world.console.isConsole) return kFalse;
  world.console.attribute = attributes;
  world.console.attributeHistory.push_back(attributes);
  return kTrue;
}

Bool FlushFileBuffers(Handle file) {
  auto& world = sim::TheWorld();
  if (world.Enter("FlushFileBuffers")) return kFalse;
  return world.handles.Find(file) ? kTrue : kFalse;
}

// Console part of WriteFile; files are written by the file-system part.
bool WriteConsoleBytes(Handle handle, const void* buffer, Dword bytesToWrite, Dword* bytesWritten) {
  if (!IsConsoleOutput(handle)) return false;
  auto& c = sim::TheWorld().console;
  const std::string bytes(static_cast<const char*>(buffer), buffer ? bytesToWrite : 0);
  if (c.isConsole) {
    c.writes.push_back({bytes, c.attribute, c.column, c.row});
    AdvanceCursor(c, bytes);
  } else {
    c.redirected += bytes;
  }
  if (bytesWritten) *bytesWritten = bytesToWrite;
  return true;
}

}  // namespace win
