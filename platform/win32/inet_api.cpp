// WinINet, narrow on purpose: URLs, header blocks and bodies are bytes that
// go out as they are.
#include "platform/inet.h"
#include "platform/win32/windows_api.h"

#include <wininet.h>

namespace win {

namespace {

::HINTERNET ToNative(Hinternet h) { return reinterpret_cast<::HINTERNET>(Value(h)); }
Hinternet FromNative(::HINTERNET h) { return static_cast<Hinternet>(reinterpret_cast<std::uintptr_t>(h)); }

// Our record and the platform's have the same fields; they are copied so
// that nothing relies on the two layouts matching.
::INTERNET_BUFFERSA ToNative(const InternetBuffersA& in) {
  ::INTERNET_BUFFERSA out{};
  out.dwStructSize = sizeof(::INTERNET_BUFFERSA);
  out.Next = nullptr;
  out.lpcszHeader = in.lpcszHeader;
  out.dwHeadersLength = in.dwHeadersLength;
  out.dwHeadersTotal = in.dwHeadersTotal;
  out.lpvBuffer = in.lpvBuffer;
  out.dwBufferLength = in.dwBufferLength;
  out.dwBufferTotal = in.dwBufferTotal;
  out.dwOffsetLow = in.dwOffsetLow;
  out.dwOffsetHigh = in.dwOffsetHigh;
  return out;
}

void FromNative(const ::INTERNET_BUFFERSA& in, InternetBuffersA& out) {
  out.dwHeadersLength = in.dwHeadersLength;
  out.dwHeadersTotal = in.dwHeadersTotal;
  out.dwBufferLength = in.dwBufferLength;
  out.dwBufferTotal = in.dwBufferTotal;
  out.dwOffsetLow = in.dwOffsetLow;
  out.dwOffsetHigh = in.dwOffsetHigh;
}

}  // namespace

static_assert(sizeof(InternetBuffersA) == sizeof(::INTERNET_BUFFERSA));

Hinternet InternetOpenA(const char* agent, Dword accessType, const char* proxy, const char* proxyBypass,
                        Dword flags) {
  return FromNative(::InternetOpenA(agent, accessType, proxy, proxyBypass, flags));
}

Hinternet InternetConnectA(Hinternet internet, const char* serverName, Word serverPort, const char* userName,
                           const char* password, Dword service, Dword flags, std::uintptr_t context) {
  return FromNative(::InternetConnectA(ToNative(internet), serverName, serverPort, userName, password,
                                       service, flags, context));
}

Hinternet HttpOpenRequestA(Hinternet connect, const char* verb, const char* objectName, const char* version,
                           const char* referrer, const char* const* acceptTypes, Dword flags,
                           std::uintptr_t context) {
  return FromNative(::HttpOpenRequestA(ToNative(connect), verb, objectName, version, referrer,
                                       const_cast<::LPCSTR*>(acceptTypes), flags, context));
}

Bool InternetSetOptionA(Hinternet internet, Dword option, void* buffer, Dword bufferLength) {
  return ::InternetSetOptionA(ToNative(internet), option, buffer, bufferLength);
}

Bool HttpSendRequestA(Hinternet request, const char* headers, Dword headersLength, void* optional,
                      Dword optionalLength) {
  return ::HttpSendRequestA(ToNative(request), headers, headersLength, optional, optionalLength);
}

Bool HttpSendRequestExA(Hinternet request, InternetBuffersA* buffersIn, InternetBuffersA* buffersOut,
                        Dword flags, std::uintptr_t context) {
  ::INTERNET_BUFFERSA in{}, out{};
  if (buffersIn) in = ToNative(*buffersIn);
  if (buffersOut) out = ToNative(*buffersOut);
  const ::BOOL ok = ::HttpSendRequestExA(ToNative(request), buffersIn ? &in : nullptr,
                                         buffersOut ? &out : nullptr, flags, context);
  if (buffersOut) FromNative(out, *buffersOut);
  return ok;
}

Bool InternetWriteFile(Hinternet file, const void* buffer, Dword bytesToWrite, Dword* bytesWritten) {
  ::DWORD written = 0;
  const ::BOOL ok = ::InternetWriteFile(ToNative(file), buffer, bytesToWrite, &written);
  if (bytesWritten) *bytesWritten = written;
  return ok;
}

Bool HttpEndRequestA(Hinternet request, InternetBuffersA* buffersOut, Dword flags, std::uintptr_t context) {
  ::INTERNET_BUFFERSA out{};
  if (buffersOut) out = ToNative(*buffersOut);
  const ::BOOL ok = ::HttpEndRequestA(ToNative(request), buffersOut ? &out : nullptr, flags, context);
  if (buffersOut) FromNative(out, *buffersOut);
  return ok;
}

Bool InternetReadFile(Hinternet file, void* buffer, Dword bytesToRead, Dword* bytesRead) {
  ::DWORD read = 0;
  if (bytesRead) *bytesRead = 0;
  const ::BOOL ok = ::InternetReadFile(ToNative(file), buffer, bytesToRead, &read);
  if (bytesRead) *bytesRead = read;
  return ok;
}

Bool HttpQueryInfoA(Hinternet request, Dword infoLevel, void* buffer, Dword* bufferLength, Dword* index) {
  ::DWORD length = bufferLength ? *bufferLength : 0;
  ::DWORD at = index ? *index : 0;
  const ::BOOL ok = ::HttpQueryInfoA(ToNative(request), infoLevel, buffer, bufferLength ? &length : nullptr,
                                     index ? &at : nullptr);
  if (bufferLength) *bufferLength = length;
  if (index) *index = at;
  return ok;
}

Bool InternetCloseHandle(Hinternet internet) { return ::InternetCloseHandle(ToNative(internet)); }

}  // namespace win
