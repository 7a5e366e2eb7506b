// Simulated windows, listed in Z order (topmost first), and the message
// queue of the thread under test.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/types.h"

namespace sim {

struct SimWindow {
  win::Hwnd handle{};
  std::u16string title;
  std::u16string className;
  win::Dword processId = 0;
  win::Dword threadId = 0;
  bool visible = true;
  bool child = false;  // a child window: not among the top-level windows
  win::Hwnd parent{};  // what GetParent answers: a child's parent, a pop-up's owner
};

struct SimMessage {
  win::Hwnd hwnd{};
  win::Uint message = 0;
  std::uintptr_t wParam = 0;
  std::intptr_t lParam = 0;
};

struct WindowState {
  // Z order, topmost first; Add puts a window below those already there.
  // A deque, so references stay valid as windows are added.
  std::deque<SimWindow> zOrder;
  std::deque<SimMessage> queue;  // messages waiting for the thread under test
  std::vector<SimMessage> dispatched;
  int translated = 0;
  // The window procedure: runs for every dispatched message.
  std::function<void(const SimMessage&)> onDispatch;

  SimWindow& Add(std::u16string title, win::Dword processId, std::u16string className = u"GameWindowClass");
  SimWindow* Find(win::Hwnd handle);
  void Post(win::Uint message, win::Hwnd hwnd = {}) { queue.push_back(SimMessage{hwnd, message, 0, 0}); }
  // A process that ends takes its windows with it.
  void RemoveWindowsOf(win::Dword processId);

 private:
  std::uintptr_t nextHandle_ = 0x10010;
};

}  // namespace sim
