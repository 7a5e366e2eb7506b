// The installation stage: consent, ending the game, the four file steps with
// their log and error report, and whole runs of the installer through it.
#include <functional>

#include <gtest/gtest.h>

#include "installer/program_state.h"
#include "installer/run_installer.h"
#include "payloads/payloads.h"
#include "tests/support/bytes.h"
#include "tests/support/sim_test.h"

namespace {

using testing_bytes::Bytes;

constexpr const char* kFolder = "C:\\Program Files (x86)\\Thornwickvale\\";
const std::string kAssembly = std::string(kFolder) + "Thornwickvale_Data\\Managed\\Assembly-CSharp.dll";
const std::string kExecutable = std::string(kFolder) + "Thornwickvale.exe";
const std::string kPictures = std::string(kFolder) + "补丁对比图";
constexpr win::Word kGreen = 0x0A;
constexpr win::Word kClosing = 0x5F;
const std::string kClosingLine = "补丁安装结束，程序在10秒后自动关闭......\r\n";

text::ByteBuffer Payload(const payloads::PatchPayload& payload) {
  return text::ByteBuffer(payload.bytes.begin(), payload.bytes.end());
}

struct Line {
  std::string text;
  win::Word attribute;
  bool operator==(const Line&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Line& line) {
  return out << "{\"" << line.text << "\", " << line.attribute << "}";
}

std::string Report(win::Dword processId, win::Hwnd window, const std::string& folder, const std::string& file,
                   const char* steps) {
  return "执行文件操作过程中出错！\r\n请尝试关闭杀毒软件后在运行本程序。\r\n\r\n"
         "--------------------变量信息--------------------\r\n进程ID：" +
         std::to_string(processId) + "\r\n窗口句柄：" + std::to_string(win::Value(window)) +
         "\r\n程序路径：" + folder + "\r\n程序命名：" + file + "\r\n\r\n执行过程:\r\n" + steps;
}

// A running game with its window and its two files, installed under a folder
// with spaces in its name.
class InstallRunTest : public SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    Game("Thornwickvale.exe");
    world().files.AddFile(kAssembly, oldAssembly);
    // What an unquoted path with spaces would start instead of the game.
    world().files.AddFile("C:\\Program.exe");
  }

  void Game(const std::string& exeName) {
    const std::u16string nt = u"\\Device\\HarddiskVolume2\\Program Files (x86)\\Thornwickvale\\" +
                              std::u16string(exeName.begin(), exeName.end());
    game = &world().processes.Add(exeName, nt);
    gameId = game->id;
    window = world().windows.Add(u"Thornwickvale", gameId).handle;
    world().files.AddFile(kFolder + exeName, oldExecutable);
  }

  // One whole run with the consent question answered (or left alone).
  void Run(std::optional<int> consent = sim::kIdOk) {
    if (consent) world().dialogs.Answer(*consent);
    installer::ProgramMain();
  }

  // The lines of the installation and the restart (bright green on black)
  // and the closing line.
  std::vector<Line> StageLines() {
    std::vector<Line> lines;
    for (const auto& write : world().console.writes)
      if (write.attribute == kGreen || write.attribute == kClosing)
        lines.push_back({write.text, write.attribute});
    return lines;
  }
  std::vector<Line> Expected(const char* steps, const std::string& restarted = "Thornwickvale.exe") {
    std::vector<Line> lines = {{"结束进程 " + std::to_string(gameId) + "\r\n", kGreen},
                               {"导出补丁......\r\n", kGreen}};
    for (int i = 0; i < 4; ++i)
      lines.push_back(
          {"执行过程[" + std::to_string(i + 1) + "]:" + (steps[i] == '1' ? "真" : "假") + "\r\n", kGreen});
    lines.push_back({"重新运行 " + restarted + "\r\n", kGreen});
    lines.push_back({kClosingLine, kClosing});
    return lines;
  }

