#include "installer/run_installer.h"

#include <string>

#include "installer/program_state.h"
#include "installer/site.h"
#include "platform/time.h"

namespace installer {

namespace {

void Banner() {
  WriteLine(10, 16, "免责声明：本程序仅供参考，技术分享。\r\n");
  WriteLine(10, 16, "补丁适配游戏版本:ver 0.24g\r\n");
  WriteLine(12, 13, std::string(ChannelPage) + "\r\n");
  WriteLine(12, 13, std::string(ProfilePage) + "\r\n");
  WriteLine(12, 13, HomePage() + "\r\n");
}

}  // namespace

void RunInstaller() {
  Banner();
  CheckForUpdate();           // whatever it finds, the run goes on
  if (!LocateGame()) return;  // the not-found report was shown; no closing line
  if (InstallPatch()) RestartAndShowPictures();
  WriteLine(16, 6, "补丁安装结束，程序在10秒后自动关闭......\r\n");
  win::Sleep(10000);
}

}  // namespace installer
