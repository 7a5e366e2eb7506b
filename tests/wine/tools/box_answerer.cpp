// Test tool: waits for message boxes on the desktop, records each box's
// title and text, and presses the button the scenario names.
//
//   box_answerer --log FILE [--answers ok,cancel,...] [--seconds N] [--windows FILE2]
//
// Each box found is logged as one JSON line {"title": ..., "text": ...}
// (UTF-8), then answered with the next answer of the list ("ok" once the
// list is used up). A box without the named button gets its only button.
// Ends after N seconds (default 120) or when FILE.stop appears; then, with
// --windows, writes one JSON line per visible top-level window: its class,
// title, process id and the process's image path.
#include <windows.h>

#include "tests/wine/tools/utf8.h"

#include <set>
#include <string>
#include <vector>

namespace {

std::string Json(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20) {
          char esc[8];
          wsprintfA(esc, "\\u%04x", c);
          out += esc;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

std::wstring WindowText(HWND window) {
  const int n = GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
  GetWindowTextW(window, text.data(), n + 1);
  text.resize(static_cast<std::size_t>(n));
  return text;
}

BOOL CALLBACK CollectBox(HWND window, LPARAM param) {
  wchar_t cls[64] = {};
  GetClassNameW(window, cls, 64);
  if (lstrcmpW(cls, L"#32770") == 0 && IsWindowVisible(window))
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
  return TRUE;
}

std::vector<HWND> MessageBoxes() {
  std::vector<HWND> boxes;
  EnumWindows(CollectBox, reinterpret_cast<LPARAM>(&boxes));
  return boxes;
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM param) {
  if (IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
  return TRUE;
}

void WriteWindows(const std::wstring& file) {
  std::vector<HWND> windows;
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
  std::string lines;
  for (HWND window : windows) {
    wchar_t cls[256] = {};
    GetClassNameW(window, cls, 256);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    std::wstring image;
    if (HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid)) {
      wchar_t path[MAX_PATH] = {};
      DWORD size = MAX_PATH;
      if (QueryFullProcessImageNameW(process, 0, path, &size)) image = path;
      CloseHandle(process);
    }
    char id[16];
    wsprintfA(id, "%lu", pid);
    lines += "{\"class\": " + Json(Utf8(cls)) + ", \"title\": " + Json(Utf8(WindowText(window))) +
             ", \"pid\": " + id + ", \"image\": " + Json(Utf8(image)) + "}\n";
  }
  HANDLE out = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (out == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(out, lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr);
  CloseHandle(out);
}

bool Press(HWND box, int id) {
  HWND button = GetDlgItem(box, id);
  if (!button) return false;
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::wstring log, windowsLog;
  std::vector<std::wstring> answers;
  DWORD seconds = 120;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::wstring option = argv[i];
    if (option == L"--log") log = argv[i + 1];
    if (option == L"--windows") windowsLog = argv[i + 1];
    if (option == L"--seconds") seconds = static_cast<DWORD>(_wtoi(argv[i + 1]));
    if (option == L"--answers") {
      std::wstring list = argv[i + 1];
      std::size_t start = 0;
      while (start <= list.size()) {
        const std::size_t comma = list.find(L',', start);
        answers.push_back(
            list.substr(start, comma == std::wstring::npos ? std::wstring::npos : comma - start));
        if (comma == std::wstring::npos) break;
        start = comma + 1;
      }
    }
  }
  if (log.empty()) return 2;
  const std::wstring stop = log + L".stop";
  HANDLE out = CreateFileW(log.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (out == INVALID_HANDLE_VALUE) return 2;

  std::set<HWND> answered;
  std::size_t next = 0;
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < seconds * 1000 &&
         GetFileAttributesW(stop.c_str()) == INVALID_FILE_ATTRIBUTES) {
    for (HWND box : MessageBoxes()) {
      if (answered.count(box)) continue;
      Sleep(300);  // let the box finish drawing its text
      HWND message = GetDlgItem(box, 0xFFFF);
      const std::string line = "{\"title\": " + Json(Utf8(WindowText(box))) +
                               ", \"text\": " + Json(Utf8(message ? WindowText(message) : L"")) + "}\n";
      DWORD written = 0;
      WriteFile(out, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
      FlushFileBuffers(out);
      const std::wstring answer = next < answers.size() ? answers[next] : L"ok";
      ++next;
      const int wanted = answer == L"cancel" ? IDCANCEL : IDOK;
      if (!Press(box, wanted) && !Press(box, IDOK) && !Press(box, IDCANCEL))
        PostMessageW(box, WM_CLOSE, 0, 0);
      answered.insert(box);
    }
    Sleep(100);
  }
  CloseHandle(out);
  if (!windowsLog.empty()) WriteWindows(windowsLog);
  return 0;
}
