// After the installation: the game starts again, the comparison pictures go
// into a folder beside it, and the explorer shows that folder. Nothing here
// is reported.
#include <string>

#include "installer/program_state.h"
#include "installer/run_installer.h"
#include "payloads/payloads.h"
#include "platform/time.h"
#include "shell/file_operations.h"
#include "shell/shell_launch.h"

namespace installer {

namespace {

constexpr win::Dword kBeforeRestartWait = 2000;

// Quoted, so that a path with spaces stays one token of the command line.
std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

}  // namespace

void RestartAndShowPictures() {
  const ProgramState& program = Program();
  win::Sleep(kBeforeRestartWait);
  shell::RunCommandLine(Quoted(program.GameFolder + program.GameFileName), false);
  WriteLine(11, 1, "重新运行 " + program.GameFileName + "\r\n");

  const std::string pictures = program.GameFolder + "补丁对比图";
  shell::CreateFolderTree(pictures);
  shell::WriteFileBytes(pictures + "\\该文件夹没用可以直接删除", {text::ByteView{}});
  shell::WriteFileBytes(pictures + "\\安装前.PNG", {payloads::BeforePicture().bytes});
  shell::WriteFileBytes(pictures + "\\安装后.PNG", {payloads::AfterPicture().bytes});
  shell::RunCommandLine("explorer.exe " + Quoted(pictures), false);
}

}  // namespace installer
