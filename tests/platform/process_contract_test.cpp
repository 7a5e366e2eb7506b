// Process functions: the real platform's answers, which the simulation
// must give as well.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/handles.h"
#include "platform/process.h"
#include "tests/platform/contract_arrange.h"
#include "text/text_ops.h"

namespace {

using contract::ContractTest;

constexpr win::Dword kNoSuchProcess = 0xFFFFFFF0;

class ProcessContract : public ContractTest {};

TEST_F(ProcessContract, CurrentProcess) {
  EXPECT_EQ(win::GetCurrentProcess(), win::kInvalidHandleValue);  // the pseudo handle
  EXPECT_NE(win::GetCurrentProcessId(), 0u);
  EXPECT_TRUE(win::CloseHandle(win::GetCurrentProcess()));  // closing it does nothing
}

TEST_F(ProcessContract, SnapshotWalkListsTheCallingProcess) {
  const win::Handle snapshot = win::CreateToolhelp32Snapshot(win::kTh32csSnapProcess, 0);
  ASSERT_NE(snapshot, win::kInvalidHandleValue);
  ASSERT_FALSE(win::IsNull(snapshot));

  win::ProcessEntry32 entry;
  entry.dwSize = 100;  // shorter than the record
  EXPECT_FALSE(win::Process32First(snapshot, &entry));

  entry.dwSize = sizeof entry;
  std::vector<std::pair<win::Dword, std::string>> seen;
  for (bool more = win::Process32First(snapshot, &entry); more; more = win::Process32Next(snapshot, &entry)) {
    EXPECT_EQ(entry.dwSize, 296u);
    EXPECT_NE(std::memchr(entry.szExeFile, 0, sizeof entry.szExeFile), nullptr);
    seen.emplace_back(entry.th32ProcessID, entry.szExeFile);
  }
  EXPECT_FALSE(win::Process32Next(snapshot, &entry));  // the walk stays at its end
  bool found = false;
  for (const auto& [id, name] : seen)
    if (id == win::GetCurrentProcessId()) found = text::Equal(name, contract::OwnExeName(), text::Case::Fold);
  EXPECT_TRUE(found);
  EXPECT_TRUE(win::CloseHandle(snapshot));
  EXPECT_FALSE(win::Process32First(snapshot, &entry));  // closed
}

TEST_F(ProcessContract, OpenProcess) {
  const struct {
    const char* name;
    win::Dword id;
    win::Dword access;
    bool opens;
  } cases[] = {
      {"id 0", 0, win::kProcessQueryInformation, false},
      {"no such process", kNoSuchProcess, win::kProcessQueryInformation, false},
      {"itself, to query", win::GetCurrentProcessId(), win::kProcessQueryInformation, true},
      {"itself, to end", win::GetCurrentProcessId(), win::kProcessTerminate, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const win::Handle handle = win::OpenProcess(c.access, win::kFalse, c.id);
    EXPECT_EQ(!win::IsNull(handle), c.opens);
    if (!win::IsNull(handle)) {
      EXPECT_TRUE(win::CloseHandle(handle));
    }
  }
}

TEST_F(ProcessContract, TerminateProcessNeedsAHandleWithTheRight) {
  EXPECT_FALSE(win::TerminateProcess(win::Handle{}, 0));
  const win::Handle handle =
      win::OpenProcess(win::kProcessQueryInformation, win::kFalse, win::GetCurrentProcessId());
  ASSERT_FALSE(win::IsNull(handle));
  EXPECT_FALSE(win::TerminateProcess(handle, 0));  // opened to query only
  win::CloseHandle(handle);
}

TEST_F(ProcessContract, ImageNameQuery) {
  win::Dword needed = 0;
  EXPECT_EQ(win::NtQueryInformationProcess(win::GetCurrentProcess(), win::kProcessImageFileName, nullptr, 0,
                                           &needed),
            win::kStatusInfoLengthMismatch);
  ASSERT_GT(needed, sizeof(win::UnicodeString));

  std::vector<std::uint8_t> block(needed, 0);
  win::Dword again = 0;
  EXPECT_EQ(win::NtQueryInformationProcess(win::GetCurrentProcess(), win::kProcessImageFileName, block.data(),
                                           needed - 1, &again),
            win::kStatusInfoLengthMismatch);
  ASSERT_EQ(win::NtQueryInformationProcess(win::GetCurrentProcess(), win::kProcessImageFileName, block.data(),
                                           needed, &again),
            win::kStatusSuccess);
  EXPECT_EQ(again, needed);
  const auto* head = reinterpret_cast<const win::UnicodeString*>(block.data());
  // Windows stores a terminator after the string (MaximumLength is Length
  // + 2); Wine 8 stores none (MaximumLength is Length).
  ASSERT_GE(head->MaximumLength, head->Length);
  if (head->MaximumLength > head->Length) {
    EXPECT_EQ(head->MaximumLength, head->Length + 2);
    EXPECT_EQ(head->Buffer[head->Length / 2], 0);
  }
  const auto* start = reinterpret_cast<const std::uint8_t*>(head->Buffer);
  EXPECT_GE(start, block.data() + sizeof(win::UnicodeString));  // the characters follow the head
  EXPECT_LE(start + head->MaximumLength, block.data() + block.size());
  const std::u16string path(head->Buffer, head->Length / 2);
  // An NT path (\Device\... or \??\C:\...) ending in the executable's name.
  EXPECT_EQ(path.substr(0, 1), u"\\");
  const std::string name = contract::OwnExeName();
  ASSERT_GE(path.size(), name.size());
  EXPECT_TRUE(text::Equal(std::string(path.end() - static_cast<std::ptrdiff_t>(name.size()), path.end()),
                          name, text::Case::Fold));
}

TEST_F(ProcessContract, ImageNameQueryFailures) {
  win::Dword needed = 0;
  EXPECT_EQ(win::NtQueryInformationProcess(win::Handle{}, win::kProcessImageFileName, nullptr, 0, &needed),
            win::kStatusInvalidHandle);
  const win::Handle handle =
      win::OpenProcess(win::kProcessTerminate, win::kFalse, win::GetCurrentProcessId());
  ASSERT_FALSE(win::IsNull(handle));
  EXPECT_EQ(win::NtQueryInformationProcess(handle, win::kProcessImageFileName, nullptr, 0, &needed),
            win::kStatusAccessDenied);
  win::CloseHandle(handle);
}

TEST_F(ProcessContract, DebugPrivilegeSwitch) {
  win::Byte was = 7;
  const win::NtStatus on = win::RtlAdjustPrivilege(win::kSeDebugPrivilege, 1, 0, &was);
  ASSERT_TRUE(on == win::kStatusSuccess || on == win::kStatusPrivilegeNotHeld) << std::hex << on;
  if (on != win::kStatusSuccess) return;
  EXPECT_EQ(win::RtlAdjustPrivilege(win::kSeDebugPrivilege, 0, 0, &was), win::kStatusSuccess);
  EXPECT_NE(was, 0);  // it was on (Wine answers the privilege's attribute bit, 2)
}

TEST_F(ProcessContract, SystemFunctionLookup) {
  const win::Hmodule kernel = win::GetModuleHandleA("kernel32.dll");
  ASSERT_FALSE(win::IsNull(kernel));
  EXPECT_EQ(win::GetModuleHandleA("KERNEL32.DLL"), kernel);
  EXPECT_TRUE(win::IsNull(win::GetModuleHandleA("no_such_module_tw.dll")));
  EXPECT_EQ(win::GetProcAddress(kernel, "NoSuchFunctionTw"), nullptr);
  const auto wow64 = reinterpret_cast<win::GetSystemWow64DirectoryAProc>(
      win::GetProcAddress(kernel, "GetSystemWow64DirectoryA"));
  ASSERT_NE(wow64, nullptr);
  std::string folder(255, ' ');
  const win::Uint n = wow64(folder.data(), 255);
  // 0 on a 32-bit system; else the folder, without its NUL.
  if (n > 0) {
    EXPECT_EQ(n, std::strlen(folder.c_str()));
    EXPECT_TRUE(text::EndsWith(folder.c_str(), "\\syswow64", text::Case::Fold)) << folder.c_str();
    char small[4] = {};
    EXPECT_GT(wow64(small, 4), 4u);  // the size it needs
  }
}

}  // namespace
