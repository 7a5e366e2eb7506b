// Deleting files, creating folder trees and writing whole files, against the
// simulated file system.
#include "shell/file_operations.h"

#include <functional>

#include <gtest/gtest.h>

#include "tests/support/bytes.h"
#include "tests/support/sim_test.h"

namespace {

using testing_bytes::Bytes;

class FileOperationsTest : public SimTest {
 protected:
  void TearDown() override {
    EXPECT_EQ(world().handles.OpenCount(), 0) << "a handle was left open";
    EXPECT_TRUE(world().memory.localBlocks.empty()) << "a work buffer was left allocated";
    EXPECT_EQ(world().memory.badFrees, 0);
  }
  text::ByteBuffer BytesOf(const std::string& path) {
    const sim::FileNode* node = world().files.Find(path);
    return node ? node->bytes : text::ByteBuffer{};
  }
  std::vector<sim::HandleEntry> OpenFiles() {
    std::vector<sim::HandleEntry> files;
    for (const auto& [value, entry] : world().handles.open)
      if (entry.kind == sim::HandleKind::File) files.push_back(entry);
    return files;
  }
  void DropFileHandles() {
    std::erase_if(world().handles.open,
                  [](const auto& item) { return item.second.kind == sim::HandleKind::File; });
  }
  bool Exists(const std::string& path) { return world().files.Find(path) != nullptr; }
  bool FolderExists(const std::string& path) {
    const sim::FileNode* node = world().files.Find(path);
    return node && node->folder;
  }
};

TEST_F(FileOperationsTest, RemoveFileDeletesOnlyWhatMayBeDeleted) {
  const std::string file = "C:\\Games\\Thornwickvale\\Thornwickvale.exe";
  const struct {
    const char* name;
    std::function<void(sim::World&)> arrange;
    const char* path;
    bool removed;
  } cases[] = {
      {"existing file", [&](sim::World& w) { w.files.AddFile(file, Bytes("old")); }, file.c_str(), true},
      {"other letter case", [&](sim::World& w) { w.files.AddFile(file); },
       "c:\\GAMES\\thornwickvale\\THORNWICKVALE.EXE", true},
      {"missing file", [](sim::World&) {}, file.c_str(), false},
      {"a folder", [](sim::World& w) { w.files.AddFolder("C:\\Games\\Thornwickvale\\Thornwickvale.exe"); },
       file.c_str(), false},
      {"held open by another process", [&](sim::World& w) { w.files.AddFile(file).heldOpen = true; },
       file.c_str(), false},
      {"delete denied", [&](sim::World& w) { w.files.AddFile(file).deleteDenied = true; }, file.c_str(),
       false},
      {"read-only file", [&](sim::World& w) { w.files.AddFile(file).attributes = 0x1; }, file.c_str(), false},
      {"folder that may not change",
       [&](sim::World& w) {
         w.files.AddFile(file);
         w.files.Find("C:\\Games")->readOnlyTree = true;
       },
       file.c_str(), false},
      {"empty path", [](sim::World&) {}, "", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    sim::ResetWorld();
    c.arrange(world());
    const bool existed = Exists(file);
    EXPECT_EQ(shell::RemoveFile(c.path), c.removed);
    EXPECT_EQ(Exists(file), existed && !c.removed);
    EXPECT_EQ(world().CallCount("DeleteFileA"), 1);
  }
}

TEST_F(FileOperationsTest, CreateFolderTreeAsksForEachFolderAfterTheDrive) {
  world().files.AddFolder("D:");
  world().files.AddFile("C:\\Games\\readme.txt");
  const struct {
    const char* path;
    bool result;
    int requests;                      // CreateDirectoryW calls
    std::vector<std::string> folders;  // exist afterwards
  } cases[] = {
      {"D:\\Games\\X\\补丁对比图", true, 3, {"D:\\Games", "D:\\Games\\X", "D:\\Games\\X\\补丁对比图"}},
      {"D:/Games/Y/补丁对比图", true, 3, {"D:\\Games\\Y", "D:\\Games\\Y\\补丁对比图"}},
      {"D:\\Games/Z\\嘰\\a", true, 4, {"D:\\Games\\Z", "D:\\Games\\Z\\嘰", "D:\\Games\\Z\\嘰\\a"}},
      // The last folder is asked for twice: at its separator and at the end.
      {"D:\\Trail\\", true, 2, {"D:\\Trail"}},
      {"C:\\Windows", true, 1, {"C:\\Windows"}},
      {"C:\\Games\\readme.txt", false, 2, {}},
      {"Q:\\Games\\X", false, 2, {}},
      // Before the first separator is taken as a drive: "a" is never made.
      {"a\\b", false, 1, {}},
      {"D:", true, 0, {}},
      {"Q:", false, 0, {}},
      {"", false, 0, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    const int before = world().CallCount("CreateDirectoryW");
    EXPECT_EQ(shell::CreateFolderTree(c.path), c.result);
    EXPECT_EQ(world().CallCount("CreateDirectoryW") - before, c.requests);
    for (const auto& folder : c.folders) EXPECT_TRUE(FolderExists(folder)) << folder;
  }
  EXPECT_FALSE(Exists("C:\\Users\\player\\Downloads\\a"));
  EXPECT_FALSE(Exists("C:\\Games\\readme.txt\\X"));
  EXPECT_TRUE(world().memory.localBlocks.empty());
}

TEST_F(FileOperationsTest, CreateFolderTreeChangesNothingThatExists) {
  world().files.AddFile("C:\\Games\\X\\补丁对比图\\安装前.PNG", Bytes("png"));
  const auto before = world().files.nodes.size();
  EXPECT_TRUE(shell::CreateFolderTree("C:\\Games\\X\\补丁对比图"));
  EXPECT_EQ(world().files.nodes.size(), before);
  EXPECT_EQ(BytesOf("C:\\Games\\X\\补丁对比图\\安装前.PNG"), Bytes("png"));
}

TEST_F(FileOperationsTest, CreateFolderTreeStopsWhereFoldersMayNotBeMade) {
  world().files.AddFolder("C:\\Games").readOnlyTree = true;
  EXPECT_FALSE(shell::CreateFolderTree("C:\\Games\\X\\补丁对比图"));
  EXPECT_FALSE(Exists("C:\\Games\\X"));
}

TEST_F(FileOperationsTest, CreateFolderTreeWithoutWorkBufferOnlyAnswers) {
  world().FailNext("LocalAlloc");
  EXPECT_FALSE(shell::CreateFolderTree("C:\\Games\\X"));
  EXPECT_EQ(world().CallCount("CreateDirectoryW"), 0);
  world().FailNext("LocalAlloc");
  EXPECT_TRUE(shell::CreateFolderTree("C:\\Windows"));
}

TEST_F(FileOperationsTest, IsFolderIsTrueOnlyForAnExistingFolder) {
  world().files.AddFolder("C:\\Games\\补丁对比图");
  const struct {
    const char* path;
    bool folder;
  } cases[] = {
      {"C:\\Games\\补丁对比图", true},   {"c:\\GAMES\\补丁对比图", true},
      {"C:\\Games\\补丁对比图\\", true}, {"C:\\Windows\\explorer.exe", false},
      {"C:\\Games\\missing", false},     {"", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(shell::IsFolder(c.path), c.folder);
  }
  // An empty path never reaches the platform.
  EXPECT_EQ(world().CallCount("PathIsDirectoryW"), 5);
}

TEST_F(FileOperationsTest, IsFolderWantsExactlyTheDirectoryAnswer) {
  world().FailNext("PathIsDirectoryW");
  EXPECT_FALSE(shell::IsFolder("C:\\Windows"));
}

TEST_F(FileOperationsTest, WriteFileBytesLeavesExactlyTheNewBytes) {
  const std::string path = "C:\\Games\\补丁对比图\\安装前.PNG";
  world().files.AddFile(path, Bytes("a much longer earlier file"));
  const auto first = Bytes("new"), second = Bytes({0x00, 0xFF}), empty = text::ByteBuffer{};
  const struct {
    const char* name;
    std::initializer_list<text::ByteView> buffers;
    text::ByteBuffer expected;
    int writes;
  } cases[] = {
      {"one buffer over a longer file", {first}, Bytes("new"), 1},
      {"several buffers in order, empty ones skipped",
       {first, empty, second, first},
       Bytes({'n', 'e', 'w', 0, 0xFF, 'n', 'e', 'w'}),
       3},
      {"one empty buffer: an empty file", {empty}, {}, 0},
      {"no buffers: an empty file", {}, {}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const int before = world().CallCount("WriteFile");
    EXPECT_TRUE(shell::WriteFileBytes(path, c.buffers));
    EXPECT_EQ(BytesOf(path), c.expected);
    EXPECT_EQ(world().CallCount("WriteFile") - before, c.writes);
  }
}

TEST_F(FileOperationsTest, WriteFileBytesCreatesAMissingFileInAnExistingFolder) {
  world().files.AddFolder("C:\\Games");
  EXPECT_TRUE(shell::WriteFileBytes("C:\\Games\\该文件夹没用可以直接删除", {text::ByteView{}}));
  ASSERT_TRUE(Exists("C:\\Games\\该文件夹没用可以直接删除"));
  EXPECT_TRUE(BytesOf("C:\\Games\\该文件夹没用可以直接删除").empty());
  // Another letter case names the same file, which keeps its name.
  EXPECT_TRUE(shell::WriteFileBytes("C:\\GAMES\\Readme.TXT", {Bytes("1")}));
  EXPECT_TRUE(shell::WriteFileBytes("c:\\games\\readme.txt", {Bytes("2")}));
  EXPECT_EQ(world().files.Find("C:\\Games\\readme.txt")->name, "Readme.TXT");
  EXPECT_EQ(BytesOf("C:\\Games\\Readme.TXT"), Bytes("2"));
}

TEST_F(FileOperationsTest, WriteFileBytesFailures) {
  const std::string path = "C:\\Games\\Thornwickvale.exe";
  const struct {
    const char* name;
    std::function<void(sim::World&)> arrange;
    std::optional<text::ByteBuffer> left;  // what the file holds afterwards; nothing: absent
  } cases[] = {
      {"missing folder", [](sim::World&) {}, std::nullopt},
      {"held open by another process",
       [&](sim::World& w) { w.files.AddFile(path, Bytes("old game")).heldOpen = true; }, Bytes("old game")},
      {"read-only file", [&](sim::World& w) { w.files.AddFile(path, Bytes("old game")).attributes = 0x1; },
       Bytes("old game")},
      {"folder that may not change",
       [&](sim::World& w) {
         w.files.AddFile(path, Bytes("old game"));
         w.files.Find("C:\\Games")->readOnlyTree = true;
       },
       Bytes("old game")},
      {"a folder of that name", [&](sim::World& w) { w.files.AddFolder(path); }, std::nullopt},
      // The bytes that fit stay: nothing is cleaned up.
      {"disk full after 5 bytes", [](sim::World& w) { w.files.AddFolder("C:\\Games").sizeLimit = 5; },
       Bytes("new g")},
      {"write fails",
       [](sim::World& w) {
         w.files.AddFolder("C:\\Games");
         w.FailNext("WriteFile", 2);
       },
       Bytes("new ")},
      {"closing fails",
       [](sim::World& w) {
         w.files.AddFolder("C:\\Games");
         w.FailNext("CloseHandle");
       },
       Bytes("new game")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    sim::ResetWorld();
    c.arrange(world());
    EXPECT_FALSE(shell::WriteFileBytes(path, {Bytes("new "), Bytes("game")}));
    const sim::FileNode* node = world().files.Find(path);
    if (!c.left) {
      EXPECT_TRUE(!node || node->folder);
    } else {
      ASSERT_TRUE(node);
      EXPECT_EQ(node->bytes, *c.left);
    }
    DropFileHandles();  // the one a failed close left
  }
}

TEST_F(FileOperationsTest, WriteFileBytesWithEmptyPathTouchesNothing) {
  EXPECT_FALSE(shell::WriteFileBytes("", {Bytes("x")}));
  EXPECT_EQ(world().CallCount("CreateFileA"), 0);
}

TEST_F(FileOperationsTest, WriteFileBytesHoldsTheFileForWritingWithoutSharing) {
  world().files.AddFolder("C:\\Games");
  world().FailNext("CloseHandle");  // leaves the handle open to look at
  EXPECT_FALSE(shell::WriteFileBytes("C:\\Games\\x.bin", {Bytes("x")}));
  const auto open = OpenFiles();
  ASSERT_EQ(open.size(), 1u);
  EXPECT_EQ(open[0].object, 0x40000000u) << "GENERIC_WRITE, share mode 0";
  DropFileHandles();
}

TEST_F(FileOperationsTest, RenameFileMovesOrReplacesInOneStep) {
  const std::string from = "C:\\Games\\Thornwickvale.exe.patch-new";
  const std::string to = "C:\\Games\\Thornwickvale.exe";
  const struct {
    const char* name;
    std::function<void(sim::World&)> arrange;
    bool replace;
    bool renamed;
  } cases[] = {
      {"to a free name", [](sim::World&) {}, false, true},
      {"to a free name, replacing", [](sim::World&) {}, true, true},
      {"onto an existing file", [&](sim::World& w) { w.files.AddFile(to, Bytes("old")); }, false, false},
      {"over an existing file", [&](sim::World& w) { w.files.AddFile(to, Bytes("old")); }, true, true},
      {"over another letter case", [](sim::World& w) { w.files.AddFile("C:\\GAMES\\THORNWICKVALE.EXE"); },
       true, true},
      {"source held open", [&](sim::World& w) { w.files.Find(from)->heldOpen = true; }, true, false},
      {"target held open", [&](sim::World& w) { w.files.AddFile(to, Bytes("old")).heldOpen = true; }, true,
       false},
      {"target may not be deleted",
       [&](sim::World& w) { w.files.AddFile(to, Bytes("old")).deleteDenied = true; }, true, false},
      {"target read-only", [&](sim::World& w) { w.files.AddFile(to, Bytes("old")).attributes = 0x1; }, true,
       false},
      {"target is a folder", [&](sim::World& w) { w.files.AddFolder(to); }, true, false},
      {"folder that may not change", [](sim::World& w) { w.files.Find("C:\\Games")->readOnlyTree = true; },
       true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    sim::ResetWorld();
    world().files.AddFile(from, Bytes("new"));
    c.arrange(world());
    const sim::FileNode* before = world().files.Find(to);
    const auto kept = before ? std::optional(before->bytes) : std::nullopt;
    EXPECT_EQ(shell::RenameFile(from, to, c.replace), c.renamed);
    EXPECT_EQ(Exists(from), !c.renamed);
    if (c.renamed) {
      EXPECT_EQ(BytesOf(to), Bytes("new"));
      EXPECT_EQ(world().files.Find(to)->name, "Thornwickvale.exe");
    } else if (kept && !world().files.Find(to)->folder) {
      EXPECT_EQ(BytesOf(to), *kept) << "a target that stays is untouched";
    }
  }
  sim::ResetWorld();
  EXPECT_FALSE(shell::RenameFile(from, to, true)) << "missing source";
  world().files.AddFile(from);
  EXPECT_FALSE(shell::RenameFile(from, "C:\\Missing\\x.exe", true)) << "missing target folder";
  world().files.AddFolder("D:");
  EXPECT_FALSE(shell::RenameFile(from, "D:\\x.exe", true)) << "another drive";
  EXPECT_TRUE(Exists(from));
}

}  // namespace
