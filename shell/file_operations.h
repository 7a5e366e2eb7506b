// Deleting files, creating folder trees and writing whole files.
#pragma once

#include <initializer_list>
#include <string_view>

#include "text/byte_buffer.h"

namespace shell {

bool RemoveFile(std::string_view path);
// True when the path names an existing folder afterwards.
bool CreateFolderTree(std::string_view path);
bool IsFolder(std::string_view path);
// Creates or replaces the file with the buffers, written in order.
bool WriteFileBytes(std::string_view path, std::initializer_list<text::ByteView> buffers);
// Gives a file a new name on the same drive in one step; with
// replaceExisting a file of that name gives way to it in the same step. True
// when the file now has the new name.
bool RenameFile(std::string_view from, std::string_view to, bool replaceExisting);

}  // namespace shell
