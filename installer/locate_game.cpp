// Finding the running game: by its window title first, by its executable's
// name only when no such window exists.
#include <string>

#include "installer/program_state.h"
#include "installer/run_installer.h"
#include "platform/time.h"
#include "platform/window.h"
#include "process/find_game.h"
#include "process/path_parts.h"
#include "process/process_image_path.h"
#include "shell/timed_message_box.h"
#include "text/text_ops.h"

namespace installer {

namespace {

constexpr const char* kGameTitle = "Thornwickvale";
constexpr const char* kGameExecutable = "Thornwickvale.exe";

// Cyan on black for a label, light grey on black for what follows it.
void WriteLabel(const std::string& text) { WriteLine(7, 1, text); }
void WriteValue(const std::string& text) { WriteLine(8, 1, text); }

std::string Decimal(std::uint32_t value) { return text::Number(static_cast<std::int32_t>(value)); }

}  // namespace

bool LocateGame() {
  ProgramState& program = Program();
  program.GameWindow =
      process::FindGameWindow(std::nullopt, std::nullopt, std::nullopt, std::string(kGameTitle));
  if (win::IsNull(program.GameWindow)) program.GameProcessId = process::FindProcessByName(kGameExecutable);
  // Without a window the call fails and the id found by name stays.
  win::GetWindowThreadProcessId(program.GameWindow, &program.GameProcessId);

  program.GameFolder = process::GetPathDirectory(process::GetProcessImagePath(program.GameProcessId));
  program.GameFileName = process::GetPathFileName(process::GetProcessImagePath(program.GameProcessId));

  const std::string window = Decimal(static_cast<std::uint32_t>(win::Value(program.GameWindow)));
  const std::string processId = Decimal(program.GameProcessId);
  WriteLabel("窗口句柄ID ");
  WriteValue(window + "\r\n");
  WriteLabel("游戏进程ID ");
  WriteValue(processId + "\r\n");
  WriteLabel("游戏路径 ");
  WriteValue(program.GameFolder + program.GameFileName + "\r\n");

  win::Sleep(1000);
  if (program.GameProcessId != 0) return true;

  std::string report =
      "未能成功寻找到游戏！\r\n请确保游戏已经在运行，版本号与补丁适配版本ver 0.24g相同！\r\n\r\n";
  report += "--------------------变量信息--------------------\r\n";
  report += "进程ID：" + processId;
  report += "\r\n窗口句柄：" + window;
  report += "\r\n程序路径：" + program.GameFolder;
  report += "\r\n程序命名：" + program.GameFileName;
  shell::TimedMessageBox(report, 0x10u, std::string("欧尼酱~出错啦~"), std::nullopt, 1000000u);
  return false;
}

}  // namespace installer
