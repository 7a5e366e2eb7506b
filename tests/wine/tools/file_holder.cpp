// Test tool: holds a file open without sharing, as another program might.
//
//   file_holder FILE [--seconds N]
//
// Creates FILE.held once the file is open, and lets go when FILE.release
// appears or after N seconds (default 120).
#include <windows.h>

#include <string>

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  const std::wstring file = argv[1];
  DWORD seconds = 120;
  if (argc >= 4 && std::wstring(argv[2]) == L"--seconds") seconds = static_cast<DWORD>(_wtoi(argv[3]));
  HANDLE held =
      CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (held == INVALID_HANDLE_VALUE) return 1;
  HANDLE marker =
      CreateFileW((file + L".held").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (marker != INVALID_HANDLE_VALUE) CloseHandle(marker);
  const std::wstring release = file + L".release";
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < seconds * 1000 &&
         GetFileAttributesW(release.c_str()) == INVALID_FILE_ATTRIBUTES)
    Sleep(100);
  CloseHandle(held);
  DeleteFileW((file + L".held").c_str());
  return 0;
}
