// ConsoleWrite against the real console API when standard output is not a
// console: nothing is written and the write reports false.
#include <gtest/gtest.h>

#include "installer/console/console_writer.h"
#include "platform/win32/windows_api.h"

namespace {

class StdoutRedirect {
 public:
  explicit StdoutRedirect(::HANDLE target) : saved_(::GetStdHandle(STD_OUTPUT_HANDLE)) {
    ::SetStdHandle(STD_OUTPUT_HANDLE, target);
  }
  ~StdoutRedirect() { ::SetStdHandle(STD_OUTPUT_HANDLE, saved_); }

 private:
  ::HANDLE saved_;
};

TEST(ConsoleWriteRedirected, ToAFileWritesNothing) {
  wchar_t folder[MAX_PATH], path[MAX_PATH];
  ASSERT_NE(::GetTempPathW(MAX_PATH, folder), 0u);
  ASSERT_NE(::GetTempFileNameW(folder, L"cw", 0, path), 0u);
  ::HANDLE file = ::CreateFileW(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  {
    StdoutRedirect redirect(file);
    const auto writer = installer::ConsoleWriter::Create();
    EXPECT_FALSE(installer::ConsoleWrite(writer, std::nullopt, std::nullopt, false, 11, 1, "结束进程 1\r\n"));
  }
  EXPECT_EQ(::GetFileSize(file, nullptr), 0u);
  ::CloseHandle(file);
  ::DeleteFileW(path);
}

TEST(ConsoleWriteRedirected, ToAPipeWritesNothing) {
  ::HANDLE readEnd = nullptr, writeEnd = nullptr;
  ASSERT_TRUE(::CreatePipe(&readEnd, &writeEnd, nullptr, 0));
  {
    StdoutRedirect redirect(writeEnd);
    const auto writer = installer::ConsoleWriter::Create();
    EXPECT_FALSE(installer::ConsoleWrite(writer, std::nullopt, std::nullopt, false, 16, 6, "x\r\n"));
  }
  ::DWORD waiting = 0;
  ASSERT_TRUE(::PeekNamedPipe(readEnd, nullptr, 0, nullptr, &waiting, nullptr));
  EXPECT_EQ(waiting, 0u);
  ::CloseHandle(writeEnd);
  ::CloseHandle(readEnd);
}

}  // namespace
