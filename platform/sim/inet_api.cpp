// WinINet of the simulation: records each call and answers from the
// world's script.
#include <algorithm>
#include <cstring>

#include "platform/inet.h"
#include "platform/sim/world.h"

namespace win {

namespace {

std::optional<std::string> Text(const char* text) {
  if (!text) return std::nullopt;
  return std::string(text);
}

std::optional<std::string> Bytes(const char* text, Dword length) {
  if (!text) return std::nullopt;
  if (length == kLengthOfText) return std::string(text);
  return std::string(text, length);
}

bool IsOpen(Hinternet handle, sim::InetKind kind) {
  const auto& open = sim::TheWorld().inet.open;
  const auto it = open.find(Value(handle));
  return it != open.end() && it->second == kind;
}

Hinternet NewHandle(sim::InetKind kind) {
  auto& inet = sim::TheWorld().inet;
  const auto handle = static_cast<Hinternet>(inet.nextHandle);
  inet.nextHandle += 4;
  inet.open[Value(handle)] = kind;
  return handle;
}

sim::InetRequest* OpenRequest(Hinternet handle) {
  if (!IsOpen(handle, sim::InetKind::Request)) return nullptr;
  return sim::TheWorld().inet.FindRequest(handle);
}

bool Refused(const sim::InetRequest& request) {
  const auto& inet = sim::TheWorld().inet;
  const sim::InetConnection* connection = inet.FindConnection(request.parent);
  if (!connection) return true;
  const std::string host = connection->host.value_or("");
  return std::any_of(inet.refused.begin(), inet.refused.end(),
                     [&](const auto& pair) { return pair.first == host && pair.second == connection->port; });
}

void Answer(sim::InetRequest& request) {
  auto& inet = sim::TheWorld().inet;
  if (inet.responses.empty()) {
    request.response = sim::InetResponse{};
  } else {
    request.response = std::move(inet.responses.front());
    inet.responses.pop_front();
  }
  request.state = sim::InetRequest::State::Answered;
}

// How many bytes the next read may deliver at most: what is left of the
// current piece.
std::size_t PieceLeft(sim::InetRequest& request) {
  auto& pieces = request.response.pieces;
  while (request.piece < pieces.size() && request.pieceDelivered >= pieces[request.piece]) {
    ++request.piece;
    request.pieceDelivered = 0;
  }
  const std::size_t bodyLeft = request.response.body.size() - request.delivered;
  if (request.piece < pieces.size())
    return std::min(bodyLeft, pieces[request.piece] - request.pieceDelivered);
  return bodyLeft;
}

}  // namespace

Hinternet InternetOpenA(const char* agent, Dword accessType, const char* proxy, const char* proxyBypass,
                        Dword flags) {
  auto& world = sim::TheWorld();
  if (world.Enter("InternetOpenA")) return Hinternet{};
  sim::InetRoot root;
  root.agent = Text(agent);
  root.accessType = accessType;
  root.proxy = Text(proxy);
  root.bypass = Text(proxyBypass);
  root.flags = flags;
  if (accessType == kInternetOpenTypeProxy && (!proxy || !*proxy)) {
    world.inet.roots.push_back(root);
    return Hinternet{};
  }
  root.handle = NewHandle(sim::InetKind::Root);
  world.inet.roots.push_back(root);
  return root.handle;
}

Hinternet InternetConnectA(Hinternet internet, const char* serverName, Word serverPort, const char* userName,
                           const char* password, Dword service, Dword flags, std::uintptr_t context) {
  auto& world = sim::TheWorld();
  if (world.Enter("InternetConnectA")) return Hinternet{};
  sim::InetConnection connection;
  connection.parent = internet;
  connection.host = Text(serverName);
  connection.port = serverPort;
  connection.user = Text(userName);
  connection.password = Text(password);
  connection.service = service;
  connection.flags = flags;
  connection.context = context;
  if (IsOpen(internet, sim::InetKind::Root) && serverName && *serverName && service == kInternetServiceHttp)
    connection.handle = NewHandle(sim::InetKind::Connection);
  world.inet.connections.push_back(connection);
  return connection.handle;
}

Hinternet HttpOpenRequestA(Hinternet connect, const char* verb, const char* objectName, const char* version,
                           const char* referrer, const char* const* acceptTypes, Dword flags,
                           std::uintptr_t context) {
  auto& world = sim::TheWorld();
  if (world.Enter("HttpOpenRequestA")) return Hinternet{};
  sim::InetRequest request;
  request.parent = connect;
  request.verb = Text(verb);
  request.path = Text(objectName);
  request.version = Text(version);
  request.referrer = Text(referrer);
  request.acceptTypesNull = acceptTypes == nullptr;
  request.flags = flags;
  request.context = context;
  if (IsOpen(connect, sim::InetKind::Connection)) request.handle = NewHandle(sim::InetKind::Request);
  world.inet.requests.push_back(request);
  return world.inet.requests.back().handle;
}

Bool InternetSetOptionA(Hinternet internet, Dword option, void* buffer, Dword bufferLength) {
  auto& world = sim::TheWorld();
  if (world.Enter("InternetSetOptionA")) return kFalse;
  sim::InetRequest* request = OpenRequest(internet);
  if (!request || !buffer) return kFalse;
  request->options.push_back({option, std::string(static_cast<const char*>(buffer), bufferLength)});
  if (option == kInternetOptionSecurityFlags && bufferLength != 4) return kFalse;
  return kTrue;
}

Bool HttpSendRequestA(Hinternet request, const char* headers, Dword headersLength, void* optional,
                      Dword optionalLength) {
  auto& world = sim::TheWorld();
  if (world.Enter("HttpSendRequestA")) return kFalse;
  sim::InetRequest* r = OpenRequest(request);
  if (!r) return kFalse;
  ++r->sends;
  r->headers = Bytes(headers, headersLength);
  r->headersLength = headersLength;
  r->optionalNull = optional == nullptr;
  r->optionalLength = optionalLength;
  if (optional && optionalLength) r->chunks.emplace_back(static_cast<const char*>(optional), optionalLength);
  if (Refused(*r)) {
    r->state = sim::InetRequest::State::Failed;
    return kFalse;
  }
  Answer(*r);
  return kTrue;
}

Bool HttpSendRequestExA(Hinternet request, InternetBuffersA* buffersIn, InternetBuffersA* buffersOut,
                        Dword flags, std::uintptr_t context) {
  auto& world = sim::TheWorld();
  if (world.Enter("HttpSendRequestExA")) return kFalse;
  sim::InetRequest* r = OpenRequest(request);
  if (!r) return kFalse;
  ++r->sendExs;
  if (buffersIn) {
    sim::InetBuffersRecord record;
    record.structSize = buffersIn->dwStructSize;
    record.nextNull = buffersIn->Next == nullptr;
    record.header = Bytes(buffersIn->lpcszHeader, buffersIn->dwHeadersLength);
    record.headersLength = buffersIn->dwHeadersLength;
    record.headersTotal = buffersIn->dwHeadersTotal;
    record.bufferNull = buffersIn->lpvBuffer == nullptr;
    record.bufferLength = buffersIn->dwBufferLength;
    record.bufferTotal = buffersIn->dwBufferTotal;
    record.offsetLow = buffersIn->dwOffsetLow;
    record.offsetHigh = buffersIn->dwOffsetHigh;
    r->buffers = record;
  }
  r->buffersOutNull = buffersOut == nullptr;
  r->sendExFlags = flags;
  r->sendExContext = context;
  if (Refused(*r) || (buffersIn && buffersIn->dwStructSize != sizeof(InternetBuffersA))) {
    r->state = sim::InetRequest::State::Failed;
    return kFalse;
  }
  r->state = sim::InetRequest::State::Sending;
  return kTrue;
}

Bool InternetWriteFile(Hinternet file, const void* buffer, Dword bytesToWrite, Dword* bytesWritten) {
  auto& world = sim::TheWorld();
  const bool fail = world.Enter("InternetWriteFile");
  if (bytesWritten) *bytesWritten = 0;
  if (fail) return kFalse;
  sim::InetRequest* r = OpenRequest(file);
  if (!r || r->state != sim::InetRequest::State::Sending || (!buffer && bytesToWrite)) return kFalse;
  r->chunks.emplace_back(static_cast<const char*>(buffer), bytesToWrite);
  if (bytesWritten) *bytesWritten = bytesToWrite;
  return kTrue;
}

Bool HttpEndRequestA(Hinternet request, InternetBuffersA* buffersOut, Dword flags, std::uintptr_t context) {
  auto& world = sim::TheWorld();
  if (world.Enter("HttpEndRequestA")) return kFalse;
  sim::InetRequest* r = OpenRequest(request);
  if (!r) return kFalse;
  ++r->ends;
  r->endBuffersNull = buffersOut == nullptr;
  r->endFlags = flags;
  r->endContext = context;
  if (r->state != sim::InetRequest::State::Sending) return kFalse;
  Answer(*r);
  return kTrue;
}

Bool InternetReadFile(Hinternet file, void* buffer, Dword bytesToRead, Dword* bytesRead) {
  auto& world = sim::TheWorld();
  const bool fail = world.Enter("InternetReadFile");
  if (bytesRead) *bytesRead = 0;  // the platform clears the count before anything else
  if (fail) return kFalse;
  sim::InetRequest* r = OpenRequest(file);
  if (!r || !bytesRead || r->state != sim::InetRequest::State::Answered) return kFalse;
  r->reads.push_back(bytesToRead);
  const std::size_t count = std::min<std::size_t>(bytesToRead, PieceLeft(*r));
  if (count && !buffer) return kFalse;
  if (count) std::memcpy(buffer, r->response.body.data() + r->delivered, count);
  r->delivered += count;
  r->pieceDelivered += count;
  *bytesRead = static_cast<Dword>(count);
  return kTrue;
}

Bool HttpQueryInfoA(Hinternet request, Dword infoLevel, void* buffer, Dword* bufferLength, Dword* index) {
  auto& world = sim::TheWorld();
  if (world.Enter("HttpQueryInfoA")) return kFalse;
  sim::InetRequest* r = OpenRequest(request);
  if (!r || !bufferLength) return kFalse;
  r->queries.push_back({infoLevel, *bufferLength, index == nullptr});
  if (r->state != sim::InetRequest::State::Answered) return kFalse;
  std::string answer;
  switch (infoLevel & 0xFFFF) {
    case kHttpQueryRawHeadersCrlf:
      answer = r->response.headers;
      break;
    case kHttpQueryRawHeaders:
      answer = r->response.headers;
      std::replace(answer.begin(), answer.end(), '\r', '\0');
      std::erase(answer, '\n');
      break;
    default:
      return kFalse;
  }
  // Text answers need room for their NUL; a short buffer is left alone and
  // told the size it needs.
  if (!buffer || *bufferLength < answer.size() + 1) {
    *bufferLength = static_cast<Dword>(answer.size() + 1);
    return kFalse;
  }
  std::memcpy(buffer, answer.data(), answer.size());
  static_cast<char*>(buffer)[answer.size()] = '\0';
  *bufferLength = static_cast<Dword>(answer.size());
  return kTrue;
}

Bool InternetCloseHandle(Hinternet internet) {
  auto& world = sim::TheWorld();
  if (world.Enter("InternetCloseHandle")) return kFalse;
  if (!world.inet.open.erase(Value(internet))) {
    ++world.inet.badCloses;
    return kFalse;
  }
  world.inet.closed.push_back(internet);
  return kTrue;
}

}  // namespace win