  text::ByteBuffer BytesOf(const std::string& path) {
    const sim::FileNode* node = world().files.Find(path);
    EXPECT_TRUE(node) << path;
    return node ? node->bytes : text::ByteBuffer{};
  }
  bool Exists(const std::string& path) { return world().files.Find(path) != nullptr; }
  // Names in a folder, for proving no temporary file stayed behind.
  std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& key : world().files.List(folder)) names.push_back(world().files.nodes.at(key).name);
    std::sort(names.begin(), names.end());
    return names;
  }
  static std::vector<std::string> Sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
  }
  std::vector<std::string> CommandLines() {
    std::vector<std::string> lines;
    for (const auto& started : world().shell.started) lines.push_back(started.commandLine);
    return lines;
  }
  // The boxes after the consent question.
  std::vector<sim::MessageBoxRecord> ErrorBoxes() {
    std::vector<sim::MessageBoxRecord> boxes;
    for (const auto& box : world().dialogs.shown)
      if (box.style == 0x10) boxes.push_back(box);
    return boxes;
  }

  void ExpectPicturesWritten(const std::string& pictures = kPictures) {
    EXPECT_EQ(BytesOf(pictures + "\\该文件夹没用可以直接删除"), text::ByteBuffer{});
    EXPECT_EQ(BytesOf(pictures + "\\安装前.PNG"), Payload(payloads::BeforePicture()));
    EXPECT_EQ(BytesOf(pictures + "\\安装后.PNG"), Payload(payloads::AfterPicture()));
  }

  const text::ByteBuffer oldAssembly =
      Bytes("the assembly of ver 0.24g, longer than any sample payload ......");
  const text::ByteBuffer oldExecutable = Bytes("the executable of ver 0.24g");
  sim::SimProcess* game = nullptr;
  win::Dword gameId = 0;
  win::Hwnd window{};
};

TEST_F(InstallRunTest, AllFourStepsSucceed) {
  Run();
  EXPECT_EQ(StageLines(), Expected("1111"));

  ASSERT_EQ(world().dialogs.shown.size(), 1u) << "no error box";
  const auto& question = world().dialogs.shown[0];
  EXPECT_EQ(question.text, "成功检查到游戏，是否确认安装补丁？\r\n请确保你的游戏版本是: ver 0.24g");
  EXPECT_EQ(question.caption, "欧尼酱~有件事要问您~");
  EXPECT_EQ(question.style, 0x21u);
  EXPECT_EQ(question.timeout, 1000000u);

  EXPECT_FALSE(world().processes.Find(gameId)->running) << "the game was ended";
  EXPECT_EQ(world().clock.sleeps, (std::vector<std::uint32_t>{1000, 2000, 2000, 10000}));

  // Both game files hold exactly the payloads; nothing temporary is left.
  EXPECT_EQ(BytesOf(kAssembly), Payload(payloads::AssemblyPayload()));
  EXPECT_EQ(BytesOf(kExecutable), Payload(payloads::ExecutablePayload()));
  EXPECT_EQ(Names(kFolder + std::string("Thornwickvale_Data\\Managed")),
            (std::vector<std::string>{"Assembly-CSharp.dll"}));
  EXPECT_EQ(Names(kFolder), Sorted({"Thornwickvale.exe", "Thornwickvale_Data", "补丁对比图"}));

  ExpectPicturesWritten();
  EXPECT_EQ(Names(kPictures), Sorted({"安装前.PNG", "安装后.PNG", "该文件夹没用可以直接删除"}));

  // The game again from its quoted full path, then the explorer on the quoted folder.
  EXPECT_EQ(CommandLines(),
            (std::vector<std::string>{"\"" + kExecutable + "\"", "explorer.exe \"" + kPictures + "\""}));
  ASSERT_EQ(world().shell.started.size(), 2u);
  EXPECT_EQ(world().shell.started[0].program, kExecutable);
  EXPECT_EQ(world().shell.started[1].program, "C:\\Windows\\explorer.exe");
  for (const auto& started : world().shell.started) {
    EXPECT_EQ(started.showWindow, 1);
    EXPECT_EQ(started.currentDirectory, std::nullopt);
  }
  for (const auto& wait : world().shell.waits) {
    EXPECT_EQ(wait.function, "WaitForInputIdle");
    EXPECT_EQ(wait.timeout, 1000u);
  }
  EXPECT_EQ(world().handles.OpenCount(), 0);
}

