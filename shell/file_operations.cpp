#include "shell/file_operations.h"

#include <memory>
#include <string>

#include "platform/console.h"
#include "platform/file.h"
#include "platform/handles.h"
#include "platform/memory.h"
#include "process/text_conversion.h"
#include "text/text_ops.h"

namespace shell {

namespace {

// A text as the narrow platform functions take it: NUL-terminated.
std::string Terminated(std::string_view path) { return std::string(text::UpToNul(path)); }

struct LocalBlockFree {
  void operator()(void* block) const { win::LocalFree(block); }
};
using LocalBlock = std::unique_ptr<void, LocalBlockFree>;

}  // namespace

bool RemoveFile(std::string_view path) { return win::DeleteFileA(Terminated(path).c_str()) != 0; }

bool CreateFolderTree(std::string_view path) {
  const text::ByteBuffer wide = process::TextToWide(path);
  // Fewer than three characters (such as "D:") leave nothing to create.
  if (wide.size() >= 8) {
    const LocalBlock work(win::LocalAlloc(win::kLptr, wide.size() + 2));
    if (work) {
      const auto* units = reinterpret_cast<const win::Wchar*>(wide.data());
      auto* built = static_cast<win::Wchar*>(work.get());
      int separators = 0;
      for (std::size_t i = 0;; ++i) {
        const win::Wchar unit = units[i] == u'/' ? u'\\' : units[i];
        if (unit == 0) {
          win::CreateDirectoryW(built, nullptr);
          break;
        }
        // The part before the first separator is the drive: nothing to create.
        if (unit == u'\\' && separators++ > 0) win::CreateDirectoryW(built, nullptr);
        built[i] = unit;
      }
    }
  }
  return IsFolder(path);
}

bool IsFolder(std::string_view path) {
  const text::ByteBuffer wide = process::TextToWide(path);
  if (wide.empty()) return false;
  return win::PathIsDirectoryW(process::WidePointer(wide)) ==
         static_cast<win::Bool>(win::kFileAttributeDirectory);
}

bool WriteFileBytes(std::string_view path, std::initializer_list<text::ByteView> buffers) {
  const std::string name = Terminated(path);
  if (name.empty()) return false;
  const win::Handle file = win::CreateFileA(name.c_str(), win::kGenericWrite, 0, nullptr, win::kCreateAlways,
                                            win::kFileAttributeNormal, win::Handle{});
  if (win::IsNull(file)) return false;
  bool written = true;
  for (const text::ByteView buffer : buffers) {
    if (buffer.empty()) continue;
    win::Dword done = 0;
    if (!win::WriteFile(file, text::DataOrNull(buffer), static_cast<win::Dword>(buffer.size()), &done) ||
        done != buffer.size()) {
      written = false;
      break;
    }
  }
  const bool closed = win::CloseHandle(file) != 0;
  return written && closed;
}

bool RenameFile(std::string_view from, std::string_view to, bool replaceExisting) {
  return win::MoveFileExA(Terminated(from).c_str(), Terminated(to).c_str(),
                          replaceExisting ? win::kMovefileReplaceExisting : 0) != 0;
}

}  // namespace shell
