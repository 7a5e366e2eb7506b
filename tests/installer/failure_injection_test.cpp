// Every platform call of an installed run, from the consent question to the
// closing wait, made to fail in turn, one at a time: the run still ends as
// it should, no game file is lost or cut short, everything obtained is
// released and the console gets its colours back.
#include <algorithm>
#include <iostream>
#include <map>
#include <sstream>

#include <gtest/gtest.h>

#include "installer/program_state.h"
#include "payloads/payloads.h"
#include "platform/memory.h"
#include "tests/support/bytes.h"
#include "tests/support/sim_test.h"

namespace {

using testing_bytes::Bytes;

constexpr const char* kFolder = "C:\\Program Files (x86)\\Thornwickvale\\";
const std::string kManaged = std::string(kFolder) + "Thornwickvale_Data\\Managed";
const std::string kAssembly = kManaged + "\\Assembly-CSharp.dll";
const std::string kExecutable = std::string(kFolder) + "Thornwickvale.exe";
const std::string kPictures = std::string(kFolder) + "补丁对比图";
const std::string kClosingLine = "补丁安装结束，程序在10秒后自动关闭......\r\n";
const std::string kStepLine = "执行过程[";
constexpr win::Word kConsoleColours = 0x07;  // the console's own, before the run
constexpr win::Word kClosingColours = 0x5F;
constexpr std::size_t kCallsPerLine = 5;  // screen info, colours, text, flush, colours back

text::ByteBuffer Payload(const payloads::PatchPayload& payload) {
  return text::ByteBuffer(payload.bytes.begin(), payload.bytes.end());
}

const text::ByteBuffer kOldAssembly = Bytes("the assembly of ver 0.24g");
const text::ByteBuffer kOldExecutable = Bytes("the executable of ver 0.24g, a little longer");

// A running game found by its window title, its executable in place and its
// assembly too (or missing beforehand), the update check answered with this
// installer's own version and the consent question with OK.
win::Dword ArrangeInstalledRun(bool assemblyThere) {
  sim::ResetWorld();
  sim::World& world = sim::TheWorld();
  const auto& game = world.processes.Add(
      "Thornwickvale.exe",
      u"\\Device\\HarddiskVolume2\\Program Files (x86)\\Thornwickvale\\Thornwickvale.exe");
  world.windows.Add(u"Thornwickvale", game.id);
  if (assemblyThere)
    world.files.AddFile(kAssembly, kOldAssembly);
  else
    world.files.AddFolder(kManaged);
  world.files.AddFile(kExecutable, kOldExecutable);
  world.inet.Answer({"HTTP/1.1 200 OK\r\n\r\n", "1.1", {}});
  world.dialogs.Answer(sim::kIdOk);
  return game.id;
}

std::vector<std::string> Texts(const sim::World& world) {
  std::vector<std::string> texts;
  for (const auto& write : world.console.writes) texts.push_back(write.text);
  return texts;
}

// A step log line without its 真 or 假, which the files tell.
std::string WithoutValue(const std::string& line) {
  return line.starts_with(kStepLine) ? line.substr(0, kStepLine.size() + 3) : line;
}

std::vector<std::string> Names(const sim::World& world, const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& key : world.files.List(folder)) names.push_back(world.files.nodes.at(key).name);
  std::sort(names.begin(), names.end());
  return names;
}

// What the file handles left open refer to.
std::vector<std::string> OpenFileHandles(const sim::World& world) {
  std::vector<std::string> files;
  for (const auto& [value, entry] : world.handles.open)
    if (entry.kind == sim::HandleKind::File) files.push_back(entry.note);
  return files;
}

// The run without any failure, and where its pieces lie in the call log.
struct Baseline {
  bool assemblyThere = true;
  std::vector<std::string> calls;
  std::vector<std::string> lines;
  std::vector<std::size_t> lineStarts;  // first call of each console line
  std::vector<win::Word> colours;       // every change of the console's colours
  std::size_t boxes = 0;
  std::size_t first = 0;  // first call of the installation
  std::size_t consentBox = 0;
  std::size_t linesBefore = 0;  // console lines before the installation
};

