// Files and folders as both faces answer them: the answers are the real
// platform's (checked under Wine in a fresh folder of the temporary folder),
// and the simulation must give the same.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/console.h"
#include "platform/file.h"
#include "platform/handles.h"
#include "process/text_conversion.h"
#include "tests/support/bytes.h"
#include "text/text_ops.h"

#ifdef _WIN32
#include "platform/win32/windows_api.h"
#else
#include "platform/sim/world.h"
#endif

namespace {

using testing_bytes::Bytes;

constexpr win::Dword kReadWrite = win::kGenericRead | win::kGenericWrite;
constexpr win::Dword kShareAll = win::kFileShareRead | win::kFileShareWrite | win::kFileShareDelete;

class FileContract : public ::testing::Test {
 public:  // the arranging helpers are called from the cases' lambdas
  void SetUp() override {
#ifdef _WIN32
    wchar_t temp[MAX_PATH] = {};
    ASSERT_GT(::GetTempPathW(MAX_PATH, temp), 0u);
    std::wstring root = std::wstring(temp) + L"tw-file-contract-" + std::to_wstring(::GetCurrentProcessId());
    RemoveTree(root);
    ASSERT_TRUE(::CreateDirectoryW(root.c_str(), nullptr));
    root_ = win::native::WideToCp936(root);
#else
    sim::ResetWorld();
    root_ = "C:\\Users\\player\\AppData\\Local\\Temp\\tw-file-contract";
    sim::TheWorld().files.AddFolder(root_);
#endif
  }
  void TearDown() override {
    for (win::Handle handle : held_) win::CloseHandle(handle);
#ifdef _WIN32
    RemoveTree(win::native::Cp936ToWide(root_));
#endif
  }

  std::string At(const std::string& relative) const { return root_ + "\\" + relative; }

  // What the file holds now; nothing when it does not exist.
  std::optional<text::ByteBuffer> Read(const std::string& relative) const {
#ifdef _WIN32
    const std::wstring path = win::native::Cp936ToWide(At(relative));
    ::HANDLE file =
        ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      // Held without sharing: it exists, with contents we cannot see.
      if (::GetLastError() == ERROR_SHARING_VIOLATION) return Bytes("<held>");
      return std::nullopt;
    }
    text::ByteBuffer bytes;
    std::uint8_t piece[4096];
    ::DWORD got = 0;
    while (::ReadFile(file, piece, sizeof piece, &got, nullptr) && got > 0)
      bytes.insert(bytes.end(), piece, piece + got);
    ::CloseHandle(file);
    return bytes;
#else
    const sim::FileNode* node = sim::TheWorld().files.Find(At(relative));
    if (!node || node->folder) return std::nullopt;
    return node->bytes;
#endif
  }

  // Arranging, through the layer itself.
  void MakeFile(const std::string& relative, std::string_view content) {
    const win::Handle file = win::CreateFileA(At(relative).c_str(), win::kGenericWrite, 0, nullptr,
                                              win::kCreateAlways, win::kFileAttributeNormal, win::Handle{});
    ASSERT_FALSE(win::IsNull(file)) << relative;
    win::Dword written = 0;
    ASSERT_TRUE(win::WriteFile(file, content.data(), static_cast<win::Dword>(content.size()), &written));
    ASSERT_TRUE(win::CloseHandle(file));
  }
  void MakeFolder(const std::string& relative) {
    ASSERT_TRUE(win::CreateDirectoryW(process::WidePointer(process::TextToWide(At(relative))), nullptr))
        << relative;
  }
  // Keeps the file open until the test ends, as another program would.
  void Hold(const std::string& relative, win::Dword access, win::Dword share) {
    const win::Handle handle =
        win::CreateFileA(At(relative).c_str(), access, share, nullptr, win::kOpenExisting, 0, win::Handle{});
    ASSERT_FALSE(win::IsNull(handle)) << relative;
    held_.push_back(handle);
  }
  void ReleaseAll() {
    for (win::Handle handle : held_) win::CloseHandle(handle);
    held_.clear();
  }
  bool FolderThere(const std::string& relative) {
    return win::PathIsDirectoryW(process::WidePointer(process::TextToWide(At(relative)))) != 0;
  }

