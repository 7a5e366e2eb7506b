#include "installer/console/console_writer.h"

#include <array>

#include "platform/console.h"
#include "text/text_ops.h"

namespace installer {

namespace {

// Foreground attribute of colours 1 to 16; the background is the same
// shifted left by four bits.
constexpr std::array<win::Word, 16> kForeground = {0x0, 0x4, 0x2, 0x6, 0x1, 0x5, 0x3, 0x7,
                                                   0x8, 0xC, 0xA, 0xE, 0x9, 0xD, 0xB, 0xF};
constexpr win::Word kLightGrey = 0x7;

}  // namespace

win::Word ForegroundAttribute(ConsoleColor color) {
  return color >= 1 && color <= 16 ? kForeground[static_cast<std::size_t>(color - 1)] : kLightGrey;
}

win::Word BackgroundAttribute(ConsoleColor color) {
  return static_cast<win::Word>(ForegroundAttribute(color) << 4);
}

ConsoleWriter ConsoleWriter::Create() {
  ConsoleWriter writer;
  writer.handles_ = std::make_unique<Handles>();
  writer.handles_->input = win::GetStdHandle(win::kStdInputHandle);
  writer.handles_->output = win::GetStdHandle(win::kStdOutputHandle);
  return writer;
}

bool ConsoleWrite(const ConsoleWriter& writer, std::optional<std::int16_t> column,
                  std::optional<std::int16_t> row, bool restoreCursor, ConsoleColor foreground,
                  ConsoleColor background, std::optional<std::string_view> text) {
  if (writer.Empty()) return false;
  if (!text) return true;
  const win::Handle out = writer.Output();

  win::ConsoleScreenBufferInfo before{};
  if (!win::GetConsoleScreenBufferInfo(out, &before)) return false;
  // After a write that could not put the colours back, the ones found now
  // are that write's: the console's own are those it owes.
  std::optional<win::Word>& owed = *writer.OwedColours();
  const win::Word previous = owed.value_or(before.wAttributes);

  if (column && row && !win::SetConsoleCursorPosition(out, win::Coord{*column, *row})) return false;

  const auto attribute =
      static_cast<win::Word>(ForegroundAttribute(foreground) | BackgroundAttribute(background));
  if (!win::SetConsoleTextAttribute(out, attribute)) return false;
  owed = previous;

  // All of the text must be out before the colours change back.
  const std::string_view bytes = text::UpToNul(*text);
  if (!bytes.empty()) {
    win::Dword written = 0;
    if (!win::WriteFile(out, bytes.data(), static_cast<win::Dword>(bytes.size()), &written) ||
        written != bytes.size())
      return false;
  }
  if (!win::FlushFileBuffers(out)) return false;

  if (restoreCursor && !win::SetConsoleCursorPosition(out, before.dwCursorPosition)) return false;

  if (!win::SetConsoleTextAttribute(out, previous)) return false;
  owed.reset();
  return true;
}

}  // namespace installer
