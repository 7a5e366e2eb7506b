// The update check's fixed addresses, and the check itself against given
// addresses (CheckForUpdate uses the maker's site).
#pragma once

#include <string_view>

namespace installer {

// The installer's own version, compared as text.
inline constexpr std::string_view OwnVersion = "1.1";

// Path and query of the newest version's number on the maker's site: the
// file 雾棘谷//补丁最新版本.txt, percent-encoded UTF-8.
#define TW_VERSION_PATH                                                                                 \
  "/Personal_cloud_disk/download.php?file=%E9%9B%BE%E6%A3%98%E8%B0%B7%2F%2F%E8%A1%A5%E4%B8%81%E6%9C%80" \
  "%E6%96%B0%E7%89%88%E6%9C%AC.txt"
// Path of the page offering the newest installer.
#define TW_DOWNLOAD_PATH "/index.php/2024/04/28/thornwickvale_patch/"

inline constexpr std::string_view VersionPath = TW_VERSION_PATH;
inline constexpr std::string_view DownloadPath = TW_DOWNLOAD_PATH;

// Asks versionAddress for the newest version and, when it is greater than
// OwnVersion and the player agrees, hands downloadPage to the shell.
void CheckForUpdateAt(std::string_view versionAddress, std::string_view downloadPage);

}  // namespace installer