Baseline RecordBaseline(bool assemblyThere) {
  ArrangeInstalledRun(assemblyThere);
  installer::ProgramMain();
  const sim::World& world = sim::TheWorld();
  Baseline base;
  base.assemblyThere = assemblyThere;
  base.calls = world.calls;
  base.lines = Texts(world);
  base.colours = world.console.attributeHistory;
  base.boxes = world.dialogs.shown.size();
  for (std::size_t i = 0; i < base.calls.size(); ++i)
    if (base.calls[i] == "GetConsoleScreenBufferInfo") base.lineStarts.push_back(i);
  // The information lines end with the one-second wait; the consent
  // question follows.
  base.first = static_cast<std::size_t>(std::find(base.calls.begin(), base.calls.end(), "Sleep") -
                                        base.calls.begin()) +
               1;
  base.consentBox =
      static_cast<std::size_t>(std::find(base.calls.begin() + static_cast<std::ptrdiff_t>(base.first),
                                         base.calls.end(), "MessageBoxTimeoutA") -
                               base.calls.begin());
  base.linesBefore = static_cast<std::size_t>(std::count_if(base.lineStarts.begin(), base.lineStarts.end(),
                                                            [&](std::size_t at) { return at < base.first; }));
  return base;
}

class FailureInjectionTest : public SimTest {
 protected:
  // One installed run with the call at `at` of the log failing.
  void RunFailingAt(const Baseline& base, std::size_t at);

  // What each failing call did, for the summary.
  std::map<std::string, std::map<std::string, int>> effects;
  void Effect(const std::string& what, const std::string& function) { ++effects[what][function]; }
};

