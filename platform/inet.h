// Internet access (WinINet). Narrow throughout: host names, paths, header
// blocks and bodies are bytes handed over unchanged.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace win {

inline constexpr Dword kInternetOpenTypeDirect = 1;
inline constexpr Dword kInternetOpenTypeProxy = 3;

inline constexpr Dword kInternetServiceHttp = 3;

inline constexpr Dword kInternetFlagReload = 0x80000000;
inline constexpr Dword kInternetFlagSecure = 0x00800000;
inline constexpr Dword kInternetFlagNoAutoRedirect = 0x00200000;
inline constexpr Dword kInternetFlagNoCookies = 0x00080000;
inline constexpr Dword kInternetFlagIgnoreRedirectToHttps = 0x00004000;
inline constexpr Dword kInternetFlagNeedFile = 0x00000010;

inline constexpr Dword kInternetOptionSecurityFlags = 31;
inline constexpr Dword kSecurityFlagIgnoreRevocation = 0x00000080;
inline constexpr Dword kSecurityFlagIgnoreUnknownCa = 0x00000100;
inline constexpr Dword kSecurityFlagIgnoreWrongUsage = 0x00000200;
inline constexpr Dword kSecurityFlagIgnoreCertCnInvalid = 0x00001000;
inline constexpr Dword kSecurityFlagIgnoreCertDateInvalid = 0x00002000;
inline constexpr Dword kSecurityFlagIgnoreRedirectToHttps = 0x00004000;
inline constexpr Dword kSecurityFlagIgnoreRedirectToHttp = 0x00008000;
inline constexpr Dword kSecurityFlagIgnoreWeakSignature = 0x00010000;

inline constexpr Dword kHsrInitiate = 0x00000008;

inline constexpr Dword kHttpQueryRawHeaders = 21;      // lines separated by NUL
inline constexpr Dword kHttpQueryRawHeadersCrlf = 22;  // lines separated by "\r\n"

// Header lengths of -1 mean "NUL-terminated".
inline constexpr Dword kLengthOfText = 0xFFFFFFFF;

// Laid out as the platform's INTERNET_BUFFERSA: 40 bytes on 32-bit Windows.
struct InternetBuffersA {
  Dword dwStructSize = 0;
  InternetBuffersA* Next = nullptr;
  const char* lpcszHeader = nullptr;
  Dword dwHeadersLength = 0;
  Dword dwHeadersTotal = 0;
  void* lpvBuffer = nullptr;
  Dword dwBufferLength = 0;
  Dword dwBufferTotal = 0;
  Dword dwOffsetLow = 0;
  Dword dwOffsetHigh = 0;
};
#if UINTPTR_MAX == 0xFFFFFFFF
static_assert(sizeof(InternetBuffersA) == 40);
#endif

Hinternet InternetOpenA(const char* agent, Dword accessType, const char* proxy, const char* proxyBypass,
                        Dword flags);
Hinternet InternetConnectA(Hinternet internet, const char* serverName, Word serverPort, const char* userName,
                           const char* password, Dword service, Dword flags, std::uintptr_t context);
Hinternet HttpOpenRequestA(Hinternet connect, const char* verb, const char* objectName, const char* version,
                           const char* referrer, const char* const* acceptTypes, Dword flags,
                           std::uintptr_t context);
Bool InternetSetOptionA(Hinternet internet, Dword option, void* buffer, Dword bufferLength);
Bool HttpSendRequestA(Hinternet request, const char* headers, Dword headersLength, void* optional,
                      Dword optionalLength);
Bool HttpSendRequestExA(Hinternet request, InternetBuffersA* buffersIn, InternetBuffersA* buffersOut,
                        Dword flags, std::uintptr_t context);
Bool InternetWriteFile(Hinternet file, const void* buffer, Dword bytesToWrite, Dword* bytesWritten);
Bool HttpEndRequestA(Hinternet request, InternetBuffersA* buffersOut, Dword flags, std::uintptr_t context);
// Sets *bytesRead to 0 before anything else; 0 after a true result is the
// end of the body.
Bool InternetReadFile(Hinternet file, void* buffer, Dword bytesToRead, Dword* bytesRead);
Bool HttpQueryInfoA(Hinternet request, Dword infoLevel, void* buffer, Dword* bufferLength, Dword* index);
Bool InternetCloseHandle(Hinternet internet);

}  // namespace win
