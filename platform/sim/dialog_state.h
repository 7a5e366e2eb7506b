// Simulated message boxes: answered from a script, each one recorded.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/types.h"

namespace sim {

// MessageBoxTimeoutA results a script can give.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kTimedOut = 32000;
inline constexpr int kBoxFailed = 0;

struct MessageBoxRecord {
  win::Hwnd owner{};
  std::string text;     // code page 936
  std::string caption;  // code page 936
  win::Uint style = 0;
  win::Word language = 0;
  win::Dword timeout = 0;
  std::uint64_t shownAt = 0;  // virtual time when it opened
  int result = 0;             // what MessageBoxTimeoutA answered
};

struct DialogState {
  // Results of the next boxes, in order. With the script empty a box is left
  // alone: the clock runs to its time-out and it answers kTimedOut, as it
  // does for a scripted kTimedOut. A scripted kBoxFailed answers 0 at once.
  std::deque<int> answers;
  // Every box asked for, failed ones included (not those refused through
  // the world's failure switches, which never reach the dialog).
  std::vector<MessageBoxRecord> shown;
  void Answer(int result) { answers.push_back(result); }
};

}  // namespace sim