  std::string root_;
  std::vector<win::Handle> held_;

#ifdef _WIN32
  static void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    ::HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring path = folder + L"\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          RemoveTree(path);
        } else {
          ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
          ::DeleteFileW(path.c_str());
        }
      } while (::FindNextFileW(search, &found));
      ::FindClose(search);
    }
    ::RemoveDirectoryW(folder.c_str());
  }
#endif
};

using Arrange = std::function<void(FileContract&)>;

TEST_F(FileContract, CreateFileA) {
  const struct {
    const char* name;
    Arrange arrange;
    const char* path;
    win::Dword access, share, disposition;
    bool opens;
    std::optional<std::string> after;  // what the file holds once closed; nothing: absent
  } cases[] = {
      {"new file", nullptr, "a.bin", win::kGenericWrite, 0, win::kCreateAlways, true, ""},
      {"existing file is emptied", [](auto& t) { t.MakeFile("a.bin", "longer"); }, "a.bin",
       win::kGenericWrite, 0, win::kCreateAlways, true, ""},
      {"existing file kept open", [](auto& t) { t.MakeFile("a.bin", "longer"); }, "a.bin", win::kGenericWrite,
       0, win::kOpenExisting, true, "longer"},
      {"missing file, open existing", nullptr, "a.bin", win::kGenericRead, 0, win::kOpenExisting, false,
       std::nullopt},
      {"existing file, create new", [](auto& t) { t.MakeFile("a.bin", "old"); }, "a.bin", win::kGenericWrite,
       0, win::kCreateNew, false, "old"},
      {"missing folder", nullptr, "no folder\\a.bin", win::kGenericWrite, 0, win::kCreateAlways, false,
       std::nullopt},
      {"a folder", [](auto& t) { t.MakeFolder("a.bin"); }, "a.bin", win::kGenericWrite, 0, win::kCreateAlways,
       false, std::nullopt},
      {"held without sharing",
       [](auto& t) {
         t.MakeFile("a.bin", "old");
         t.Hold("a.bin", win::kGenericRead, 0);
       },
       "a.bin", win::kGenericWrite, 0, win::kCreateAlways, false, "old"},
      {"held for reading, we share nothing",
       [](auto& t) {
         t.MakeFile("a.bin", "old");
         t.Hold("a.bin", win::kGenericRead, kShareAll);
       },
       "a.bin", win::kGenericWrite, 0, win::kCreateAlways, false, "old"},
      {"held for reading, we share reading",
       [](auto& t) {
         t.MakeFile("a.bin", "old");
         t.Hold("a.bin", win::kGenericRead, kShareAll);
       },
       "a.bin", win::kGenericWrite, win::kFileShareRead, win::kOpenExisting, true, "old"},
      {"held for writing, sharing only reading",
       [](auto& t) {
         t.MakeFile("a.bin", "old");
         t.Hold("a.bin", kReadWrite, win::kFileShareRead);
       },
       "a.bin", win::kGenericWrite, kShareAll, win::kOpenExisting, false, "old"},
      {"name in code page 936", nullptr, "补丁对比图\xB1\x5C.txt", win::kGenericWrite, 0, win::kCreateAlways,
       true, ""},
      {"another letter case names the same file", [](auto& t) { t.MakeFile("Case.bin", "x"); }, "CASE.BIN",
       win::kGenericRead, 0, win::kOpenExisting, true, "x"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    if (c.arrange) c.arrange(*this);
    const win::Handle file = win::CreateFileA(At(c.path).c_str(), c.access, c.share, nullptr, c.disposition,
                                              win::kFileAttributeNormal, win::Handle{});
    EXPECT_EQ(!win::IsNull(file), c.opens);
    if (!win::IsNull(file)) {
      EXPECT_TRUE(win::CloseHandle(file));
    }
    ReleaseAll();
    const auto after = Read(c.path);
    EXPECT_EQ(after.has_value(), c.after.has_value());
    if (after && c.after) {
      EXPECT_EQ(*after, Bytes(*c.after));
    }
  }
}

TEST_F(FileContract, CreateFileAWithNoName) {
  EXPECT_TRUE(
      win::IsNull(win::CreateFileA(nullptr, win::kGenericWrite, 0, nullptr, win::kCreateAlways, 0, {})));
  EXPECT_TRUE(win::IsNull(win::CreateFileA("", win::kGenericWrite, 0, nullptr, win::kCreateAlways, 0, {})));
}

TEST_F(FileContract, WriteFile) {
  const win::Handle file = win::CreateFileA(At("w.bin").c_str(), win::kGenericWrite, 0, nullptr,
                                            win::kCreateAlways, win::kFileAttributeNormal, {});
  ASSERT_FALSE(win::IsNull(file));
  win::Dword written = 99;
  EXPECT_TRUE(win::WriteFile(file, "abc", 3, &written));
  EXPECT_EQ(written, 3u);
  EXPECT_TRUE(win::WriteFile(file, nullptr, 0, &written));
  EXPECT_EQ(written, 0u);
  EXPECT_TRUE(win::WriteFile(file, "de", 2, &written));
  EXPECT_TRUE(win::CloseHandle(file));
  EXPECT_EQ(Read("w.bin"), Bytes("abcde"));

  // A handle opened only for reading writes nothing.
  const win::Handle reading =
      win::CreateFileA(At("w.bin").c_str(), win::kGenericRead, kShareAll, nullptr, win::kOpenExisting, 0, {});
  ASSERT_FALSE(win::IsNull(reading));
  EXPECT_FALSE(win::WriteFile(reading, "x", 1, &written));
  EXPECT_EQ(written, 0u);
  EXPECT_TRUE(win::CloseHandle(reading));
  EXPECT_EQ(Read("w.bin"), Bytes("abcde"));

  // Writing over an opened, not emptied file starts at its beginning.
  const win::Handle over =
      win::CreateFileA(At("w.bin").c_str(), win::kGenericWrite, 0, nullptr, win::kOpenExisting, 0, {});
  ASSERT_FALSE(win::IsNull(over));
  EXPECT_TRUE(win::WriteFile(over, "X", 1, &written));
  EXPECT_TRUE(win::CloseHandle(over));
  EXPECT_EQ(Read("w.bin"), Bytes("Xbcde"));
}

TEST_F(FileContract, DeleteFileA) {
  const struct {
    const char* name;
    Arrange arrange;
    const char* path;
    bool deleted;
  } cases[] = {
      {"existing file", [](auto& t) { t.MakeFile("d.bin", "x"); }, "d.bin", true},
      {"another letter case", [](auto& t) { t.MakeFile("d.bin", "x"); }, "D.BIN", true},
      {"missing file", nullptr, "d.bin", false},
      {"a folder", [](auto& t) { t.MakeFolder("d.bin"); }, "d.bin", false},
      {"held without sharing",
       [](auto& t) {
         t.MakeFile("d.bin", "x");
         t.Hold("d.bin", win::kGenericRead, 0);
       },
       "d.bin", false},
      {"held sharing reading and writing only",
       [](auto& t) {
         t.MakeFile("d.bin", "x");
         t.Hold("d.bin", win::kGenericRead, win::kFileShareRead | win::kFileShareWrite);
       },
       "d.bin", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    if (c.arrange) c.arrange(*this);
    EXPECT_EQ(win::DeleteFileA(At(c.path).c_str()) != 0, c.deleted);
    ReleaseAll();
    if (c.deleted) {
      EXPECT_EQ(Read("d.bin"), std::nullopt);
    }
  }
}

TEST_F(FileContract, MoveFileExA) {
  const struct {
    const char* name;
    Arrange arrange;
    const char* to;
    win::Dword flags;
    bool moved;
    std::optional<std::string> target;  // what "to" holds afterwards
  } cases[] = {
      {"to a free name", nullptr, "new.bin", 0, true, "source"},
      {"onto an existing file", [](auto& t) { t.MakeFile("new.bin", "old"); }, "new.bin", 0, false, "old"},
      {"over an existing file", [](auto& t) { t.MakeFile("new.bin", "old"); }, "new.bin",
       win::kMovefileReplaceExisting, true, "source"},
      {"into a missing folder", nullptr, "no folder\\new.bin", win::kMovefileReplaceExisting, false,
       std::nullopt},
      {"over a folder", [](auto& t) { t.MakeFolder("new.bin"); }, "new.bin", win::kMovefileReplaceExisting,
       false, std::nullopt},
      {"source held without sharing", [](auto& t) { t.Hold("src.bin", win::kGenericRead, 0); }, "new.bin",
       win::kMovefileReplaceExisting, false, std::nullopt},
      {"source held sharing deletion", [](auto& t) { t.Hold("src.bin", win::kGenericRead, kShareAll); },
       "new.bin", win::kMovefileReplaceExisting, true, "source"},
      {"target held without sharing",
       [](auto& t) {
         t.MakeFile("new.bin", "old");
         t.Hold("new.bin", win::kGenericRead, 0);
       },
       "new.bin", win::kMovefileReplaceExisting, false, "old"},
      {"another letter case of its own name", nullptr, "SRC.BIN", 0, true, "source"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    MakeFile("src.bin", "source");
    if (c.arrange) c.arrange(*this);
    EXPECT_EQ(win::MoveFileExA(At("src.bin").c_str(), At(c.to).c_str(), c.flags) != 0, c.moved);
    ReleaseAll();
    const auto target = Read(c.to);
    EXPECT_EQ(target.has_value(), c.target.has_value());
    if (target && c.target) {
      EXPECT_EQ(*target, Bytes(*c.target));
    }
    if (!c.moved) {
      EXPECT_EQ(Read("src.bin"), Bytes("source"));
    }
  }
  EXPECT_FALSE(win::MoveFileExA(At("missing.bin").c_str(), At("other.bin").c_str(), 0));
}

TEST_F(FileContract, CreateDirectoryW) {
  const struct {
    const char* name;
    Arrange arrange;
    const char* path;
    bool created;
  } cases[] = {
      {"new folder", nullptr, "补丁对比图", true},
      {"with a closing separator", nullptr, "sub\\", true},
      {"existing folder", [](auto& t) { t.MakeFolder("sub"); }, "sub", false},
      {"existing file", [](auto& t) { t.MakeFile("sub", ""); }, "sub", false},
      {"missing parent", nullptr, "a\\b", false},
      {"inside a file", [](auto& t) { t.MakeFile("a", ""); }, "a\\b", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    if (c.arrange) c.arrange(*this);
    EXPECT_EQ(win::CreateDirectoryW(process::WidePointer(process::TextToWide(At(c.path))), nullptr) != 0,
              c.created);
    if (c.created) {
      EXPECT_TRUE(FolderThere(c.path));
    }
  }
}

TEST_F(FileContract, PathIsDirectoryW) {
  MakeFolder("补丁对比图");
  MakeFile("file.txt", "x");
  const struct {
    const char* path;
    win::Bool answer;
  } cases[] = {
      {"补丁对比图", 16},
      {"补丁对比图\\", 16},
      {"file.txt", 0},
      {"missing", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(win::PathIsDirectoryW(process::WidePointer(process::TextToWide(At(c.path)))), c.answer);
  }
  EXPECT_EQ(win::PathIsDirectoryW(process::WidePointer(process::TextToWide(text::Lower(root_)))), 16);
  EXPECT_EQ(win::PathIsDirectoryW(nullptr), 0);
}

}  // namespace
