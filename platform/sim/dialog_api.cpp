// Message boxes of the simulation: answered from the dialog script.
#include "platform/dialog.h"
#include "platform/sim/world.h"

namespace win {

int MessageBoxTimeoutA(Hwnd owner, const char* text, const char* caption, Uint type, Word languageId,
                       Dword milliseconds) {
  auto& world = sim::TheWorld();
  if (world.Enter("MessageBoxTimeoutA")) return 0;
  sim::MessageBoxRecord record;
  record.owner = owner;
  record.text = text ? text : "";
  record.caption = caption ? caption : "Error";  // the system's caption for a box without one
  record.style = type;
  record.language = languageId;
  record.timeout = milliseconds;
  record.shownAt = world.clock.now;
  auto& script = world.dialogs.answers;
  record.result = sim::kTimedOut;
  if (!script.empty()) {
    record.result = script.front();
    script.pop_front();
  }
  if (record.result == sim::kTimedOut) world.clock.Advance(milliseconds);
  world.dialogs.shown.push_back(record);
  return record.result;
}

}  // namespace win