TEST_F(InstallRunTest, RefusedOrUnansweredConsentLeavesTheGameAlone) {
  const struct {
    const char* name;
    std::optional<int> answer;
  } cases[] = {{"cancelled", sim::kIdCancel},
               {"timed out", sim::kTimedOut},
               {"left alone", std::nullopt},
               {"no box", sim::kBoxFailed}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    sim::ResetWorld();
    SetUp();
    Run(c.answer);
    EXPECT_EQ(StageLines(), (std::vector<Line>{{kClosingLine, kClosing}}));
    EXPECT_EQ(world().dialogs.shown.size(), 1u);
    EXPECT_TRUE(world().processes.Find(gameId)->running);
    EXPECT_EQ(BytesOf(kAssembly), oldAssembly);
    EXPECT_EQ(BytesOf(kExecutable), oldExecutable);
    EXPECT_FALSE(Exists(kPictures));
    EXPECT_TRUE(world().shell.started.empty());
    EXPECT_EQ(world().clock.sleeps, (std::vector<std::uint32_t>{1000, 10000}));
  }
}

TEST_F(InstallRunTest, AssemblyMissingBeforehand) {
  world().files.Remove(kAssembly);
  Run();
  EXPECT_EQ(StageLines(), Expected("0111"));
  const auto boxes = ErrorBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, Report(gameId, window, kFolder, "Thornwickvale.exe", "假\r\n真\r\n真\r\n真"));
  EXPECT_EQ(boxes[0].caption, "欧尼酱~出错啦~");
  EXPECT_EQ(boxes[0].timeout, 1000000u);
  EXPECT_EQ(BytesOf(kAssembly), Payload(payloads::AssemblyPayload()));
  EXPECT_EQ(BytesOf(kExecutable), Payload(payloads::ExecutablePayload()));
  EXPECT_EQ(world().shell.started.size(), 2u);
}

TEST_F(InstallRunTest, UnwritableGameFolder) {
  world().files.Find(kFolder)->readOnlyTree = true;
  Run();
  EXPECT_EQ(StageLines(), Expected("0000"));
  const auto boxes = ErrorBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, Report(gameId, window, kFolder, "Thornwickvale.exe", "假\r\n假\r\n假\r\n假"));
  EXPECT_EQ(BytesOf(kAssembly), oldAssembly);
  EXPECT_EQ(BytesOf(kExecutable), oldExecutable);
  // The restart and the pictures still follow: the game runs again, the
  // folder and its files are tried, and the explorer opens.
  EXPECT_EQ(CommandLines(),
            (std::vector<std::string>{"\"" + kExecutable + "\"", "explorer.exe \"" + kPictures + "\""}));
  EXPECT_FALSE(Exists(kPictures));
  EXPECT_GE(world().CallCount("CreateDirectoryW"), 1);
  EXPECT_EQ(world().CallCount("CreateFileA"), 2 + 3) << "two temporary copies, three pictures";
  EXPECT_EQ(world().clock.sleeps, (std::vector<std::uint32_t>{1000, 2000, 2000, 10000}));
}

TEST_F(InstallRunTest, ExecutableWriteFailingHalfWayKeepsTheOldExecutable) {
  world().files.Find(kFolder)->sizeLimit = payloads::ExecutablePayload().bytes.size() / 2;
  Run();
  // The old executable was not deleted, as nothing whole could take its place.
  EXPECT_EQ(StageLines(), Expected("1100"));
  const auto boxes = ErrorBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, Report(gameId, window, kFolder, "Thornwickvale.exe", "真\r\n真\r\n假\r\n假"));
  EXPECT_EQ(BytesOf(kExecutable), oldExecutable) << "the old executable, byte for byte";
  EXPECT_EQ(BytesOf(kAssembly), Payload(payloads::AssemblyPayload()));
  EXPECT_EQ(Names(kFolder), Sorted({"Thornwickvale.exe", "Thornwickvale_Data", "补丁对比图"}));
  EXPECT_EQ(world().shell.started.at(0).program, kExecutable);
}

TEST_F(InstallRunTest, GameStillRunningKeepsBothFiles) {
  world().FailAlways("TerminateProcess");
  world().files.Find(kAssembly)->heldOpen = true;
  world().files.Find(kExecutable)->heldOpen = true;
  Run();
  EXPECT_EQ(StageLines(), Expected("0000"));
  EXPECT_EQ(ErrorBoxes().size(), 1u);
  EXPECT_EQ(BytesOf(kAssembly), oldAssembly);
  EXPECT_EQ(BytesOf(kExecutable), oldExecutable);
  EXPECT_EQ(Names(kFolder + std::string("Thornwickvale_Data\\Managed")),
            (std::vector<std::string>{"Assembly-CSharp.dll"}));
}

