// Arranging the system for contract tests: the same request made of the
// simulation on the host and of the real system under Wine, so that one
// table of the real platform's answers runs against both faces.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/types.h"

#ifdef _WIN32
#include "platform/win32/windows_api.h"
#else
#include "platform/sim/world.h"
#endif

namespace contract {

inline constexpr char kTestKey[] = "Software\\ThornwickvaleContract";
inline constexpr char16_t kTestKeyWide[] = u"Software\\ThornwickvaleContract";

struct WindowPlan {
  std::u16string title;
  std::u16string className = u"TwContractClass";
  bool visible = false;  // shown windows cost Wine a wait when they go
  win::Hwnd owner{};     // an owned pop-up when given
};

#ifdef _WIN32

inline std::string Narrow(const std::wstring& wide) {
  const int n =
      WideCharToMultiByte(936, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(936, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
  return out;
}
inline const wchar_t* W(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

inline std::string OwnExePath() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return Narrow(path);
}

inline void Reset() {}

inline void PutTestValue(const std::u16string& name, win::Dword type, const std::vector<std::uint8_t>& data) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, W(kTestKeyWide), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  RegSetValueExW(key, W(name), 0, type, data.data(), static_cast<DWORD>(data.size()));
  RegCloseKey(key);
}
inline void RemoveTestKey() { RegDeleteTreeW(HKEY_CURRENT_USER, W(kTestKeyWide)); }

inline std::vector<HWND>& MadeWindows() {
  static std::vector<HWND> windows;
  return windows;
}

inline LRESULT CALLBACK ContractWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

// Null when the system cannot make windows (Wine without a display).
inline win::Hwnd MakeWindow(const WindowPlan& plan) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = ContractWindowProcedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = W(plan.className);
  RegisterClassW(&windowClass);  // fails harmlessly when already registered
  const DWORD style =
      (win::IsNull(plan.owner) ? WS_OVERLAPPEDWINDOW : WS_POPUP) | (plan.visible ? WS_VISIBLE : 0);
  HWND window = CreateWindowExW(0, W(plan.className), W(plan.title), style, 10, 10, 200, 100,
                                reinterpret_cast<HWND>(win::Value(plan.owner)), nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  if (window) MadeWindows().push_back(window);
  return static_cast<win::Hwnd>(reinterpret_cast<std::uintptr_t>(window));
}
inline void DestroyMadeWindows() {
  for (auto it = MadeWindows().rbegin(); it != MadeWindows().rend(); ++it) DestroyWindow(*it);
  MadeWindows().clear();
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

inline void PostToOwnThread(win::Uint message) { PostThreadMessageW(GetCurrentThreadId(), message, 7, 9); }

#else

inline std::string OwnExePath() { return "C:\\Users\\player\\Downloads\\ThornwickvalePatch.exe"; }

inline void Reset() { sim::ResetWorld(); }

inline void PutTestValue(const std::u16string& name, win::Dword type, const std::vector<std::uint8_t>& data) {
  sim::TheWorld().registry.SetValue(u"HKEY_CURRENT_USER\\" + std::u16string(kTestKeyWide), name,
                                    sim::RegValue{type, data});
}
inline void RemoveTestKey() {
  sim::TheWorld().registry.RemoveKey(u"HKEY_CURRENT_USER\\" + std::u16string(kTestKeyWide));
}

inline win::Hwnd MakeWindow(const WindowPlan& plan) {
  auto& world = sim::TheWorld();
  auto& window = world.windows.Add(plan.title, world.processes.selfId, plan.className);
  window.visible = plan.visible;
  window.parent = plan.owner;
  return window.handle;
}
inline void DestroyMadeWindows() {}

inline void PostToOwnThread(win::Uint message) {
  sim::TheWorld().windows.queue.push_back(sim::SimMessage{win::Hwnd{}, message, 7, 9});
}

#endif

inline std::string OwnExeName() {
  const std::string path = OwnExePath();
  return path.substr(path.rfind('\\') + 1);
}
inline std::string OwnFolder() {
  const std::string path = OwnExePath();
  return path.substr(0, path.rfind('\\'));
}

// Every contract test starts from a fresh simulation (host) and leaves the
// real system as it found it (Wine).
class ContractTest : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }
  void TearDown() override {
    DestroyMadeWindows();
    RemoveTestKey();
  }
};

}  // namespace contract
