#include "process/process_image_path.h"

#include <gtest/gtest.h>

#include "tests/support/bytes.h"
#include "tests/support/sim_test.h"

namespace {

using process::DevicePathToDrivePath;
using process::GetProcessImagePath;
using testing_bytes::Hex;

text::ByteBuffer Wide(std::u16string_view units, bool terminated = true) {
  text::ByteBuffer out;
  for (char16_t u : units) {
    out.push_back(static_cast<std::uint8_t>(u & 0xFF));
    out.push_back(static_cast<std::uint8_t>(u >> 8));
  }
  if (terminated) out.insert(out.end(), {0, 0});
  return out;
}

class ProcessImagePathTest : public SimTest {
 protected:
  sim::SimProcess& Game(
      std::u16string image = u"\\Device\\HarddiskVolume3\\Games\\Thornwickvale\\Thornwickvale.exe") {
    world().processes.SetDrive(u"D:", u"\\Device\\HarddiskVolume3");
    return world().processes.Add("Thornwickvale.exe", std::move(image));
  }
  void ExpectReleased() {
    EXPECT_EQ(world().handles.OpenCount(), 0);
    EXPECT_EQ(world().handles.badCloses, 0);
    EXPECT_TRUE(world().memory.heapBlocks.empty());
    EXPECT_EQ(world().memory.badFrees, 0);
    EXPECT_FALSE(world().processes.debugPrivilegeOn);
  }
};

TEST_F(ProcessImagePathTest, ZeroOrLeftOutIsTheCallingProcessWithoutThePrivilege) {
  EXPECT_EQ(GetProcessImagePath(), "C:\\Users\\player\\Downloads\\ThornwickvalePatch.exe");
  EXPECT_EQ(GetProcessImagePath(0), "C:\\Users\\player\\Downloads\\ThornwickvalePatch.exe");
  EXPECT_EQ(world().CallCount("RtlAdjustPrivilege"), 0);
  EXPECT_EQ(world().CallCount("OpenProcess"), 0);
  ExpectReleased();
}

TEST_F(ProcessImagePathTest, AnotherProcessIsOpenedWhileTheDebugPrivilegeIsOn) {
  sim::SimProcess& game = Game();
  game.needsDebugPrivilege = true;  // another user's process
  EXPECT_EQ(GetProcessImagePath(game.id), "D:\\Games\\Thornwickvale\\Thornwickvale.exe");
  EXPECT_EQ(world().processes.debugPrivilegeSwitches, (std::vector<bool>{true, false}));
  ExpectReleased();
}

TEST_F(ProcessImagePathTest, WithoutTheRightToThePrivilegeTheOpenIsStillTried) {
  world().processes.mayEnableDebugPrivilege = false;
  EXPECT_EQ(GetProcessImagePath(Game().id), "D:\\Games\\Thornwickvale\\Thornwickvale.exe");
  EXPECT_EQ(world().CallCount("RtlAdjustPrivilege"), 2);
  ExpectReleased();
}

TEST_F(ProcessImagePathTest, FailuresGiveTheEmptyTextAndReleaseEverything) {
  const struct {
    const char* name;
    void (*arrange)(sim::World&, sim::SimProcess&);
  } cases[] = {
      {"process gone", [](sim::World&, sim::SimProcess& p) { p.running = false; }},
      {"may not be opened", [](sim::World&, sim::SimProcess& p) { p.mayOpen = false; }},
      {"size query fails",
       [](sim::World& w, sim::SimProcess&) { w.FailNext("NtQueryInformationProcess", 1); }},
      {"second query fails",
       [](sim::World& w, sim::SimProcess&) { w.FailNext("NtQueryInformationProcess", 2); }},
      {"no memory", [](sim::World& w, sim::SimProcess&) { w.FailNext("HeapAlloc"); }},
      {"no image name", [](sim::World&, sim::SimProcess& p) { p.imagePath.clear(); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    sim::ResetWorld();
    sim::SimProcess& game = Game();
    c.arrange(world(), game);
    EXPECT_EQ(GetProcessImagePath(game.id), "");
    ExpectReleased();
  }
  EXPECT_EQ(GetProcessImagePath(0xFFFFFFF0u), "");
}

TEST_F(ProcessImagePathTest, DeviceMappingOfTheImagePath) {
  const struct {
    const char* name;
    std::u16string image;
    std::string path;
  } cases[] = {
      {"the first of two letters of one volume", u"\\Device\\HarddiskVolume4\\Games\\x.exe",
       "E:\\Games\\x.exe"},
      {"volume 10 is not volume 1", u"\\Device\\HarddiskVolume10\\Games\\x.exe", "H:\\Games\\x.exe"},
      {"volume 1 itself", u"\\Device\\HarddiskVolume1\\x.exe", "G:\\x.exe"},
      {"no letter names the device", u"\\Device\\Mup\\server\\share\\x.exe",
       "\\Device\\Mup\\server\\share\\x.exe"},
      {"device names count letter case", u"\\device\\harddiskvolume4\\x.exe",
       "\\device\\harddiskvolume4\\x.exe"},
      {"the object manager's drive form", u"\\??\\Z:\\dir\\game.exe", "Z:\\dir\\game.exe"},
      {"not in code page 936", u"\\Device\\HarddiskVolume4\\\u0E01\\游戏.exe", "E:\\?\\游戏.exe"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    sim::ResetWorld();
    auto& devices = world().processes;
    devices.SetDrive(u"E:", u"\\Device\\HarddiskVolume4");
    devices.SetDrive(u"F:", u"\\Device\\HarddiskVolume4");
    devices.dosDevices[u"K:"] = u"\\??\\C:\\Games";  // a folder substitution: never a device path
    devices.dosDevices[u"K:"] += u'\0';
    devices.dosDevices[u"K:"] += u'\0';
    devices.SetDrive(u"G:", u"\\Device\\HarddiskVolume1");
    devices.SetDrive(u"H:", u"\\Device\\HarddiskVolume10");
    const win::Dword id = devices.Add("x.exe", c.image).id;
    EXPECT_EQ(GetProcessImagePath(id), c.path);
  }
}

TEST_F(ProcessImagePathTest, AnImageNameWithoutTerminatorIsReadToo) {
  world().processes.imageNameUnterminated = true;
  EXPECT_EQ(GetProcessImagePath(Game().id), "D:\\Games\\Thornwickvale\\Thornwickvale.exe");
  EXPECT_EQ(GetProcessImagePath(), "C:\\Users\\player\\Downloads\\ThornwickvalePatch.exe");
  ExpectReleased();
}

TEST(DevicePathToDrivePathTest, KeepsTheRestOfThePathAndItsTerminator) {
  sim::ResetWorld();
  EXPECT_EQ(Hex(DevicePathToDrivePath(Wide(u"\\Device\\HarddiskVolume2\\a"))), Hex(Wide(u"C:\\a")));
  EXPECT_EQ(Hex(DevicePathToDrivePath(Wide(u"\\Device\\HarddiskVolume2\\a", false))),
            Hex(Wide(u"C:\\a", false)));
  EXPECT_TRUE(DevicePathToDrivePath({}).empty());
  // The device name without the backslash after it is no match: every
  // letter is asked once, and the path comes back as it was.
  const int before = sim::TheWorld().CallCount("QueryDosDeviceW");
  EXPECT_EQ(Hex(DevicePathToDrivePath(Wide(u"\\Device\\HarddiskVolume2", false))),
            Hex(Wide(u"\\Device\\HarddiskVolume2", false)));
  EXPECT_EQ(sim::TheWorld().CallCount("QueryDosDeviceW") - before, 26);
}

TEST(DevicePathToDrivePathTest, AnAnswerTooShortToHoldADeviceIsNoAnswer) {
  sim::ResetWorld();
  auto& devices = sim::TheWorld().processes.dosDevices;
  devices.clear();
  devices[u"A:"] = std::u16string(1, u'\\');  // one code unit: nothing to close with a backslash
  devices[u"B:"] = std::u16string(1, u'\0');
  devices[u"C:"] = sim::ProcessState::Target(u"\\Device\\HarddiskVolume2");
  EXPECT_EQ(Hex(DevicePathToDrivePath(Wide(u"\\x.exe"))), Hex(Wide(u"\\x.exe")));
  EXPECT_EQ(Hex(DevicePathToDrivePath(Wide(u"\\Device\\HarddiskVolume2\\x.exe"))), Hex(Wide(u"C:\\x.exe")));
}

TEST(DevicePathToDrivePathTest, AFailedQuestionSkipsOnlyThatLetter) {
  sim::ResetWorld();
  sim::TheWorld().FailNext("QueryDosDeviceW", 3);  // C:
  sim::TheWorld().processes.SetDrive(u"D:", u"\\Device\\HarddiskVolume2");
  EXPECT_EQ(Hex(DevicePathToDrivePath(Wide(u"\\Device\\HarddiskVolume2\\x"))), Hex(Wide(u"D:\\x")));
}

}  // namespace