TEST_F(InstallRunTest, UnreadableGamePathGivesTargetsInTheCurrentFolder) {
  game->mayOpen = false;  // no path, and the game cannot be ended either
  Run();
  const std::string here = "C:\\Users\\player\\Downloads\\";
  EXPECT_EQ(ErrorBoxes().at(0).text, Report(gameId, window, "", "", "假\r\n假\r\n假\r\n真"));
  // "Thornwickvale_Data\Managed" is not there; the executable is.
  EXPECT_FALSE(Exists(here + "Thornwickvale_Data"));
  EXPECT_EQ(BytesOf(here + "Thornwickvale.exe"), Payload(payloads::ExecutablePayload()));
  EXPECT_EQ(BytesOf(kAssembly), oldAssembly);
  EXPECT_EQ(BytesOf(kExecutable), oldExecutable);
  EXPECT_EQ(StageLines(), Expected("0001", ""));
  ExpectPicturesWritten(here + "补丁对比图");
  EXPECT_EQ(CommandLines(), (std::vector<std::string>{"explorer.exe \"补丁对比图\""}))
      << "\"\" starts nothing";
}

TEST_F(InstallRunTest, GameExecutableOfAnotherName) {
  // Only the other executable is there: no Thornwickvale.exe to delete.
  world().processes.list.pop_back();
  world().windows.zOrder.clear();
  world().files.Remove(kExecutable);
  Game("ThornwickvaleSteam.exe");
  Run();
  EXPECT_EQ(StageLines(), Expected("1101", "ThornwickvaleSteam.exe"));
  EXPECT_EQ(ErrorBoxes().at(0).text,
            Report(gameId, window, kFolder, "ThornwickvaleSteam.exe", "真\r\n真\r\n假\r\n真"));
  EXPECT_EQ(BytesOf(kExecutable), Payload(payloads::ExecutablePayload())) << "written beside the old one";
  EXPECT_EQ(BytesOf(kFolder + std::string("ThornwickvaleSteam.exe")), oldExecutable);
  EXPECT_EQ(world().shell.started.at(0).commandLine,
            "\"" + std::string(kFolder) + "ThornwickvaleSteam.exe\"");
}

TEST_F(InstallRunTest, SecondInstallationOverTheFirst) {
  Run();
  world().files.Find(kPictures + "\\该文件夹没用可以直接删除")->bytes = Bytes("someone wrote here");
  world().files.Find(kPictures + "\\安装前.PNG")->bytes = Bytes("old picture");
  world().console.writes.clear();
  world().dialogs.shown.clear();
  world().shell.started.clear();
  // The restarted game is found again, by its name this time.
  gameId = world().processes.list.at(world().processes.list.size() - 2).id;
  Run();
  EXPECT_EQ(StageLines(), Expected("1111"));
  EXPECT_EQ(world().dialogs.shown.size(), 1u);
  EXPECT_EQ(BytesOf(kAssembly), Payload(payloads::AssemblyPayload()));
  EXPECT_EQ(BytesOf(kExecutable), Payload(payloads::ExecutablePayload()));
  ExpectPicturesWritten();
  EXPECT_EQ(Names(kFolder), Sorted({"Thornwickvale.exe", "Thornwickvale_Data", "补丁对比图"}));
  EXPECT_EQ(CommandLines(),
            (std::vector<std::string>{"\"" + kExecutable + "\"", "explorer.exe \"" + kPictures + "\""}));
}

// Whatever fails on the way, each target ends whole: its old file or its new
// payload, never a part and never nothing.
class InstallPatchTest : public SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    installer::StartUp();
    auto& program = installer::Program();
    program.GameProcessId = world().processes.Add("Thornwickvale.exe", u"").id;
    program.GameFolder = kFolder;
    program.GameFileName = "Thornwickvale.exe";
    world().files.AddFile(kAssembly, Bytes("old assembly"));
    world().files.AddFile(kExecutable, Bytes("old executable"));
    world().dialogs.Answer(sim::kIdOk);
  }
  std::vector<std::string> Log() {
    std::vector<std::string> lines;
    for (const auto& write : world().console.writes)
      if (write.text.starts_with("执行过程")) lines.push_back(write.text);
    return lines;
  }
};

