// Stand-in game for the tests under Wine: one top-level window that stays
// until the process is ended.
//
//   Thornwickvale.exe [--title TEXT] [--exit-after MS] [--report FILE]
//
// --title       the window's title (default "Thornwickvale")
// --exit-after  ends on its own after MS milliseconds, with exit code 3
// --report      writes, in UTF-8, one "key=value" line each for what the
//               program was started with: show (STARTUPINFO wShowWindow),
//               flags (STARTUPINFO dwFlags), commandLine, directory (the
//               current folder) and image (its own path). The file appears
//               whole, once the window exists.
// Without a display the window cannot be made; the program then just waits.
#include <windows.h>

#include "tests/wine/tools/utf8.h"

#include <shellapi.h>

#include <string>

namespace {

constexpr UINT kNaturalExitCode = 3;
constexpr UINT_PTR kExitTimer = 1;

void WriteReport(const std::wstring& file) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  GetStartupInfoW(&startup);
  wchar_t directory[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, directory);
  wchar_t image[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, image, MAX_PATH);
  std::string report = "show=" + std::to_string(startup.wShowWindow) + "\r\n";
  report += "flags=" + std::to_string(startup.dwFlags) + "\r\n";
  report += "commandLine=" + Utf8(GetCommandLineW()) + "\r\n";
  report += "directory=" + Utf8(directory) + "\r\n";
  report += "image=" + Utf8(image) + "\r\n";
  // Written aside and renamed, so that a reader never sees half of it.
  const std::wstring partial = file + L".partial";
  HANDLE out =
      CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(out, report.data(), static_cast<DWORD>(report.size()), &written, nullptr);
  CloseHandle(out);
  MoveFileExW(partial.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING);
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      if (wParam == kExitTimer) DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(static_cast<int>(kNaturalExitCode));
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  std::wstring title = L"Thornwickvale";
  std::wstring report;
  DWORD exitAfter = 0;
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  for (int i = 1; argv && i + 1 < argc; i += 2) {
    const std::wstring option = argv[i];
    if (option == L"--title")
      title = argv[i + 1];
    else if (option == L"--exit-after")
      exitAfter = static_cast<DWORD>(_wtoi(argv[i + 1]));
    else if (option == L"--report")
      report = argv[i + 1];
  }
  if (argv) LocalFree(argv);

  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = WindowProcedure;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = L"ThornwickvaleStandIn";
  RegisterClassW(&windowClass);
  HWND window = CreateWindowExW(0, windowClass.lpszClassName, title.c_str(), WS_OVERLAPPEDWINDOW,
                                CW_USEDEFAULT, CW_USEDEFAULT, 320, 200, nullptr, nullptr, instance, nullptr);
  if (window) {
    ShowWindow(window, showCommand);
    if (exitAfter) SetTimer(window, kExitTimer, exitAfter, nullptr);
  }
  if (!report.empty()) WriteReport(report);

  if (!window) {
    Sleep(exitAfter ? exitAfter : INFINITE);
    return static_cast<int>(kNaturalExitCode);
  }
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}
