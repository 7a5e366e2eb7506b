#include "platform/sim/window_state.h"

namespace sim {

SimWindow& WindowState::Add(std::u16string title, win::Dword processId, std::u16string className) {
  SimWindow window;
  window.handle = static_cast<win::Hwnd>(nextHandle_);
  nextHandle_ += 0x10;
  window.title = std::move(title);
  window.className = std::move(className);
  window.processId = processId;
  window.threadId = processId + 1;
  zOrder.push_back(std::move(window));
  return zOrder.back();
}

SimWindow* WindowState::Find(win::Hwnd handle) {
  if (win::IsNull(handle)) return nullptr;
  for (auto& window : zOrder)
    if (window.handle == handle) return &window;
  return nullptr;
}

void WindowState::RemoveWindowsOf(win::Dword processId) {
  std::erase_if(zOrder, [processId](const SimWindow& window) { return window.processId == processId; });
}

}  // namespace sim
