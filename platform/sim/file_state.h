// The simulated file system: one tree of drive-letter paths, names compared
// without regard to the case of A-Z (code page 936 bytes otherwise exact).
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
};

class FileState {
 public:
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

  // Arranging a test: creates missing parent folders too.
  FileNode& AddFolder(const std::string& path);
  FileNode& AddFile(const std::string& path, std::vector<std::uint8_t> bytes = {});
  bool Remove(const std::string& path);  // a file or an empty folder

  // Children of a folder (absolute keys), for listings in tests.
  std::vector<std::string> List(const std::string& folder) const;

  // Key used in `nodes`: absolute path folded for comparison.
  static std::string Fold(const std::string& absolutePath);

  std::map<std::string, FileNode> nodes;  // folded absolute path -> node
};

}  // namespace sim
