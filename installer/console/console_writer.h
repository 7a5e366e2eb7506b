// Coloured console lines: one write of a text in a foreground and background
// colour, with the console's previous colours put back afterwards.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "platform/types.h"

namespace installer {

// Index 1 to 16 of one of the sixteen console colours; any other index is
// light grey.
using ConsoleColor = int;

win::Word ForegroundAttribute(ConsoleColor color);
win::Word BackgroundAttribute(ConsoleColor color);

class ConsoleWriter {
 public:
  // Takes the standard input and output handles, in that order.
  static ConsoleWriter Create();
  ConsoleWriter() = default;  // empty: writes nothing

  // Frees the handle record; the handles themselves stay open.
  void Release() { handles_.reset(); }
  bool Empty() const { return !handles_; }
  win::Handle Output() const { return handles_ ? handles_->output : win::Handle{}; }
  // The console's colours while a write that changed them could not put
  // them back; the next write restores these rather than the ones it finds.
  std::optional<win::Word>* OwedColours() const { return handles_ ? &handles_->owedColours : nullptr; }

 private:
  struct Handles {
    win::Handle input{};
    win::Handle output{};
    std::optional<win::Word> owedColours;
  };
  std::unique_ptr<Handles> handles_;
};

// Writes `text` (code page 936 bytes, up to its first NUL, byte for byte) in
// the given colours. The cursor moves to (column, row) first when both are
// given; with restoreCursor it goes back afterwards to where it stood. A
// left-out text writes nothing and succeeds. True when every platform call
// succeeded.
bool ConsoleWrite(const ConsoleWriter& writer, std::optional<std::int16_t> column,
                  std::optional<std::int16_t> row, bool restoreCursor, ConsoleColor foreground,
                  ConsoleColor background, std::optional<std::string_view> text);

}  // namespace installer
