// The update check: one POST for the newest version's number, compared as
// text with our own; a failed check goes unnoticed.
#include "installer/check_for_update.h"

#include <algorithm>
#include <string>

#include "installer/run_installer.h"
#include "installer/site.h"
#include "shell/shell_launch.h"
#include "shell/timed_message_box.h"
#include "text/text_ops.h"
#include "web/web_access.h"

namespace installer {

namespace {

constexpr win::Uint kQuestionStyle = 0x21;  // OK and Cancel, question icon
constexpr win::Dword kBoxTimeout = 1000000;

// Byte-wise as unsigned values; a proper prefix is the smaller.
bool IsNewer(std::string_view fetched) {
  return std::lexicographical_compare(
      OwnVersion.begin(), OwnVersion.end(), fetched.begin(), fetched.end(),
      [](char a, char b) { return static_cast<unsigned char>(a) < static_cast<unsigned char>(b); });
}

}  // namespace

void CheckForUpdateAt(std::string_view versionAddress, std::string_view downloadPage) {
  text::ByteBuffer body;  // the UTF-8 form of an empty text: no bytes
  const text::ByteBuffer reply =
      web::WebAccess(versionAddress,
                     {.method = web::kPost, .headers = "Content-Type: application/json", .bodyBytes = &body});
  const std::string fetched(
      text::UpToNul(std::string_view(reinterpret_cast<const char*>(reply.data()), reply.size())));
  if (!IsNewer(fetched)) return;
  if (shell::TimedMessageBox("本程序不是最新版是否前往下载最新版？", kQuestionStyle,
                             std::string("欧尼酱~有一件事想问你~"), std::nullopt, kBoxTimeout) != 0)
    return;
  shell::ShellOpen(downloadPage);
}

void CheckForUpdate() {
  const std::string site = std::string("https://") + SiteHost;
  CheckForUpdateAt(site + std::string(VersionPath), site + std::string(DownloadPath));
}

}  // namespace installer
