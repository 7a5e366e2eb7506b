// The installation: consent, ending the game, the four file steps, the step
// log and, when a step failed, the error report.
//
// The game files are never lost: each target ends holding either its whole
// new payload or its whole old file. The payload is written to a temporary
// file beside the target first; only a complete copy takes the target's
// name, and an old file gives way to it in the same step. An old file is
// thus deleted only when its replacement is in place.
#include <algorithm>
#include <array>
#include <string>

#include "installer/program_state.h"
#include "installer/run_installer.h"
#include "payloads/payloads.h"
#include "platform/file.h"
#include "platform/path.h"
#include "platform/time.h"
#include "process/kill_process.h"
#include "process/text_conversion.h"
#include "shell/file_operations.h"
#include "shell/timed_message_box.h"
#include "text/text_ops.h"

namespace installer {

namespace {

// One entry per file step: delete assembly, write assembly, delete
// executable, write executable.
using StepResults = std::array<bool, 4>;

constexpr win::Uint kQuestionStyle = 0x21;  // OK and Cancel, question icon
constexpr win::Uint kErrorStyle = 0x10;     // OK, error icon
constexpr win::Dword kBoxTimeout = 1000000;
constexpr win::Dword kAfterKillWait = 2000;

constexpr const char* kAssemblyPath = "Thornwickvale_Data\\Managed\\Assembly-CSharp.dll";
constexpr const char* kExecutablePath = "Thornwickvale.exe";
// Temporary name beside a target while its replacement is written.
constexpr const char* kNewSuffix = ".patch-new";

void Line(const std::string& text) { WriteLine(11, 1, text); }

struct Replacement {
  bool removed = false;  // delete step: the old file is gone
  bool written = false;  // write step: the target holds the whole new payload
};

// Is there a file of that name to give way to the new one?
bool FileThere(const std::string& path) {
  const text::ByteBuffer wide = process::TextToWide(path);
  const win::Dword attributes = win::GetFileAttributesW(process::WidePointer(wide));
  return attributes != win::kInvalidFileAttributes && !(attributes & win::kFileAttributeDirectory);
}

Replacement ReplaceFile(const std::string& target, const payloads::PatchPayload& payload) {
  const std::string fresh = target + kNewSuffix;
  Replacement result;
  if (shell::WriteFileBytes(fresh, {payload.bytes})) {
    if (shell::RenameFile(fresh, target, false)) {
      result.written = true;  // there was no old file to delete
    } else if (FileThere(target) && shell::RenameFile(fresh, target, true)) {
      // The old file gave way. Without one the plain rename was refused for
      // another reason, and no deletion may be reported.
      result.removed = result.written = true;
    }
  }
  if (!result.written) shell::RemoveFile(fresh);  // a partial copy, or one that could not take its place
  return result;
}

std::string ErrorReport(const StepResults& steps) {
  const ProgramState& program = Program();
  std::string report = "执行文件操作过程中出错！\r\n请尝试关闭杀毒软件后在运行本程序。\r\n\r\n";
  report += "--------------------变量信息--------------------\r\n进程ID：";
  report += text::Number(static_cast<std::int32_t>(program.GameProcessId));
  report += "\r\n窗口句柄：";
  report += text::Number(static_cast<std::int32_t>(win::Value(program.GameWindow)));
  report += "\r\n程序路径：";
  report += program.GameFolder;
  report += "\r\n程序命名：";
  report += program.GameFileName;
  report += "\r\n\r\n执行过程:\r\n";
  for (std::size_t i = 0; i < steps.size(); ++i) {
    if (i > 0) report += "\r\n";
    report += text::Boolean(steps[i]);
  }
  return report;
}

}  // namespace

bool InstallPatch() {
  const ProgramState& program = Program();
  if (shell::TimedMessageBox("成功检查到游戏，是否确认安装补丁？\r\n请确保你的游戏版本是: ver 0.24g",
                             kQuestionStyle, "欧尼酱~有件事要问您~", std::nullopt, kBoxTimeout) != 0)
    return false;

  Line("结束进程 " + text::Number(static_cast<std::int32_t>(program.GameProcessId)) + "\r\n");
  // Process id 0 would name the installer itself.
  if (program.GameProcessId != 0) process::KillProcess(program.GameProcessId);
  win::Sleep(kAfterKillWait);
  Line("导出补丁......\r\n");

  // Each step runs whatever the earlier ones gave.
  const Replacement assembly = ReplaceFile(program.GameFolder + kAssemblyPath, payloads::AssemblyPayload());
  const Replacement executable =
      ReplaceFile(program.GameFolder + kExecutablePath, payloads::ExecutablePayload());
  const StepResults steps = {assembly.removed, assembly.written, executable.removed, executable.written};

  for (std::size_t i = 0; i < steps.size(); ++i)
    Line("执行过程[" + text::Number(static_cast<std::int32_t>(i + 1)) + "]:" + text::Boolean(steps[i]) +
         "\r\n");

  if (std::find(steps.begin(), steps.end(), false) != steps.end())
    shell::TimedMessageBox(ErrorReport(steps), kErrorStyle, "欧尼酱~出错啦~", std::nullopt, kBoxTimeout);
  return true;
}

}  // namespace installer
