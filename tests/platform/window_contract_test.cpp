// Window and message functions: the real platform's answers, which the
// simulation must give as well. Windows are made by the test itself; where
// the system cannot make windows (Wine without a display) those cases skip.
#include <gtest/gtest.h>

#include <string>

#include "platform/process.h"
#include "platform/window.h"
#include "tests/platform/contract_arrange.h"

namespace {

using contract::ContractTest;
using contract::WindowPlan;

constexpr win::Uint kWmUser = 0x400;

class WindowContract : public ContractTest {
 protected:
  win::Hwnd Make(const WindowPlan& plan) {
    const win::Hwnd window = contract::MakeWindow(plan);
    if (win::IsNull(window)) ADD_FAILURE() << "no window";
    return window;
  }
  bool CanMakeWindows() { return !win::IsNull(contract::MakeWindow({u"probe", u"TwProbeClass"})); }
};

TEST_F(WindowContract, NoWindow) {
  win::Dword id = 77;
  EXPECT_EQ(win::GetWindowThreadProcessId(win::Hwnd{}, &id), 0u);
  EXPECT_EQ(id, 77u);  // left as it was
  EXPECT_FALSE(win::IsWindowVisible(win::Hwnd{}));
  EXPECT_TRUE(win::IsNull(win::GetParent(win::Hwnd{})));
  char name[8] = "x";
  EXPECT_EQ(win::GetClassNameA(win::Hwnd{}, name, 8), 0);
  EXPECT_EQ(win::GetWindowTextLengthW(win::Hwnd{}), 0);
  EXPECT_TRUE(win::IsNull(win::FindWindowExA(win::Hwnd{}, win::Hwnd{}, "TwNoSuchClass", nullptr)));
}

TEST_F(WindowContract, FindWindowExA) {
  if (!CanMakeWindows()) GTEST_SKIP() << "this system cannot make windows (no display)";
  const win::Hwnd window = Make({u"Tw Contract 窗口", u"TwContractClass"});
  const struct {
    const char* className;
    const char* title;
    bool found;
  } cases[] = {
      {"TwContractClass", "Tw Contract 窗口", true},
      {"twcontractclass", "TW CONTRACT 窗口", true},
      {nullptr, "tw contract 窗口", true},
      {"TwContractClass", nullptr, true},
      {"TwContractClass", "Tw Contract", false},
      {"TwContractClass", "Tw Contract 窗口 2", false},
      {"TwContractClass", "", false},
      {"TwNoSuchClass", nullptr, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.className ? c.className : "(any)") + " / " + (c.title ? c.title : "(any)"));
    EXPECT_EQ(win::FindWindowExA(win::Hwnd{}, win::Hwnd{}, c.className, c.title),
              c.found ? window : win::Hwnd{});
  }
  // After the window itself, no further window of that class.
  EXPECT_TRUE(win::IsNull(win::FindWindowExA(win::Hwnd{}, window, "TwContractClass", nullptr)));
}

TEST_F(WindowContract, OwnerVisibilityAndParent) {
  if (!CanMakeWindows()) GTEST_SKIP() << "this system cannot make windows (no display)";
  const win::Hwnd shown = Make({u"shown", u"TwContractClass", true});
  const win::Hwnd hidden = Make({u"hidden", u"TwContractClass", false});
  const win::Hwnd owned = Make({u"owned", u"TwContractClass", false, shown});
  win::Dword id = 0;
  EXPECT_NE(win::GetWindowThreadProcessId(shown, &id), 0u);
  EXPECT_EQ(id, win::GetCurrentProcessId());
  EXPECT_NE(win::GetWindowThreadProcessId(shown, nullptr), 0u);
  EXPECT_TRUE(win::IsWindowVisible(shown));
  EXPECT_FALSE(win::IsWindowVisible(hidden));
  EXPECT_TRUE(win::IsNull(win::GetParent(shown)));
  EXPECT_EQ(win::GetParent(owned), shown);  // an owned pop-up answers its owner
}

TEST_F(WindowContract, GetClassNameA) {
  if (!CanMakeWindows()) GTEST_SKIP() << "this system cannot make windows (no display)";
  const win::Hwnd plain = Make({u"plain", u"TwContractClass"});
  const win::Hwnd wide = Make({u"wide", std::u16string(200, u'类')});
  std::string many;
  for (int i = 0; i < 129; ++i) many += "类";
  const struct {
    win::Hwnd window;
    int room;
    int result;
    std::string name;
  } cases[] = {
      {plain, 260, 15, "TwContractClass"},
      {plain, 16, 15, "TwContractClass"},
      {plain, 4, 3, "TwC"},
      {plain, 1, 0, ""},
      {wide, 260, 258, many},  // whole characters only
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.room);
    char name[261];
    std::fill(std::begin(name), std::end(name), '#');
    EXPECT_EQ(win::GetClassNameA(c.window, name, c.room), c.result);
    EXPECT_EQ(std::string(name), c.name);
  }
}

TEST_F(WindowContract, WindowText) {
  if (!CanMakeWindows()) GTEST_SKIP() << "this system cannot make windows (no display)";
  const std::u16string title = u"Tw Contract 窗口";
  const win::Hwnd window = Make({title});
  const win::Hwnd untitled = Make({u""});
  EXPECT_EQ(win::GetWindowTextLengthW(window), static_cast<int>(title.size()));
  EXPECT_EQ(win::GetWindowTextLengthW(untitled), 0);
  const struct {
    int room;
    int result;
    std::u16string text;
  } cases[] = {{100, 14, title}, {15, 14, title}, {5, 4, u"Tw C"}, {1, 0, u""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.room);
    win::Wchar text[100];
    std::fill(std::begin(text), std::end(text), u'#');
    EXPECT_EQ(win::GetWindowTextW(window, text, c.room), c.result);
    EXPECT_EQ(std::u16string(text), c.text);
  }
}

TEST_F(WindowContract, PeekMessageA) {
  const win::Uint message = kWmUser + 5;
  win::Msg msg;
  EXPECT_FALSE(win::PeekMessageA(&msg, win::Hwnd{}, message, message, win::kPmNoRemove));
  contract::PostToOwnThread(message);
  ASSERT_TRUE(win::PeekMessageA(&msg, win::Hwnd{}, message, message, win::kPmNoRemove));
  EXPECT_EQ(msg.message, message);
  EXPECT_EQ(msg.wParam, 7u);
  EXPECT_EQ(msg.lParam, 9);
  EXPECT_TRUE(win::IsNull(msg.hwnd));
  EXPECT_TRUE(win::PeekMessageA(&msg, win::Hwnd{}, message, message, win::kPmNoRemove));  // still there
  ASSERT_TRUE(win::PeekMessageA(&msg, win::Hwnd{}, message, message, win::kPmRemove));
  EXPECT_FALSE(win::TranslateMessage(&msg));  // not a key
  EXPECT_EQ(win::DispatchMessageA(&msg), 0);  // no window to take it
  EXPECT_FALSE(win::PeekMessageA(&msg, win::Hwnd{}, message, message, win::kPmNoRemove));
}

}  // namespace
