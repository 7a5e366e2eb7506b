#include "platform/sim/file_state.h"

#include "text/text_ops.h"

namespace sim {

namespace {

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Parent of an absolute path ("C:\a\b" -> "C:\a", "C:\a" -> "C:"); empty for a root.
std::string ParentOf(const std::string& absolute) {
  const auto slash = text::FindLast(absolute, "\\");
  if (!slash) return {};
  return absolute.substr(0, *slash);
}

}  // namespace

FileState::FileState() {
  FileNode root;
  root.folder = true;
  root.name = "C:";
  nodes[Fold("C:")] = root;
  AddFile("C:\\Windows\\explorer.exe");
  AddFile("C:\\Windows\\System32\\cmd.exe");
}

std::string FileState::Fold(const std::string& absolutePath) { return text::Lower(absolutePath); }

std::optional<std::string> FileState::Absolute(const std::string& path) const {
  std::string p = text::ReplaceAll(text::UpToNul(path), "/", "\\");
  if (p.empty()) return std::nullopt;
  std::string drive;
  std::string rest;
  if (p.size() >= 2 && IsDriveLetter(p[0]) && p[1] == ':') {
    drive = std::string(1, static_cast<char>(p[0] & ~0x20)) + ":";
    rest = p.substr(2);
    if (rest.empty() || rest[0] != '\\') rest = "\\" + rest;
  } else if (p[0] == '\\') {
    drive = currentFolder.substr(0, 2);
    rest = p;
  } else {
    drive = currentFolder.substr(0, 2);
    rest = currentFolder.substr(2) + "\\" + p;
  }
  std::vector<std::string> parts;
  for (const auto& part : text::Split(rest, "\\")) {
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
      continue;
    }
    parts.push_back(part);
  }
  std::string out = drive;
  for (const auto& part : parts) out += "\\" + part;
  return out;
}

FileNode* FileState::Find(const std::string& path) {
  const auto absolute = Absolute(path);
  if (!absolute) return nullptr;
  auto it = nodes.find(Fold(*absolute));
  return it == nodes.end() ? nullptr : &it->second;
}

const FileNode* FileState::Find(const std::string& path) const {
  return const_cast<FileState*>(this)->Find(path);
}

bool FileState::ParentExists(const std::string& path) const {
  const auto absolute = Absolute(path);
  if (!absolute) return false;
  const std::string parent = ParentOf(*absolute);
  if (parent.empty()) return false;
  const FileNode* node = Find(parent);
  return node && node->folder;
}

FileNode* FileState::Parent(const std::string& path) {
  const auto absolute = Absolute(path);
  if (!absolute) return nullptr;
  const std::string parent = ParentOf(*absolute);
  if (parent.empty()) return nullptr;
  FileNode* node = Find(parent);
  return node && node->folder ? node : nullptr;
}

bool FileState::MayChange(const std::string& path) const {
  const auto absolute = Absolute(path);
  if (!absolute) return false;
  for (std::string folder = ParentOf(*absolute); !folder.empty(); folder = ParentOf(folder)) {
    const FileNode* node = Find(folder);
    if (node && node->readOnlyTree) return false;
  }
  return true;
}

FileNode& FileState::AddFolder(const std::string& path) {
  const std::string absolute = Absolute(path).value();
  const std::string parent = ParentOf(absolute);
  if (!parent.empty() && !Find(parent)) AddFolder(parent);
  FileNode& node = nodes[Fold(absolute)];
  node.folder = true;
  node.name = parent.empty() ? absolute : absolute.substr(parent.size() + 1);
  return node;
}

FileNode& FileState::AddFile(const std::string& path, std::vector<std::uint8_t> bytes) {
  const std::string absolute = Absolute(path).value();
  const std::string parent = ParentOf(absolute);
  if (!parent.empty() && !Find(parent)) AddFolder(parent);
  FileNode& node = nodes[Fold(absolute)];
  node.folder = false;
  node.name = absolute.substr(ParentOf(absolute).size() + 1);
  node.bytes = std::move(bytes);
  return node;
}

bool FileState::Remove(const std::string& path) {
  const auto absolute = Absolute(path);
  if (!absolute) return false;
  const std::string key = Fold(*absolute);
  auto it = nodes.find(key);
  if (it == nodes.end()) return false;
  if (it->second.folder && !List(*absolute).empty()) return false;
  nodes.erase(it);
  return true;
}

std::vector<std::string> FileState::List(const std::string& folder) const {
  std::vector<std::string> children;
  const auto absolute = Absolute(folder);
  if (!absolute) return children;
  const std::string prefix = Fold(*absolute) + "\\";
  for (const auto& [key, node] : nodes) {
    if (key.size() > prefix.size() && key.compare(0, prefix.size(), prefix) == 0 &&
        !text::Contains(std::string_view(key).substr(prefix.size()), "\\"))
      children.push_back(key);
  }
  return children;
}

}  // namespace sim
