// The folder part of arbitrary paths: a prefix of the path that ends in a
// backslash of its own, never in the middle of a two-byte character, with
// no folder separator left in the rest.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "process/path_parts.h"
#include "tests/fuzz/fuzz_check.h"
#include "text/text_ops.h"

namespace {

using fuzz::Check;

bool StartsCharacter(std::string_view text, std::size_t pos) {
  std::size_t at = 0;
  while (at < pos) at += text::CharLength(text, at);
  return at == pos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string raw(reinterpret_cast<const char*>(data), size);
  const std::string_view path = text::UpToNul(raw);  // what a NUL-terminated text holds
  const std::string folder = process::GetPathDirectory(raw);
  if (folder.empty()) {
    // Nothing but perhaps one final backslash.
    std::string_view rest = path;
    if (rest.ends_with('\\')) rest.remove_suffix(1);
    Check(!text::Contains(rest, "\\"));
    return 0;
  }
  Check(folder.size() < path.size() && path.starts_with(folder));
  Check(folder.back() == '\\' && StartsCharacter(path, folder.size() - 1));
  std::string_view name = path.substr(folder.size());
  if (name.ends_with('\\')) name.remove_suffix(1);
  Check(!text::Contains(name, "\\"));
  // The folder with a file name after it is the folder again; its own
  // folder is its parent.
  Check(process::GetPathDirectory(folder + "Thornwickvale.exe") == folder);
  const std::string parent = process::GetPathDirectory(folder);
  Check(parent.size() < folder.size() && folder.starts_with(parent));
  return 0;
}
