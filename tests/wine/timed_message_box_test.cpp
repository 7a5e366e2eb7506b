// The timed message box and the window search with the real system: a
// thread of the test presses the box's buttons.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "shell/timed_message_box.h"
#include "tests/wine/stand_in_game.h"

namespace {

using wine_test::HasDisplay;

win::Hwnd Ours(HWND window) { return static_cast<win::Hwnd>(reinterpret_cast<std::uintptr_t>(window)); }

// Waits for a visible message box of this process with the caption and
// presses a button; records the box's owner.
class Presser {
 public:
  Presser(std::wstring caption, int button, DWORD afterMs = 0)
      : caption_(std::move(caption)), button_(button), after_(afterMs), thread_([this] { Run(); }) {}
  ~Presser() {
    stop_ = true;
    thread_.join();
  }
  bool Pressed() const { return pressed_; }
  HWND Owner() const { return owner_; }

 private:
  void Run() {
    const DWORD start = GetTickCount();
    while (!stop_ && GetTickCount() - start < 30000) {
      HWND box = FindWindowW(L"#32770", caption_.c_str());
      if (box && IsWindowVisible(box) && GetTickCount() - start >= after_) {
        owner_ = GetWindow(box, GW_OWNER);
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(button_, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(box, button_)));
        pressed_ = true;
        return;
      }
      Sleep(50);
    }
  }
  std::wstring caption_;
  int button_;
  DWORD after_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> pressed_{false};
  std::atomic<HWND> owner_{nullptr};
  std::thread thread_;
};

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

// Windows of the test's own process, destroyed at the end of the test.
class OwnWindows {
 public:
  HWND Make(const wchar_t* title, bool visible, HWND owner = nullptr) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"TwWineTestWindow";
    RegisterClassW(&windowClass);
    const DWORD style = (owner ? WS_POPUP : WS_OVERLAPPEDWINDOW) | (visible ? WS_VISIBLE : 0);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, title, style, 20, 20, 200, 100, owner,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    if (window) made_.push_back(window);
    return window;
  }
  ~OwnWindows() {
    for (auto it = made_.rbegin(); it != made_.rend(); ++it) DestroyWindow(*it);
  }

 private:
  std::vector<HWND> made_;
};

TEST(TimedMessageBoxUnderWine, ButtonCodesOfThePressedButton) {
  if (!HasDisplay()) GTEST_SKIP() << "no display: no message box can be shown";
  const struct {
    const wchar_t* caption;
    const char* narrowCaption;
    win::Uint style;
    int button;
    int code;
  } cases[] = {
      {L"Tw question OK", "Tw question OK", 0x21, IDOK, 0},
      {L"Tw question Cancel", "Tw question Cancel", 0x21, IDCANCEL, 1},
      {L"Tw error OK", "Tw error OK", 0x10, IDOK, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.narrowCaption);
    Presser presser(c.caption, c.button);
    EXPECT_EQ(
        shell::TimedMessageBox("是否确认？", c.style, std::string(c.narrowCaption), std::nullopt, 1000000u),
        c.code);
    EXPECT_TRUE(presser.Pressed());
  }
}

TEST(TimedMessageBoxUnderWine, ALeftOutOwnerIsTheProgramsOwnWindow) {
  if (!HasDisplay()) GTEST_SKIP() << "no display: no message box can be shown";
  OwnWindows windows;
  HWND main = windows.Make(L"Tw main window", true);
  ASSERT_NE(main, nullptr);
  Presser presser(L"Tw owned box", IDOK);
  EXPECT_EQ(shell::TimedMessageBox("x", 0x0u, std::string("Tw owned box")), 0);
  EXPECT_EQ(presser.Owner(), main);
}

TEST(TimedMessageBoxUnderWine, ClosesItselfAfterItsTimeOut) {
  if (!HasDisplay()) GTEST_SKIP() << "no display: no message box can be shown";
  // Should the box not close itself, it is cancelled after a while.
  Presser rescue(L"Tw timed box", IDCANCEL, 5000);
  const int code = shell::TimedMessageBox("x", 0x21u, std::string("Tw timed box"), win::Hwnd{}, 300u);
  if (code == 1) GTEST_SKIP() << "Wine's MessageBoxTimeout ignores its time-out";
  EXPECT_EQ(code, 31999);
}

TEST(FindProcessWindowUnderWine, SkipsHiddenAndOwnedWindows) {
  if (!HasDisplay()) GTEST_SKIP() << "no display: no window can be made";
  OwnWindows windows;
  HWND shown = windows.Make(L"Tw shown 可见", true);
  HWND hidden = windows.Make(L"Tw hidden 隐藏", false);
  HWND owned = windows.Make(L"Tw owned 弹出", true, shown);
  ASSERT_TRUE(shown && hidden && owned);
  const DWORD self = GetCurrentProcessId();
  EXPECT_EQ(shell::FindProcessWindow(self), Ours(shown));
  EXPECT_EQ(shell::FindProcessWindow(self, std::string("弹出")), win::Hwnd{});
  EXPECT_EQ(shell::FindProcessWindow(self, std::string("隐藏")), win::Hwnd{});
  EXPECT_EQ(shell::FindProcessWindow(self, std::string("隐藏"), std::nullopt, std::nullopt, false),
            Ours(hidden));
  EXPECT_EQ(shell::FindProcessWindow(self, std::string("可见"), std::string("TwWineTest")), Ours(shown));
  EXPECT_EQ(shell::GetWindowClassText(Ours(shown)), "TwWineTestWindow");
  EXPECT_EQ(shell::GetWindowTitleText(Ours(shown)), "Tw shown 可见");
}

TEST(FindProcessWindowUnderWine, WindowsOfOtherProcessesAreSkipped) {
  if (!HasDisplay()) GTEST_SKIP() << "no display: no window can be made";
  wine_test::StandInGame game;
  ASSERT_NE(game.Window(), nullptr);
  EXPECT_EQ(shell::FindProcessWindow(game.Id()), Ours(game.Window()));
  EXPECT_EQ(shell::FindProcessWindow(GetCurrentProcessId(), std::string("Thornwickvale")), win::Hwnd{});
}

}  // namespace
