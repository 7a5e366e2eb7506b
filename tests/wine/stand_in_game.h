// The stand-in game (tests/wine/game) started for a test, and other helpers
// of the tests that run against the real system.
#pragma once

#include "platform/win32/windows_api.h"

#include <string>

namespace wine_test {

// Code page 936 text of a wide string, as the program's texts are.
inline std::string Cp936(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int n =
      WideCharToMultiByte(936, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(936, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
  return out;
}

inline std::wstring OwnExePath() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return path;
}

// Whether windows can be shown: Wine needs a display for them.
inline bool HasDisplay() {
  wchar_t display[256] = {};
  return GetEnvironmentVariableW(L"DISPLAY", display, 256) > 0;
}

// The stand-in game's executable; the build passes its host path and Wine
// maps the host root to Z:.
inline std::wstring StandInGamePath() {
  std::wstring path = L"Z:";
  for (const char* c = TW_STAND_IN_GAME_EXE; *c; ++c) path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
  return path;
}

// A running stand-in game, ended (if still running) when it goes away.
class StandInGame {
 public:
  // `arguments` follow the program's name on its command line. With a
  // display, waits until the game's window exists.
  explicit StandInGame(const std::wstring& arguments = L"") {
    std::wstring commandLine = L"\"" + StandInGamePath() + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info_))
      return;
    CloseHandle(info_.hThread);
    info_.hThread = nullptr;
    if (!HasDisplay()) return;
    WaitForInputIdle(info_.hProcess, 10000);
    for (int i = 0; i < 200 && !window_; ++i) {
      EnumWindows(&StandInGame::Collect, reinterpret_cast<LPARAM>(this));
      if (!window_) Sleep(50);
    }
  }
  ~StandInGame() {
    if (!info_.hProcess) return;
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(info_.hProcess, 99);
      WaitForSingleObject(info_.hProcess, 10000);
    }
    CloseHandle(info_.hProcess);
  }
  StandInGame(const StandInGame&) = delete;
  StandInGame& operator=(const StandInGame&) = delete;

  bool Started() const { return info_.hProcess != nullptr; }
  DWORD Id() const { return info_.dwProcessId; }
  HANDLE Process() const { return info_.hProcess; }
  HWND Window() const { return window_; }  // null without a display

  // The exit code once it has ended within `milliseconds`, else STILL_ACTIVE.
  DWORD WaitForExit(DWORD milliseconds) const {
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(info_.hProcess, milliseconds) == WAIT_OBJECT_0)
      GetExitCodeProcess(info_.hProcess, &code);
    return code;
  }

 private:
  static BOOL CALLBACK Collect(HWND window, LPARAM self) {
    auto* game = reinterpret_cast<StandInGame*>(self);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    if (owner == game->info_.dwProcessId && lstrcmpW(className, L"ThornwickvaleStandIn") == 0) {
      game->window_ = window;
      return FALSE;
    }
    return TRUE;
  }

  PROCESS_INFORMATION info_{};
  HWND window_ = nullptr;
};

}  // namespace wine_test
