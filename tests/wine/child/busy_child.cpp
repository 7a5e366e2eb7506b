// A program that never waits for input, for the tests under Wine:
//
//   busy_child.exe [--hold FILE] [--busy MS]
//
// --hold  opens FILE for reading without sharing it, then creates FILE.held
//         to say so; the file stays open until the program ends
// --busy  stays busy (no message queue, no input wait) for MS milliseconds
//         before it ends (default 3000), with exit code 0
#include <windows.h>

#include <shellapi.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  std::wstring hold;
  DWORD busy = 3000;
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  for (int i = 1; argv && i + 1 < argc; i += 2) {
    const std::wstring option = argv[i];
    if (option == L"--hold")
      hold = argv[i + 1];
    else if (option == L"--busy")
      busy = static_cast<DWORD>(_wtoi(argv[i + 1]));
  }
  if (argv) LocalFree(argv);

  HANDLE held = INVALID_HANDLE_VALUE;
  if (!hold.empty()) {
    held = CreateFileW(hold.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (held == INVALID_HANDLE_VALUE) return 1;
    HANDLE marker = CreateFileW((hold + L".held").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (marker != INVALID_HANDLE_VALUE) CloseHandle(marker);
  }
  Sleep(busy);
  if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
  return 0;
}
