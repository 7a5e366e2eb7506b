// Files and folders of the simulation, on FileState. Sharing follows the
// platform: an open handle blocks every other open its share mode does not
// allow, and deleting or renaming unless it shares delete access.
#include <algorithm>

#include "platform/file.h"
#include "platform/sim/sim_text.h"
#include "platform/sim/world.h"
#include "text/text_ops.h"

namespace win {

namespace {

constexpr Dword kShareBits = kFileShareRead | kFileShareWrite | kFileShareDelete;
constexpr Dword kAccessBits = kGenericRead | kGenericWrite;
constexpr Dword kMovefileWriteThrough = 0x8;

std::string Narrow(const Wchar* wide) {
  std::u16string_view units(wide);
  return sim::EncodeCp936(units);
}

// The open File handles of a node, as (access | share) each.
std::vector<Dword> OpensOf(const sim::World& world, const std::string& key) {
  std::vector<Dword> opens;
  for (const auto& [value, entry] : world.handles.open)
    if (entry.kind == sim::HandleKind::File && entry.note == key) opens.push_back(entry.object);
  return opens;
}

// May a new open with this access and share mode join the ones there?
bool SharingAllows(const std::vector<Dword>& opens, Dword access, Dword share) {
  return std::all_of(opens.begin(), opens.end(), [&](Dword open) {
    const bool theyAllowUs = (!(access & kGenericRead) || (open & kFileShareRead)) &&
                             (!(access & kGenericWrite) || (open & kFileShareWrite));
    const bool weAllowThem = (!(open & kGenericRead) || (share & kFileShareRead)) &&
                             (!(open & kGenericWrite) || (share & kFileShareWrite));
    return theyAllowUs && weAllowThem;
  });
}

bool OthersShareDelete(const std::vector<Dword>& opens) {
  return std::all_of(opens.begin(), opens.end(), [](Dword open) { return (open & kFileShareDelete) != 0; });
}

// Can the file at `absolute` be deleted, or renamed away from its name?
bool MayTakeAway(sim::World& world, const std::string& absolute, const sim::FileNode& node) {
  return !node.folder && !node.heldOpen && !node.deleteDenied &&
         OthersShareDelete(OpensOf(world, sim::FileState::Fold(absolute))) && world.files.MayChange(absolute);
}

std::string LastPart(const std::string& absolute) {
  const auto slash = text::FindLast(absolute, "\\");
  return slash ? absolute.substr(*slash + 1) : absolute;
}

}  // namespace

Handle CreateFileA(const char* fileName, Dword desiredAccess, Dword shareMode, SecurityAttributes*,
                   Dword creationDisposition, Dword flagsAndAttributes, Handle) {
  auto& world = sim::TheWorld();
  if (world.Enter("CreateFileA") || !fileName) return Handle{};
  auto& files = world.files;
  const auto absolute = files.Absolute(fileName);
  if (!absolute || !files.Parent(*absolute)) return Handle{};
  sim::FileNode* node = files.Find(*absolute);
  if (node && node->folder) return Handle{};
  if (creationDisposition == kCreateNew && node) return Handle{};
  if (creationDisposition == kOpenExisting && !node) return Handle{};
  if (creationDisposition != kCreateNew && creationDisposition != kCreateAlways &&
      creationDisposition != kOpenExisting)
    return Handle{};
  const std::string key = sim::FileState::Fold(*absolute);
  const bool writes = (desiredAccess & kGenericWrite) || creationDisposition != kOpenExisting;
  if (writes && !files.MayChange(*absolute)) return Handle{};
  if (node) {
    if (node->heldOpen || !SharingAllows(OpensOf(world, key), desiredAccess, shareMode)) return Handle{};
    if (writes && (node->attributes & kFileAttributeReadonly)) return Handle{};
    if (creationDisposition == kCreateAlways) node->bytes.clear();
  } else {
    node = &files.AddFile(*absolute);
    node->attributes = flagsAndAttributes & kFileAttributeReadonly;
  }
  const Handle handle = world.handles.Open(sim::HandleKind::File,
                                           (desiredAccess & kAccessBits) | (shareMode & kShareBits), key);
  files.positions[Value(handle)] = 0;
  return handle;
}

Bool DeleteFileA(const char* fileName) {
  auto& world = sim::TheWorld();
  if (world.Enter("DeleteFileA") || !fileName) return kFalse;
  const auto absolute = world.files.Absolute(fileName);
  sim::FileNode* node = absolute ? world.files.Find(*absolute) : nullptr;
  if (!node || !MayTakeAway(world, *absolute, *node) || (node->attributes & kFileAttributeReadonly))
    return kFalse;
  world.files.nodes.erase(sim::FileState::Fold(*absolute));
  return kTrue;
}

// Files only: folders are never moved here.
Bool MoveFileExA(const char* existingFileName, const char* newFileName, Dword flags) {
  auto& world = sim::TheWorld();
  if (world.Enter("MoveFileExA") || !existingFileName || !newFileName) return kFalse;
  if (flags & ~(kMovefileReplaceExisting | kMovefileWriteThrough)) return kFalse;
  auto& files = world.files;
  const auto from = files.Absolute(existingFileName);
  const auto to = files.Absolute(newFileName);
  sim::FileNode* source = from ? files.Find(*from) : nullptr;
  if (!source || !to || !MayTakeAway(world, *from, *source)) return kFalse;
  if (!files.Parent(*to) || !files.MayChange(*to)) return kFalse;
  if (text::Lower(from->substr(0, 2)) != text::Lower(to->substr(0, 2))) return kFalse;  // another volume
  const std::string fromKey = sim::FileState::Fold(*from);
  const std::string toKey = sim::FileState::Fold(*to);
  if (toKey != fromKey) {
    if (const sim::FileNode* target = files.Find(*to)) {
      if (!(flags & kMovefileReplaceExisting) || !MayTakeAway(world, *to, *target) ||
          (target->attributes & kFileAttributeReadonly))
        return kFalse;
    }
  }
  sim::FileNode moved = std::move(*source);
  moved.name = LastPart(*to);
  files.nodes.erase(fromKey);
  files.nodes[toKey] = std::move(moved);
  return kTrue;
}

Bool CreateDirectoryW(const Wchar* pathName, SecurityAttributes*) {
  auto& world = sim::TheWorld();
  if (world.Enter("CreateDirectoryW") || !pathName) return kFalse;
  auto& files = world.files;
  const auto absolute = files.Absolute(Narrow(pathName));
  if (!absolute || files.Find(*absolute) || !files.Parent(*absolute) || !files.MayChange(*absolute))
    return kFalse;
  files.AddFolder(*absolute);
  return kTrue;
}

Bool PathIsDirectoryW(const Wchar* path) {
  auto& world = sim::TheWorld();
  if (world.Enter("PathIsDirectoryW") || !path) return kFalse;
  const sim::FileNode* node = world.files.Find(Narrow(path));
  return node && node->folder ? static_cast<Bool>(kFileAttributeDirectory) : kFalse;
}

}  // namespace win
