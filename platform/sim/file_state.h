// The simulated file system: one tree of drive-letter paths, names compared
// without regard to the case of A-Z (code page 936 bytes otherwise exact).
// Functions that take UTF-16 names look them up by their code page 936 form.
//
// Open files are File handles of the handle table: their note is the folded
// absolute path, their object the access they were opened with.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/types.h"

namespace sim {

struct FileNode {
  bool folder = false;
  std::string name;  // as created, code page 936
  std::vector<std::uint8_t> bytes;
  win::Dword attributes = 0;  // extra attribute bits (read-only...)

  // Failures on demand.
  bool deleteDenied = false;  // access denied to deleting or renaming this file
  bool heldOpen = false;      // another process has it open without sharing
  // A folder whose contents may not be changed: no file or folder in it, or
  // anywhere below it, can be created, written, deleted or renamed.
  bool readOnlyTree = false;
  // A file can hold at most this many bytes; on a folder, every file directly
  // in it. A write past the limit writes what fits and fails (a full disk).
  std::optional<std::size_t> sizeLimit;
};

class FileState {
 public:
  // The drive C: with the system's programs "C:\Windows\explorer.exe" and
  // "C:\Windows\System32\cmd.exe" (empty files).
  FileState();

  // Folder that relative paths are taken against; ends without a backslash.
  std::string currentFolder = "C:\\Users\\player\\Downloads";

  // Turns a path into its absolute form with "\" separators and without
  // "." and ".." parts, or nothing when it cannot name anything.
  std::optional<std::string> Absolute(const std::string& path) const;

  // Lookup by path; null when absent.
  FileNode* Find(const std::string& path);
  const FileNode* Find(const std::string& path) const;
  // Folder holding `path` exists?
  bool ParentExists(const std::string& path) const;
  // Folder holding `path`; null when absent or not a folder.
  FileNode* Parent(const std::string& path);

  // Arranging a test: creates missing parent folders too.
  FileNode& AddFolder(const std::string& path);
  FileNode& AddFile(const std::string& path, std::vector<std::uint8_t> bytes = {});
  bool Remove(const std::string& path);  // a file or an empty folder

  // Children of a folder (absolute keys), for listings in tests.
  std::vector<std::string> List(const std::string& folder) const;

  // May a file or folder at `path` be created, written, deleted or renamed?
  // False when a folder above it is a read-only tree.
  bool MayChange(const std::string& path) const;

  // Key used in `nodes`: absolute path folded for comparison.
  static std::string Fold(const std::string& absolutePath);

  std::map<std::string, FileNode> nodes;            // folded absolute path -> node
  std::map<std::uintptr_t, std::size_t> positions;  // file pointer of each File handle
};

}  // namespace sim