void FailureInjectionTest::RunFailingAt(const Baseline& base, std::size_t at) {
  const std::string& function = base.calls[at];
  const win::Dword gameId = ArrangeInstalledRun(base.assemblyThere);
  world().FailCallAt(at);
  installer::ProgramMain();
  sim::World& w = world();
  // The same run up to this call, and this call failed.
  ASSERT_EQ(w.failed, (std::vector<std::string>{function}));
  ASSERT_TRUE(std::equal(base.calls.begin(), base.calls.begin() + static_cast<std::ptrdiff_t>(at) + 1,
                         w.calls.begin()));

  // The console line the call belongs to, if any, and which of its calls.
  std::optional<std::size_t> line, step;
  for (std::size_t k = 0; k < base.lineStarts.size(); ++k)
    if (at >= base.lineStarts[k] && at < base.lineStarts[k] + kCallsPerLine) {
      line = k;
      step = at - base.lineStarts[k];
    }
  const bool lineLost = line && *step <= 2;  // before its text was out
  const bool declined = at == base.consentBox;

  // The run goes on to its closing line and wait: a failed question is
  // no consent; nothing else stops it.
  std::vector<std::string> expected = base.lines;
  if (declined) {
    expected.resize(base.linesBefore);
    expected.push_back(kClosingLine);
    Effect("consent counts as refused", function);
  } else if (lineLost) {
    expected.erase(expected.begin() + static_cast<std::ptrdiff_t>(*line));
    Effect("one console line not shown", function);
  }
  std::vector<std::string> texts = Texts(w);
  std::transform(texts.begin(), texts.end(), texts.begin(), WithoutValue);
  std::transform(expected.begin(), expected.end(), expected.begin(), WithoutValue);
  EXPECT_EQ(texts, expected);
  const std::vector<std::uint32_t> waits = declined ? std::vector<std::uint32_t>{1000, 10000}
                                                    : std::vector<std::uint32_t>{1000, 2000, 2000, 10000};
  EXPECT_EQ(w.clock.sleeps, waits);

  // Each game file holds its whole old bytes or its whole new payload; one
  // that was not there is whole or absent.
  const sim::FileNode* assembly = w.files.Find(kAssembly);
  const sim::FileNode* executable = w.files.Find(kExecutable);
  ASSERT_TRUE(executable) << "the executable went missing";
  ASSERT_TRUE(assembly || !base.assemblyThere) << "the assembly went missing";
  const bool newAssembly = assembly && assembly->bytes == Payload(payloads::AssemblyPayload());
  const bool newExecutable = executable->bytes == Payload(payloads::ExecutablePayload());
  if (assembly) {
    EXPECT_TRUE(newAssembly || (base.assemblyThere && assembly->bytes == kOldAssembly))
        << "the assembly was cut short";
  }
  EXPECT_TRUE(newExecutable || executable->bytes == kOldExecutable) << "the executable was cut short";

  // An old file is deleted exactly when its new one took its place; a file
  // that was not there has nothing to delete. The step log and the error
  // report say so.
  const std::vector<bool> truth = {base.assemblyThere && newAssembly, newAssembly, newExecutable,
                                   newExecutable};
  const std::vector<bool> usual = {base.assemblyThere, true, true, true};
  std::string steps;
  for (bool ok : truth) steps += std::string(steps.empty() ? "" : "\r\n") + (ok ? "真" : "假");
  for (const auto& write : w.console.writes)
    if (write.text.starts_with(kStepLine)) {
      const std::size_t entry = static_cast<std::size_t>(write.text[kStepLine.size()] - '1');
      ASSERT_LT(entry, 4u);
      EXPECT_EQ(write.text.substr(kStepLine.size() + 3), std::string(truth[entry] ? "真" : "假") + "\r\n");
    }
  const bool stepFailed = std::find(truth.begin(), truth.end(), false) != truth.end();
  if (!declined && truth != usual) {
    Effect("a file step fails: 假 in the log and the error report", function);
    EXPECT_TRUE(newAssembly || newExecutable) << "one failure touches one file step";
  }
  // The questions: the consent, then the error report when a step failed.
  // A box the system refuses never shows; nothing else asks or reports.
  const bool reportRefused = function == "MessageBoxTimeoutA" && !declined;
  const auto& boxes = w.dialogs.shown;
  if (reportRefused) Effect("the error report is not shown; the run goes on", function);
  const std::size_t expectedBoxes = declined ? 0 : 1 + (stepFailed && !reportRefused ? 1 : 0);
  ASSERT_EQ(boxes.size(), expectedBoxes) << "nothing from the restart";
  if (!declined) {
    EXPECT_EQ(boxes[0].style, 0x21u) << "the consent question";
  }
  if (expectedBoxes == 2) {
    EXPECT_EQ(boxes[1].style, 0x10u);
    EXPECT_TRUE(boxes[1].text.ends_with("执行过程:\r\n" + steps)) << boxes[1].text;
  }

  // No temporary copy stays beside a game file, unless it could not be
  // closed: then it is the one handle left open.
  std::vector<std::string> strays;
  for (const std::string& folder : {std::string(kFolder), kManaged})
    for (const auto& name : Names(w, folder))
      if (name != "Thornwickvale.exe" && name != "Thornwickvale_Data" && name != "补丁对比图" &&
          name != "Assembly-CSharp.dll")
        strays.push_back(sim::FileState::Fold(folder + (folder.ends_with("\\") ? "" : "\\") + name));
  if (!strays.empty()) {
    Effect("a copy that could not be closed stays beside its target", function);
    EXPECT_EQ(function, "CloseHandle");
    EXPECT_EQ(strays, (std::vector<std::string>{OpenFileHandles(w).at(0)}));
  }

  // The game is ended unless ending it failed; then the restart.
  int wholePictures = 0;
  const bool gameEnded = !w.processes.Find(gameId)->running;
  EXPECT_EQ(gameEnded, !declined && function != "OpenProcess" && function != "TerminateProcess");
  if (!declined && !gameEnded) Effect("the game is not ended; the installation goes on", function);
  if (declined) {
    EXPECT_FALSE(newAssembly || newExecutable);
    EXPECT_FALSE(w.files.Find(kPictures));
    EXPECT_TRUE(w.shell.started.empty());
  } else {
    // Nothing stops the restart: both programs are tried, the pictures
    // are written unless their own call failed.
    EXPECT_EQ(w.CallCount("CreateProcessA"), 2);
    std::vector<std::string> started;
    for (const auto& s : w.shell.started) started.push_back(s.commandLine);
    const std::string game = "\"" + kExecutable + "\"", explorer = "explorer.exe \"" + kPictures + "\"";
    if (function == "CreateProcessA") {
      EXPECT_EQ(started.size(), 1u);
      Effect("a program of the restart is not started", function);
    } else {
      EXPECT_EQ(started, (std::vector<std::string>{game, explorer}));
    }

    const bool folder = w.files.Find(kPictures) && w.files.Find(kPictures)->folder;
    if (!folder) Effect("the picture folder is missing", function);
    const struct {
      const char* name;
      text::ByteBuffer bytes;
    } pictures[] = {{"该文件夹没用可以直接删除", {}},
                    {"安装前.PNG", Payload(payloads::BeforePicture())},
                    {"安装后.PNG", Payload(payloads::AfterPicture())}};
    for (const auto& picture : pictures) {
      SCOPED_TRACE(picture.name);
      const sim::FileNode* node = w.files.Find(kPictures + "\\" + picture.name);
      if (node && node->bytes == picture.bytes) {
        ++wholePictures;
      } else if (!node) {
        EXPECT_TRUE(!folder || function == "CreateFileA");
        if (folder) Effect("a picture is missing", function);
      } else {
        // A picture write failing half-way leaves what was written.
        EXPECT_EQ(function, "WriteFile");
        EXPECT_LT(node->bytes.size(), picture.bytes.size());
        Effect("a picture is cut short", function);
      }
    }
    if (folder) {
      EXPECT_GE(wholePictures, 2);
    }
  }

  // Everything obtained was released, but for the one object whose
  // release failed.
  const bool release = function == "CloseHandle" || function == "LocalFree" || function == "HeapFree";
  EXPECT_EQ(w.handles.OpenCount(), function == "CloseHandle" ? 1 : 0);
  EXPECT_EQ(w.memory.heapBlocks.size(), function == "HeapFree" ? 1u : 0u);
  EXPECT_EQ(w.memory.localBlocks.size(), function == "LocalFree" ? 1u : 0u);
  EXPECT_EQ(w.handles.badCloses, 0);
  EXPECT_EQ(w.memory.badFrees, 0);
  EXPECT_EQ(w.inet.OpenCount(), 0);
  EXPECT_FALSE(w.processes.debugPrivilegeOn);
  if (release) Effect("the object whose release failed stays", function);
  // The world is thrown away with the next run: give back the simulated
  // blocks a failed release left, which are real memory.
  while (!w.memory.localBlocks.empty())
    win::LocalFree(const_cast<void*>(w.memory.localBlocks.begin()->first));
  while (!w.memory.heapBlocks.empty())
    win::HeapFree(win::GetProcessHeap(), 0, const_cast<void*>(w.memory.heapBlocks.begin()->first));

  // A line whose colours could not be put back leaves them until the
  // next line; after the closing line they are the console's own, unless
  // the closing line itself is the one that could not.
  const bool closingLeft = line && *line == base.lineStarts.size() - 1 && *step >= 2;
  EXPECT_EQ(w.console.attribute, closingLeft ? kClosingColours : kConsoleColours);
  if (line && *step >= 2) Effect("one line's colours are not put back at once", function);

  if (w.calls == base.calls && Texts(w) == base.lines && w.dialogs.shown.size() == base.boxes &&
      w.console.attributeHistory == base.colours && truth == usual && gameEnded &&
      w.shell.started.size() == 2 && wholePictures == 3 && !release)
    Effect("the run goes on exactly as without it", function);
}

