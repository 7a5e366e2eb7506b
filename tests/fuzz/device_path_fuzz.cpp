// Device paths against arbitrary DOS-device answers: the path comes back
// unchanged or with the device of the first letter from A to Z that names
// it replaced by that letter, the rest kept byte for byte; the image path of
// a process built on it releases what it obtained.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "platform/sim/world.h"
#include "process/process_image_path.h"
#include "process/text_conversion.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

using fuzz::Check;

constexpr std::size_t kOffered = 260;  // code units the answer area offers

text::ByteBuffer Bytes(const std::u16string& units) {
  text::ByteBuffer out;
  for (char16_t unit : units) {
    out.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    out.push_back(static_cast<std::uint8_t>(unit >> 8));
  }
  return out;
}

// Code units that make device names: mostly the ones real names are made
// of, so that answers and paths meet.
char16_t Unit(FuzzedDataProvider& input) {
  static constexpr char16_t common[] = {u'\\', u'D', u'e', u'v', u'i', u'c', u'H', u'1', u'0', u'?', u':', 0};
  if (input.ConsumeBool()) return common[input.ConsumeIntegralInRange<std::size_t>(0, std::size(common) - 1)];
  return input.ConsumeIntegral<char16_t>();
}

std::u16string Units(FuzzedDataProvider& input, std::size_t most) {
  std::u16string units(input.ConsumeIntegralInRange<std::size_t>(0, most), u'\0');
  for (auto& unit : units) unit = Unit(input);
  return units;
}

// What a letter names as a path prefix: its answer but for the final
// NUL, closed by a backslash; nothing when the answer holds no name.
std::optional<text::ByteBuffer> Prefix(const sim::World& world, char16_t letter) {
  const auto it = world.processes.dosDevices.find(std::u16string{letter, u':'});
  if (it == world.processes.dosDevices.end()) return std::nullopt;
  const std::u16string& answer = it->second;
  if (answer.size() < 2 || answer.size() > kOffered) return std::nullopt;
  return Bytes(answer.substr(0, answer.size() - 2) + u'\\');
}

bool BeginsWith(text::ByteView bytes, text::ByteView prefix) {
  return bytes.size() >= prefix.size() && std::memcmp(bytes.data(), prefix.data(), prefix.size()) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const win::Dword gameId = (sim::ResetWorld(), sim::TheWorld().processes.Add("game.exe", u"").id);
  sim::World& world = sim::TheWorld();
  // What earlier inputs left in the logs.
  world.calls.clear();
  world.processes.handleAccess.clear();
  world.processes.debugPrivilegeSwitches.clear();
  FuzzedDataProvider input(data, size);

  auto& devices = world.processes.dosDevices;
  devices.clear();
  std::u16string someDevice;
  for (std::size_t n = input.ConsumeIntegralInRange<std::size_t>(0, 6); n > 0; --n) {
    const char16_t letter = static_cast<char16_t>(u'A' + input.ConsumeIntegralInRange<int>(0, 25));
    std::u16string answer = Units(input, 40);
    if (input.ConsumeBool()) answer = sim::ProcessState::Target(answer);  // the usual form
    if (input.ConsumeBool()) answer.resize(kOffered + input.ConsumeIntegralInRange<std::size_t>(0, 2), u'x');
    devices[std::u16string{letter, u':'}] = answer;
    if (input.ConsumeBool()) someDevice = answer.substr(0, answer.find(u'\0'));
  }
  // A path on one of the devices, on a drive, or anything at all.
  std::u16string units;
  switch (input.ConsumeIntegralInRange<int>(0, 2)) {
    case 0:
      units = someDevice + u'\\';
      break;
    case 1:
      units = u"\\??\\" + std::u16string(1, Unit(input)) + u":\\";
      break;
    default:
      break;
  }
  units += Units(input, 64);
  const bool terminated = input.ConsumeBool(), oddByte = input.ConsumeBool();
  text::ByteBuffer path = Bytes(terminated ? units + u'\0' : units);
  if (oddByte) path.push_back(0x41);

  const text::ByteBuffer out = process::DevicePathToDrivePath(path);
  const bool drivePrefixed =
      path.size() >= 14 && units.size() >= 7 && units.starts_with(u"\\??\\") && units[5] == u':' &&
      units[6] == u'\\' && ((units[4] >= u'A' && units[4] <= u'Z') || (units[4] >= u'a' && units[4] <= u'z'));
  if (drivePrefixed) {
    Check(out == text::ByteBuffer(path.begin() + 8, path.end()));
  } else {
    std::optional<char16_t> letter;
    std::size_t replaced = 0;
    for (char16_t l = u'A'; l <= u'Z' && !letter; ++l)
      if (const auto prefix = Prefix(world, l); prefix && BeginsWith(path, *prefix)) {
        letter = l;
        replaced = prefix->size();
      }
    if (!letter) {
      Check(out == path);
    } else {
      text::ByteBuffer expected = Bytes(std::u16string{*letter, u':', u'\\'});
      expected.insert(expected.end(), path.begin() + static_cast<std::ptrdiff_t>(replaced), path.end());
      Check(out == expected);
    }
  }
  (void)process::WideToText(out);

  // The same path as a process's image name.
  sim::SimProcess& game = *world.processes.Find(gameId);
  game.imagePath = units;
  world.processes.imageNameUnterminated = !terminated;
  const std::string image = process::GetProcessImagePath(gameId);
  const text::ByteBuffer answered =
      units.empty() ? text::ByteBuffer{} : Bytes(terminated ? units + u'\0' : units);
  Check(image == process::WideToText(process::DevicePathToDrivePath(answered)));
  Check(world.handles.OpenCount() == 0 && world.handles.badCloses == 0);
  Check(world.memory.heapBlocks.empty() && world.memory.badFrees == 0);
  Check(!world.processes.debugPrivilegeOn);
  return 0;
}
