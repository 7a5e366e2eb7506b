// The payload files are assembled into the read-only data of the program
// image with .incbin; TW_PAYLOAD_DIR names the folder they come from.
#include "payloads/payloads.h"

#if defined(_WIN32)
#define TW_RODATA ".section .rdata,\"dr\"\n"
#else
#define TW_RODATA ".section .rodata\n"
#endif
#if defined(_WIN32) && !defined(_WIN64)
#define TW_SYMBOL(name) "_" #name
#else
#define TW_SYMBOL(name) #name
#endif

#define TW_INCBIN(name, file) \
  asm(TW_RODATA ".balign 16\n"                                  \
                ".globl " TW_SYMBOL(name##_start) "\n" TW_SYMBOL(name##_start) ":\n" \
                ".incbin \"" TW_PAYLOAD_DIR "/" file "\"\n"     \
                ".globl " TW_SYMBOL(name##_end) "\n" TW_SYMBOL(name##_end) ":\n"     \
                ".byte 0\n"                                     \
                ".text\n")

TW_INCBIN(tw_assembly, "Assembly-CSharp.dll");
TW_INCBIN(tw_executable, "Thornwickvale.exe");
TW_INCBIN(tw_before, "before.png");
TW_INCBIN(tw_after, "after.png");

extern "C" {
extern const std::uint8_t tw_assembly_start[], tw_assembly_end[];
extern const std::uint8_t tw_executable_start[], tw_executable_end[];
extern const std::uint8_t tw_before_start[], tw_before_end[];
extern const std::uint8_t tw_after_start[], tw_after_end[];
}

namespace payloads {

namespace {
PatchPayload Make(std::string_view name, const std::uint8_t* start, const std::uint8_t* end) {
  return {name, std::span<const std::uint8_t>(start, static_cast<std::size_t>(end - start))};
}
}  // namespace

PatchPayload AssemblyPayload() { return Make("Assembly-CSharp.dll", tw_assembly_start, tw_assembly_end); }
PatchPayload ExecutablePayload() { return Make("Thornwickvale.exe", tw_executable_start, tw_executable_end); }
PatchPayload BeforePicture() { return Make("安装前.PNG", tw_before_start, tw_before_end); }
PatchPayload AfterPicture() { return Make("安装后.PNG", tw_after_start, tw_after_end); }

}  // namespace payloads
