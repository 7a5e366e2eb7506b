// Simulated WinINet: every call is recorded with its arguments, and answers
// come from a script. A request that reaches a "server" takes the next
// scripted response (or an empty 200 when the script has run out).
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/types.h"

namespace sim {

struct InetResponse {
  // The raw header block as HTTP_QUERY_RAW_HEADERS_CRLF gives it.
  std::string headers = "HTTP/1.1 200 OK\r\n\r\n";
  std::string body;  // bytes
  // Sizes of the pieces in which the body arrives (a read never returns
  // more than what is left of the current piece); what the list leaves over
  // arrives in one piece. Zero sizes are skipped.
  std::vector<std::size_t> pieces;
};

enum class InetKind { Root, Connection, Request };

struct InetRoot {
  win::Hinternet handle{};
  std::optional<std::string> agent;  // nullopt: a null pointer was passed
  win::Dword accessType = 0;
  std::optional<std::string> proxy;
  std::optional<std::string> bypass;
  win::Dword flags = 0;
};

struct InetConnection {
  win::Hinternet handle{};
  win::Hinternet parent{};
  std::optional<std::string> host;
  win::Word port = 0;
  std::optional<std::string> user;
  std::optional<std::string> password;
  win::Dword service = 0;
  win::Dword flags = 0;
  std::uintptr_t context = 0;
};

struct InetOption {
  win::Dword option = 0;
  std::string value;  // the bytes the buffer held
};

// A copy of an INTERNET_BUFFERSA record as it was passed.
struct InetBuffersRecord {
  win::Dword structSize = 0;
  bool nextNull = true;
  std::optional<std::string> header;  // dwHeadersLength bytes from lpcszHeader
  win::Dword headersLength = 0;
  win::Dword headersTotal = 0;
  bool bufferNull = true;
  win::Dword bufferLength = 0;
  win::Dword bufferTotal = 0;
  win::Dword offsetLow = 0;
  win::Dword offsetHigh = 0;
};

struct InetQuery {
  win::Dword infoLevel = 0;
  win::Dword offered = 0;  // *bufferLength on entry
  bool indexNull = true;
};

struct InetRequest {
  enum class State { Opened, Sending, Answered, Failed };

  win::Hinternet handle{};
  win::Hinternet parent{};
  std::optional<std::string> verb;
  std::optional<std::string> path;
  std::optional<std::string> version;
  std::optional<std::string> referrer;
  bool acceptTypesNull = true;
  win::Dword flags = 0;
  std::uintptr_t context = 0;

  std::vector<InetOption> options;  // InternetSetOptionA, in order

  // HttpSendRequestA
  int sends = 0;
  std::optional<std::string> headers;  // the block, headersLength bytes
  win::Dword headersLength = 0;
  bool optionalNull = true;
  win::Dword optionalLength = 0;

  // HttpSendRequestExA, InternetWriteFile, HttpEndRequestA
  int sendExs = 0;
  std::optional<InetBuffersRecord> buffers;
  bool buffersOutNull = true;
  win::Dword sendExFlags = 0;
  std::uintptr_t sendExContext = 0;
  std::vector<std::string> chunks;  // each write's bytes, in order
  int ends = 0;
  bool endBuffersNull = true;
  win::Dword endFlags = 0;
  std::uintptr_t endContext = 0;

  std::vector<win::Dword> reads;  // bytes asked for by each InternetReadFile
  std::vector<InetQuery> queries;

  State state = State::Opened;
  InetResponse response;  // valid once answered
  std::size_t delivered = 0;
  std::size_t piece = 0;           // index into response.pieces
  std::size_t pieceDelivered = 0;  // bytes of that piece already read

  // The body as it went on the wire: every written chunk, in order.
  std::string Body() const {
    std::string body;
    for (const auto& chunk : chunks) body += chunk;
    return body;
  }
};

struct InetState {
  // Script.
  std::deque<InetResponse> responses;
  // Host and port pairs where nothing listens: sending to them fails.
  std::vector<std::pair<std::string, win::Word>> refused;
  void Answer(InetResponse response) { responses.push_back(std::move(response)); }
  void Refuse(std::string host, win::Word port) { refused.emplace_back(std::move(host), port); }

  // Record.
  std::vector<InetRoot> roots;
  std::vector<InetConnection> connections;
  std::vector<InetRequest> requests;
  std::map<std::uintptr_t, InetKind> open;  // handles open now
  std::vector<win::Hinternet> closed;       // in the order they were closed
  int badCloses = 0;                        // closes of handles that were not open

  int OpenCount() const { return static_cast<int>(open.size()); }
  InetRequest* FindRequest(win::Hinternet handle) {
    for (auto& request : requests)
      if (request.handle == handle) return &request;
    return nullptr;
  }
  const InetConnection* FindConnection(win::Hinternet handle) const {
    for (const auto& connection : connections)
      if (connection.handle == handle) return &connection;
    return nullptr;
  }

  std::uintptr_t nextHandle = 0xCC0004;
};

}  // namespace sim
