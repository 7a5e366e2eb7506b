// Starting processes and the shell as both faces answer them. The program
// started is the system's command interpreter, which both faces have.
#include <gtest/gtest.h>

#include <string>

#include "platform/handles.h"
#include "platform/launch.h"

#ifndef _WIN32
#include "platform/sim/world.h"
#endif

namespace {

class LaunchContract : public ::testing::Test {
 protected:
  void SetUp() override {
#ifndef _WIN32
    sim::ResetWorld();
    // cmd.exe /c exit: a console program that ends at once.
    sim::ProgramBehaviour& cmd = sim::TheWorld().shell.Behaviour("C:\\Windows\\System32\\cmd.exe");
    cmd.console = true;
    cmd.endsAfter = 50;
#endif
  }

  // Starts a command line; the handles are closed by the test.
  bool Start(std::string line, win::ProcessInformation& created, win::Word show = win::kSwHide) {
    win::StartupInfoA startup;
    startup.cb = win::kStartupInfoSize;
    startup.dwFlags = win::kStartfUseShowWindow;
    startup.wShowWindow = show;
    return win::CreateProcessA(nullptr, line.data(), nullptr, nullptr, win::kFalse, 0, nullptr, nullptr,
                               &startup, &created) != 0;
  }
};

TEST_F(LaunchContract, CreateProcessA) {
  const struct {
    const char* line;
    bool created;
  } cases[] = {
      {"cmd.exe /c exit", true},
      {"cmd /c exit", true},  // ".exe" is added, the system folder searched
      {"\"cmd.exe\" /c exit", true},
      {"tw-no-such-program-4711.exe", false},
      {"\"C:\\tw no such folder\\game.exe\"", false},
      {"", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    win::ProcessInformation created;
    EXPECT_EQ(Start(c.line, created), c.created);
    if (!c.created) continue;
    EXPECT_FALSE(win::IsNull(created.hProcess));
    EXPECT_FALSE(win::IsNull(created.hThread));
    EXPECT_NE(created.dwProcessId, 0u);
    EXPECT_EQ(win::WaitForSingleObject(created.hProcess, 20000), win::kWaitObject0);
    EXPECT_TRUE(win::CloseHandle(created.hThread));
    EXPECT_TRUE(win::CloseHandle(created.hProcess));
  }
}

TEST_F(LaunchContract, WaitForInputIdleOnAConsoleProgram) {
  win::ProcessInformation created;
  ASSERT_TRUE(Start("cmd.exe /c exit", created));
  // No message queue: the answer comes at once.
  const win::Dword answer = win::WaitForInputIdle(created.hProcess, 10000);
  EXPECT_EQ(answer, win::kWaitFailed);
  win::WaitForSingleObject(created.hProcess, 20000);
  win::CloseHandle(created.hThread);
  win::CloseHandle(created.hProcess);
}

TEST_F(LaunchContract, WaitsOnNoProcessFail) {
  EXPECT_EQ(win::WaitForSingleObject(win::Handle{}, 0), win::kWaitFailed);
  EXPECT_EQ(win::WaitForInputIdle(win::Handle{}, 0), win::kWaitFailed);
}

TEST_F(LaunchContract, ShellExecuteAOnAMissingFile) {
  const win::Hmodule result = win::ShellExecuteA(
      win::Hwnd{}, "open", "C:\\tw-no-such-folder\\no-such-file.txt", "", "", win::kSwShowNormal);
  EXPECT_LE(win::Value(result), 32u);
}

}  // namespace