TEST_F(FailureInjectionTest, EveryCallOfTheInstallationAndRestartFailingInTurn) {
  int injected = 0;
  std::ostringstream ranges;
  for (bool assemblyThere : {true, false}) {
    SCOPED_TRACE(assemblyThere ? "both game files there" : "the assembly missing beforehand");
    const Baseline base = RecordBaseline(assemblyThere);
    ASSERT_EQ(sim::TheWorld().clock.sleeps, (std::vector<std::uint32_t>{1000, 2000, 2000, 10000}));
    ASSERT_EQ(base.lines.size(), base.linesBefore + 8) << "two lines, the step log, the restart, the closing";
    ASSERT_EQ(base.lines.back(), kClosingLine);
    ASSERT_LT(base.consentBox, base.calls.size());
    ASSERT_EQ(sim::TheWorld().dialogs.shown.size(), assemblyThere ? 1u : 2u);

    for (std::size_t at = base.first; at < base.calls.size(); ++at, ++injected) {
      SCOPED_TRACE(testing::Message() << "call " << at << ": " << base.calls[at]);
      RunFailingAt(base, at);
    }
    ranges << (assemblyThere ? "" : ", ") << "calls " << base.first << " to " << base.calls.size() - 1
           << (assemblyThere ? " with both files there" : " with the assembly missing");
  }

  RecordProperty("injected_failures", injected);
  std::ostringstream summary;
  summary << injected << " failures injected (" << ranges.str() << "):\n";
  for (const auto& [what, functions] : effects) {
    summary << "  " << what << ":";
    for (const auto& [function, count] : functions) summary << " " << function << " x" << count;
    summary << "\n";
  }
  std::cout << summary.str();
}

}  // namespace
