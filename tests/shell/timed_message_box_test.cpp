#include "shell/timed_message_box.h"

#include <gtest/gtest.h>

#include "platform/window.h"
#include "tests/support/sim_test.h"

namespace {

using shell::FindProcessWindow;
using shell::GetWindowClassText;
using shell::GetWindowTitleText;
using shell::TimedMessageBox;

class TimedMessageBoxTest : public SimTest {
 protected:
  win::Dword self() { return world().processes.selfId; }
  const sim::MessageBoxRecord& box() { return world().dialogs.shown.back(); }
};

TEST_F(TimedMessageBoxTest, ButtonCodeIsTheBoxResultMinusOne) {
  const struct {
    int answer;
    int code;
  } cases[] = {{sim::kIdOk, 0},
               {sim::kIdCancel, 1},
               {3, 2},
               {4, 3},
               {5, 4},
               {6, 5},
               {7, 6},
               {10, 9},
               {11, 10},
               {sim::kTimedOut, 31999},
               {sim::kBoxFailed, -1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answer);
    world().dialogs.Answer(c.answer);
    EXPECT_EQ(TimedMessageBox("问题", 33u, std::string("标题"), win::Hwnd{}, 1000u), c.code);
  }
}

TEST_F(TimedMessageBoxTest, LeftOutArgumentsTakeTheirDefaults) {
  const std::uint64_t before = world().clock.now;
  EXPECT_EQ(TimedMessageBox("请稍候"), 31999);  // left alone: it closes itself
  ASSERT_EQ(world().dialogs.shown.size(), 1u);
  EXPECT_EQ(box().text, "请稍候");
  EXPECT_EQ(box().caption, "友情提醒");
  EXPECT_EQ(box().style, 0u);
  EXPECT_EQ(box().timeout, 5000u);
  EXPECT_EQ(box().language, 0);
  EXPECT_TRUE(win::IsNull(box().owner));
  EXPECT_EQ(world().clock.now - before, 5000u);
  // The owner was searched for among the windows of this very process.
  EXPECT_EQ(world().CallCount("GetCurrentProcessId"), 1);
  EXPECT_EQ(world().CallCount("FindWindowExA"), 1);
}

TEST_F(TimedMessageBoxTest, GivenArgumentsPassUnchangedAndAnOwnerOfZeroStartsNoSearch) {
  world().windows.Add(u"安装程序", self());
  world().dialogs.Answer(sim::kIdOk);
  EXPECT_EQ(TimedMessageBox("成功检查到游戏，是否确认安装补丁？\r\n请确保你的游戏版本是: ver 0.24g", 33u,
                            std::string("欧尼酱~有件事要问您~"), win::Hwnd{}, 1000000u),
            0);
  EXPECT_EQ(box().text, "成功检查到游戏，是否确认安装补丁？\r\n请确保你的游戏版本是: ver 0.24g");
  EXPECT_EQ(box().caption, "欧尼酱~有件事要问您~");
  EXPECT_EQ(box().style, 33u);
  EXPECT_EQ(box().timeout, 1000000u);
  EXPECT_TRUE(win::IsNull(box().owner));
  EXPECT_EQ(world().CallCount("FindWindowExA"), 0);
  EXPECT_EQ(world().CallCount("GetCurrentProcessId"), 0);
}

TEST_F(TimedMessageBoxTest, AnEmptyTitleIsAGivenTitle) {
  world().dialogs.Answer(sim::kIdOk);
  TimedMessageBox("x", std::nullopt, std::string(), win::Hwnd{});
  EXPECT_EQ(box().caption, "");
}

TEST_F(TimedMessageBoxTest, ALeftOutOwnerIsTheProcesssFirstVisibleParentlessWindow) {
  auto& windows = world().windows;
  const win::Dword other = world().processes.Add("Other.exe", u"\\Device\\HarddiskVolume2\\Other.exe").id;
  windows.Add(u"别人的窗口", other);
  windows.Add(u"隐藏", self()).visible = false;
  const auto mine = windows.Add(u"安装程序", self()).handle;
  windows.Add(u"弹出", self()).parent = mine;  // an owned pop-up
  windows.Add(u"第二个", self());
  world().dialogs.Answer(sim::kIdCancel);
  EXPECT_EQ(TimedMessageBox("问题", 33u), 1);
  EXPECT_EQ(box().owner, mine);
}

class FindProcessWindowTest : public TimedMessageBoxTest {};

TEST_F(FindProcessWindowTest, SkipsHiddenOwnedAndForeignWindowsAndTakesTheTopmost) {
  auto& windows = world().windows;
  const win::Dword other = world().processes.Add("Other.exe", u"\\Device\\HarddiskVolume2\\Other.exe").id;
  const auto foreign = windows.Add(u"别人的窗口", other).handle;
  const auto hidden = windows.Add(u"隐藏", self()).handle;
  windows.Find(hidden)->visible = false;
  const auto owned = windows.Add(u"弹出", self()).handle;
  windows.Find(owned)->parent = foreign;
  const auto first = windows.Add(u"主窗口", self()).handle;
  windows.Add(u"次窗口", self());

  EXPECT_EQ(FindProcessWindow(self()), first);
  EXPECT_EQ(FindProcessWindow(self(), std::nullopt, std::nullopt, std::nullopt, false), hidden);
  EXPECT_EQ(FindProcessWindow(other), foreign);
  EXPECT_TRUE(win::IsNull(FindProcessWindow(9999)));
}

TEST_F(FindProcessWindowTest, ChildWindowsAreNotTopLevel) {
  auto& windows = world().windows;
  const auto top = windows.Add(u"外层", world().processes.Add("Other.exe", u"").id).handle;
  auto& child = windows.Add(u"子窗口", self());
  child.child = true;
  child.parent = top;
  EXPECT_TRUE(win::IsNull(FindProcessWindow(self())));
}

TEST_F(FindProcessWindowTest, FiltersAreCaseSensitivePiecesOfClassAndCaption) {
  auto& windows = world().windows;
  windows.Add(u"", self(), u"");  // no caption, no class
  const auto game = windows.Add(u"Thornwickvale 游戏", self(), u"GameWindowClass").handle;
  const std::optional<std::string> none;
  const struct {
    const char* name;
    std::optional<std::string> caption, className;
    bool first, game;
  } cases[] = {
      {"no filter", none, none, true, false},
      {"empty caption filter", std::string(), none, false, true},
      {"empty class filter", none, std::string(), false, true},
      {"caption piece", std::string("wick"), none, false, true},
      {"caption other case", std::string("WICK"), none, false, false},
      {"gbk caption piece", std::string("游戏"), none, false, true},
      {"class piece", none, std::string("Window"), false, true},
      {"class other case", none, std::string("window"), false, false},
      {"both match", std::string("Thorn"), std::string("Game"), false, true},
      {"one of two fails", std::string("Thorn"), std::string("Dialog"), false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const win::Hwnd found = FindProcessWindow(self(), c.caption, c.className);
    const win::Hwnd expected = c.first ? windows.zOrder.front().handle : c.game ? game : win::Hwnd{};
    EXPECT_EQ(found, expected);
  }
}

TEST_F(FindProcessWindowTest, ACaptionFilterNeverMatchesFromInsideATwoByteCharacter) {
  // B0 A1 B0 A1 ("啊啊") holds A1 B0 only across a character boundary.
  world().windows.Add(u"啊啊", self());
  EXPECT_TRUE(win::IsNull(FindProcessWindow(self(), std::string("\xA1\xB0"))));
  EXPECT_FALSE(win::IsNull(FindProcessWindow(self(), std::string("\xB0\xA1"))));
}

TEST_F(FindProcessWindowTest, WalksTheListOnceAndDispatchesAfterEachVisibleWindowThatFails) {
  auto& windows = world().windows;
  const win::Dword other = world().processes.Add("Other.exe", u"").id;
  windows.Add(u"隐藏", self()).visible = false;  // skipped without the message step
  windows.Add(u"别人的", other);
  windows.Add(u"别人的2", other);
  windows.Post(0x400);  // WM_USER
  windows.Post(win::kWmQuit);
  windows.Post(0x401);

  EXPECT_TRUE(win::IsNull(FindProcessWindow(self())));
  EXPECT_EQ(world().CallCount("FindWindowExA"), 4);  // three windows and the end of the list
  ASSERT_EQ(windows.dispatched.size(), 1u);
  EXPECT_EQ(windows.dispatched[0].message, 0x400u);
  EXPECT_EQ(windows.translated, 1);
  // The WM_QUIT and what follows it stay for the thread's own loop.
  ASSERT_EQ(windows.queue.size(), 2u);
  EXPECT_EQ(windows.queue[0].message, win::kWmQuit);
}

TEST_F(FindProcessWindowTest, TimeLimitEndsTheSearch) {
  const struct {
    const char* name;
    std::optional<std::int32_t> limit;
    std::uint64_t costOfADispatch;
    bool found;
  } cases[] = {
      {"within 1000 ms", 1000, 999, true},
      {"1000 ms used up", 1000, 1000, false},
      {"limit 0", 0, 0, false},
      {"left out: 31536000 ms", std::nullopt, 31'535'999, true},
      {"left out, used up", std::nullopt, 31'536'000, false},
      {"negative counts as left out", -5, 31'535'999, true},
      {"negative, used up", -5, 31'536'000, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    sim::ResetWorld();
    auto& windows = world().windows;
    windows.Add(u"别人的", world().processes.Add("Other.exe", u"").id);
    const auto mine = windows.Add(u"我的", self()).handle;
    windows.Post(0x400);
    windows.onDispatch = [&, cost = c.costOfADispatch](const sim::SimMessage&) {
      world().clock.Advance(cost);
    };
    const win::Hwnd found = FindProcessWindow(self(), std::nullopt, std::nullopt, c.limit);
    EXPECT_EQ(found, c.found ? mine : win::Hwnd{});
  }
}

TEST_F(TimedMessageBoxTest, OwnerSearchGivesUpAfterOneSecond) {
  auto& windows = world().windows;
  windows.Add(u"别人的", world().processes.Add("Other.exe", u"").id);
  windows.Add(u"我的", self());
  windows.Post(0x400);
  windows.onDispatch = [&](const sim::SimMessage&) { world().clock.Advance(1000); };
  world().dialogs.Answer(sim::kIdOk);
  EXPECT_EQ(TimedMessageBox("x"), 0);
  EXPECT_TRUE(win::IsNull(box().owner));
}

TEST_F(TimedMessageBoxTest, WindowTexts) {
  auto& windows = world().windows;
  const std::u16string longTitle(40000, u'长');
  const struct {
    const char* name;
    std::u16string title, className;
    std::string expectedTitle, expectedClass;
  } cases[] = {
      {"plain", u"Thornwickvale", u"GameWindowClass", "Thornwickvale", "GameWindowClass"},
      {"empty", u"", u"", "", ""},
      {"not in code page 936", u"\u0E01x", u"\u0E01", "?x", "?"},
      {"class of 260 bytes: whole characters of 259", u"", std::u16string(130, u'类'), "",
       [] {
         std::string s;
         for (int i = 0; i < 129; ++i) s += "类";
         return s;
       }()},
      {"class of 300 ASCII bytes", u"", std::u16string(300, u'c'), "", std::string(259, 'c')},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto window = windows.Add(c.title, self(), c.className).handle;
    EXPECT_EQ(GetWindowTitleText(window), c.expectedTitle);
    EXPECT_EQ(GetWindowClassText(window), c.expectedClass);
  }
  std::string expectedLong;
  for (int i = 0; i < 40000; ++i) expectedLong += "长";
  EXPECT_EQ(GetWindowTitleText(windows.Add(longTitle, self()).handle), expectedLong);
  EXPECT_EQ(GetWindowTitleText(static_cast<win::Hwnd>(0x1234)), "");
  EXPECT_EQ(GetWindowClassText(static_cast<win::Hwnd>(0x1234)), "");
}

TEST_F(TimedMessageBoxTest, FailedPlatformCallsGiveEmptyTexts) {
  const auto window = world().windows.Add(u"标题", self(), u"类").handle;
  world().FailNext("GetClassNameA");
  world().FailNext("GetWindowTextLengthW");
  EXPECT_EQ(GetWindowClassText(window), "");
  EXPECT_EQ(GetWindowTitleText(window), "");
  world().FailNext("MessageBoxTimeoutA");
  EXPECT_EQ(TimedMessageBox("x", 0u, std::nullopt, win::Hwnd{}), -1);
  EXPECT_TRUE(world().dialogs.shown.empty());
}

}  // namespace