TEST_F(InstallPatchTest, EveryTargetEndsWhole) {
  const std::string managed = std::string(kFolder) + "Thornwickvale_Data\\Managed";
  const struct {
    const char* name;
    std::function<void(sim::World&)> arrange;
    const char* steps;
    bool copyLeft = false;  // the temporary assembly copy could not be removed
  } cases[] = {
      {"nothing fails", [](sim::World&) {}, "1111"},
      {"new assembly cannot take the old one's place", [](sim::World& w) { w.FailNext("MoveFileExA", 2); },
       "0011"},
      {"new executable cannot take the old one's place", [](sim::World& w) { w.FailNext("MoveFileExA", 4); },
       "1100"},
      {"assembly copy cannot be created", [](sim::World& w) { w.FailNext("CreateFileA", 1); }, "0011"},
      {"executable copy cannot be created", [](sim::World& w) { w.FailNext("CreateFileA", 2); }, "1100"},
      {"assembly folder full", [&](sim::World& w) { w.files.Find(managed)->sizeLimit = 3; }, "0011"},
      {"failed copy cannot be removed",
       [](sim::World& w) {
         w.FailNext("MoveFileExA", 2);
         w.FailNext("DeleteFileA");
       },
       "0011", true},
      {"both held open by the game",
       [](sim::World& w) {
         w.files.Find(kAssembly)->heldOpen = true;
         w.files.Find(kExecutable)->heldOpen = true;
       },
       "0000"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    sim::ResetWorld();
    SetUp();
    c.arrange(world());
    EXPECT_TRUE(installer::InstallPatch());
    const std::string steps = c.steps;
    std::vector<std::string> expected;
    for (int i = 0; i < 4; ++i)
      expected.push_back("执行过程[" + std::to_string(i + 1) + "]:" + (steps[i] == '1' ? "真" : "假") +
                         "\r\n");
    EXPECT_EQ(Log(), expected);

    const sim::FileNode* assembly = world().files.Find(kAssembly);
    const sim::FileNode* executable = world().files.Find(kExecutable);
    ASSERT_TRUE(assembly && executable);
    EXPECT_EQ(assembly->bytes,
              steps[1] == '1' ? Payload(payloads::AssemblyPayload()) : Bytes("old assembly"));
    EXPECT_EQ(executable->bytes,
              steps[3] == '1' ? Payload(payloads::ExecutablePayload()) : Bytes("old executable"));
    EXPECT_EQ(world().files.Find(kAssembly + ".patch-new") != nullptr, c.copyLeft);
    EXPECT_FALSE(world().files.Find(kExecutable + ".patch-new"));
    EXPECT_EQ(world().dialogs.shown.size(), steps == "1111" ? 1u : 2u);
    EXPECT_EQ(world().handles.OpenCount(), 0);
  }
}

// A target that was not there has nothing to delete: a copy refused its
// free name for some other reason must not be logged as a deletion.
TEST_F(InstallPatchTest, AMissingTargetIsNeverLoggedAsDeleted) {
  const struct {
    const char* name;
    bool refused;
    const char *log1, *log2;
  } cases[] = {{"the copy takes the free name", false, "执行过程[1]:假\r\n", "执行过程[2]:真\r\n"},
               {"the free name is refused once", true, "执行过程[1]:假\r\n", "执行过程[2]:假\r\n"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    sim::ResetWorld();
    SetUp();
    world().files.Remove(kAssembly);
    if (c.refused) world().FailNext("MoveFileExA");
    EXPECT_TRUE(installer::InstallPatch());
    const auto log = Log();
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[0], c.log1);
    EXPECT_EQ(log[1], c.log2);
    const sim::FileNode* assembly = world().files.Find(kAssembly);
    EXPECT_EQ(assembly != nullptr, !c.refused);
    if (assembly) {
      EXPECT_EQ(assembly->bytes, Payload(payloads::AssemblyPayload()));
    }
    EXPECT_FALSE(world().files.Find(kAssembly + ".patch-new"));
    EXPECT_EQ(world().dialogs.shown.size(), 2u) << "the error report";
  }
}

TEST_F(InstallPatchTest, ProcessIdZeroNeverEndsTheInstaller) {
  installer::Program().GameProcessId = 0;
  EXPECT_TRUE(installer::InstallPatch());
  EXPECT_TRUE(world().processes.Self().running);
  EXPECT_EQ(world().CallCount("TerminateProcess"), 0);
}

}  // namespace
