// Window functions of the simulation.
#include <algorithm>
#include <cstring>

#include "platform/sim/sim_text.h"
#include "platform/sim/world.h"
#include "platform/window.h"
#include "text/text_ops.h"

namespace win {

namespace {

bool NameMatches(const char* wanted, const std::u16string& actual) {
  return !wanted || sim::FoldAscii(sim::DecodeCp936(wanted)) == sim::FoldAscii(actual);
}

bool FilterMatches(const sim::SimMessage& message, Hwnd window, Uint filterMin, Uint filterMax) {
  if (!IsNull(window) && message.hwnd != window) return false;
  if (filterMin == 0 && filterMax == 0) return true;
  return message.message >= filterMin && message.message <= filterMax;
}

}  // namespace

Hwnd FindWindowExA(Hwnd parent, Hwnd childAfter, const char* className, const char* windowName) {
  auto& world = sim::TheWorld();
  if (world.Enter("FindWindowExA")) return Hwnd{};
  auto& windows = world.windows;
  if (!IsNull(parent) && !windows.Find(parent)) return Hwnd{};
  const auto listed = [&](const sim::SimWindow& w) {
    return IsNull(parent) ? !w.child : (w.child && w.parent == parent);
  };
  auto it = windows.zOrder.begin();
  if (!IsNull(childAfter)) {
    it = std::find_if(windows.zOrder.begin(), windows.zOrder.end(),
                      [&](const sim::SimWindow& w) { return w.handle == childAfter && listed(w); });
    if (it == windows.zOrder.end()) return Hwnd{};
    ++it;
  }
  for (; it != windows.zOrder.end(); ++it)
    if (listed(*it) && NameMatches(className, it->className) && NameMatches(windowName, it->title))
      return it->handle;
  return Hwnd{};
}

Dword GetWindowThreadProcessId(Hwnd window, Dword* processId) {
  auto& world = sim::TheWorld();
  if (world.Enter("GetWindowThreadProcessId")) return 0;
  const sim::SimWindow* found = world.windows.Find(window);
  if (!found) return 0;
  if (processId) *processId = found->processId;
  return found->threadId;
}

Bool IsWindowVisible(Hwnd window) {
  auto& world = sim::TheWorld();
  if (world.Enter("IsWindowVisible")) return kFalse;
  // A window is shown only when its parents are.
  for (const sim::SimWindow* w = world.windows.Find(window); w;
       w = w->child ? world.windows.Find(w->parent) : nullptr)
    if (!w->visible) return kFalse;
  return world.windows.Find(window) ? kTrue : kFalse;
}

Hwnd GetParent(Hwnd window) {
  auto& world = sim::TheWorld();
  if (world.Enter("GetParent")) return Hwnd{};
  const sim::SimWindow* found = world.windows.Find(window);
  return found ? found->parent : Hwnd{};
}

int GetClassNameA(Hwnd window, char* className, int maxCount) {
  auto& world = sim::TheWorld();
  if (world.Enter("GetClassNameA")) return 0;
  const sim::SimWindow* found = world.windows.Find(window);
  if (!found || !className || maxCount <= 0) return 0;
  const std::string name = sim::EncodeCp936(found->className);
  // Whole characters only, with room for the NUL.
  const std::size_t n = text::WholeCharactersWithin(name, static_cast<std::size_t>(maxCount - 1));
  std::memcpy(className, name.data(), n);
  className[n] = '\0';
  return static_cast<int>(n);
}

int GetWindowTextLengthW(Hwnd window) {
  auto& world = sim::TheWorld();
  if (world.Enter("GetWindowTextLengthW")) return 0;
  const sim::SimWindow* found = world.windows.Find(window);
  return found ? static_cast<int>(found->title.size()) : 0;
}

int GetWindowTextW(Hwnd window, Wchar* text, int maxCount) {
  auto& world = sim::TheWorld();
  if (world.Enter("GetWindowTextW")) return 0;
  const sim::SimWindow* found = world.windows.Find(window);
  if (!text || maxCount <= 0) return 0;
  if (!found) {
    text[0] = 0;
    return 0;
  }
  const std::size_t n = std::min(found->title.size(), static_cast<std::size_t>(maxCount - 1));
  std::copy_n(found->title.data(), n, text);
  text[n] = 0;
  return static_cast<int>(n);
}

Bool PeekMessageA(Msg* msg, Hwnd window, Uint filterMin, Uint filterMax, Uint removeMessage) {
  auto& world = sim::TheWorld();
  if (world.Enter("PeekMessageA") || !msg) return kFalse;
  auto& queue = world.windows.queue;
  const auto it = std::find_if(queue.begin(), queue.end(), [&](const sim::SimMessage& m) {
    return FilterMatches(m, window, filterMin, filterMax);
  });
  if (it == queue.end()) return kFalse;
  *msg = Msg{it->hwnd, it->message, it->wParam, it->lParam, static_cast<Dword>(world.clock.now), {}};
  if (removeMessage & kPmRemove) queue.erase(it);
  return kTrue;
}

Bool TranslateMessage(const Msg* msg) {
  auto& world = sim::TheWorld();
  if (world.Enter("TranslateMessage") || !msg) return kFalse;
  ++world.windows.translated;
  constexpr Uint kWmKeyDown = 0x100, kWmSysKeyDown = 0x104;
  return msg->message == kWmKeyDown || msg->message == kWmSysKeyDown ? kTrue : kFalse;
}

std::intptr_t DispatchMessageA(const Msg* msg) {
  auto& world = sim::TheWorld();
  if (world.Enter("DispatchMessageA") || !msg) return 0;
  const sim::SimMessage message{msg->hwnd, msg->message, msg->wParam, msg->lParam};
  world.windows.dispatched.push_back(message);
  if (world.windows.onDispatch) world.windows.onDispatch(message);
  return 0;
}

}  // namespace win
