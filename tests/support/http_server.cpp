#include "http_server.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <stdexcept>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace testsupport {

namespace {

#ifdef _WIN32
using Socket = SOCKET;
const Socket kNoSocket = INVALID_SOCKET;
constexpr int kSendFlags = 0;
void CloseSocket(Socket s) {
  closesocket(s);
}
void ShutdownSend(Socket s) {
  shutdown(s, SD_SEND);
}
using SockLen = int;

struct WinsockUser {
  WinsockUser() {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) throw std::runtime_error("WSAStartup failed");
  }
  ~WinsockUser() { WSACleanup(); }
};
#else
using Socket = int;
const Socket kNoSocket = -1;
// A client that hangs up must not kill the test with SIGPIPE.
constexpr int kSendFlags = MSG_NOSIGNAL;
void CloseSocket(Socket s) {
  close(s);
}
void ShutdownSend(Socket s) {
  shutdown(s, SHUT_WR);
}
using SockLen = socklen_t;

struct WinsockUser {};
#endif

WinsockUser& Winsock() {
  static WinsockUser user;
  return user;
}

Socket AsSocket(std::intptr_t s) {
  return static_cast<Socket>(s);
}

// Waits up to `ms` for the socket to become readable.
bool Readable(Socket s, int ms) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(s, &set);
  timeval tv{};
  tv.tv_sec = ms / 1000;
  tv.tv_usec = static_cast<decltype(tv.tv_usec)>(ms % 1000) * 1000;
  return select(static_cast<int>(s) + 1, &set, nullptr, nullptr, &tv) > 0;
}

bool SendAll(Socket s, std::string_view bytes) {
  while (!bytes.empty()) {
    const int chunk = static_cast<int>(std::min<std::size_t>(bytes.size(), 1 << 16));
    const auto n = send(s, bytes.data(), chunk, kSendFlags);
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

sockaddr_in Loopback(std::uint16_t port) {
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(port);
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return addr;
}

std::string HeaderValue(std::string_view head, std::string_view name) {
  std::size_t pos = 0;
  while (pos < head.size()) {
    std::size_t end = head.find("\r\n", pos);
    if (end == std::string_view::npos) end = head.size();
    const std::string_view line = head.substr(pos, end - pos);
    const std::size_t colon = line.find(':');
    if (colon == name.size() &&
        std::equal(name.begin(), name.end(), line.begin(), [](char a, char b) {
          return std::tolower(static_cast<unsigned char>(a)) ==
                 std::tolower(static_cast<unsigned char>(b));
        })) {
      std::string_view value = line.substr(colon + 1);
      while (!value.empty() && value.front() == ' ') value.remove_prefix(1);
      return std::string(value);
    }
    pos = end + 2;
  }
  return {};
}

const char* Reason(int status) {
  switch (status) {
    case 200:
      return "OK";
    case 302:
      return "Found";
    case 404:
      return "Not Found";
    case 500:
      return "Internal Server Error";
    default:
      return "Status";
  }
}

}  // namespace

Response Response::Page(std::string body, int status) {
  Response r;
  r.status = status;
  r.body = std::move(body);
  return r;
}

Response Response::Typed(std::string body, std::string contentType, int status) {
  Response r = Page(std::move(body), status);
  r.contentType = std::move(contentType);
  return r;
}

Response Response::CutOff(std::string sent, std::size_t declaredLength) {
  Response r;
  r.kind = Kind::CutOff;
  r.body = std::move(sent);
  r.declaredLength = declaredLength;
  return r;
}

Response Response::Streamed(std::string pattern, std::uint64_t length) {
  Response r;
  r.kind = Kind::Streamed;
  r.body = std::move(pattern);
  r.streamedLength = length;
  return r;
}

Response Response::Silent() {
  Response r;
  r.kind = Kind::Silent;
  return r;
}

Response Response::Redirect(std::string location) {
  Response r;
  r.status = 302;
  r.location = std::move(location);
  return r;
}

HttpServer::HttpServer(Response response) : response_(std::move(response)) {
  Winsock();
#ifndef _WIN32
  // Loopback requests must never be sent to a proxy of the machine.
  for (const char* v :
       {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"}) {
    unsetenv(v);
  }
#endif
  const Socket s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == kNoSocket) throw std::runtime_error("socket failed");
  sockaddr_in addr = Loopback(0);
  SockLen len = sizeof addr;
  if (bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || listen(s, 16) != 0 ||
      getsockname(s, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
    CloseSocket(s);
    throw std::runtime_error("cannot listen on 127.0.0.1");
  }
  listener_ = static_cast<std::intptr_t>(s);
  port_ = ntohs(addr.sin_port);
  thread_ = std::thread([this] { Serve(); });
}

HttpServer::~HttpServer() {
  stop_ = true;
  thread_.join();
  CloseSocket(AsSocket(listener_));
}

void HttpServer::Answer(Response response) {
  std::lock_guard lock(mutex_);
  response_ = std::move(response);
}

std::string HttpServer::Url(std::string_view path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + std::string(path);
}

std::vector<RecordedRequest> HttpServer::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

namespace {

template <class F>
bool WaitFor(F&& done, int ms) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!done()) {
    if (std::chrono::steady_clock::now() >= until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

}  // namespace

bool HttpServer::AwaitRequests(std::size_t count, int ms) const {
  return WaitFor([&] { return Requests().size() >= count; }, ms);
}

bool HttpServer::AwaitHangUps(std::size_t count, int ms) const {
  return WaitFor([&] { return hangUps_ >= count; }, ms);
}

std::uint16_t HttpServer::ClosedPort() {
  Winsock();
  const Socket s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in addr = Loopback(0);
  SockLen len = sizeof addr;
  if (bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
      getsockname(s, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
    CloseSocket(s);
    throw std::runtime_error("cannot bind on 127.0.0.1");
  }
  // Bound but never listening, then released: connections are refused.
  CloseSocket(s);
  return ntohs(addr.sin_port);
}

void HttpServer::Serve() {
  const Socket listener = AsSocket(listener_);
  while (!stop_) {
    if (!Readable(listener, 20)) continue;
    const Socket client = accept(listener, nullptr, nullptr);
    if (client == kNoSocket) continue;
    // Head and body go out at once, not held back waiting for an ACK.
    int on = 1;
    setsockopt(client, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
    Handle(static_cast<std::intptr_t>(client));
    CloseSocket(client);
  }
}

void HttpServer::Handle(std::intptr_t handle) {
  const Socket client = AsSocket(handle);
  // The request head, up to the blank line.
  std::string head;
  char buffer[4096];
  while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536 && !stop_) {
    if (!Readable(client, 20)) continue;
    const auto n = recv(client, buffer, sizeof buffer, 0);
    if (n <= 0) return;
    head.append(buffer, static_cast<std::size_t>(n));
  }
  RecordedRequest request;
  const std::size_t lineEnd = head.find("\r\n");
  const std::string_view line = std::string_view(head).substr(0, lineEnd);
  const std::size_t sp1 = line.find(' ');
  const std::size_t sp2 = line.find(' ', sp1 + 1);
  if (sp1 != std::string_view::npos) request.method = std::string(line.substr(0, sp1));
  if (sp2 != std::string_view::npos)
    request.path = std::string(line.substr(sp1 + 1, sp2 - sp1 - 1));
  if (lineEnd != std::string::npos)
    request.userAgent = HeaderValue(head.substr(lineEnd + 2), "User-Agent");

  Response response;
  {
    std::lock_guard lock(mutex_);
    requests_.push_back(request);
    response = response_;
  }

  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (held_ && !stop_ && std::chrono::steady_clock::now() < limit) {
    if (!Readable(client, 20)) continue;
    if (recv(client, buffer, sizeof buffer, 0) <= 0) {
      ++hangUps_;
      return;
    }
  }

  if (response.kind == Response::Kind::Silent) {
    // Hold the connection open until the client gives up or the test ends;
    // a client without a time-out is let go after a minute, so the test
    // fails instead of hanging.
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!stop_ && std::chrono::steady_clock::now() < until) {
      if (!Readable(client, 20)) continue;
      if (recv(client, buffer, sizeof buffer, 0) <= 0) return;
    }
    return;
  }

  std::uint64_t length = response.body.size();
  if (response.kind == Response::Kind::CutOff) length = response.declaredLength;
  if (response.kind == Response::Kind::Streamed) length = response.streamedLength;
  std::string out = "HTTP/1.1 " + std::to_string(response.status) + " " + Reason(response.status) +
                    "\r\nContent-Type: " + response.contentType +
                    "\r\nContent-Length: " + std::to_string(length) + "\r\nConnection: close\r\n";
  if (!response.location.empty()) out += "Location: " + response.location + "\r\n";
  out += "\r\n";
  if (!SendAll(client, out)) return;

  if (response.kind == Response::Kind::Streamed) {
    // Repeat the pattern in blocks of about 64 KiB, never the whole body.
    std::string block;
    while (!response.body.empty() && block.size() < 65536) block += response.body;
    std::uint64_t left = response.streamedLength;
    while (left > 0 && !stop_ && !block.empty()) {
      const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(left, block.size()));
      if (!SendAll(client, std::string_view(block).substr(0, n))) break;
      sent_ += n;
      left -= n;
    }
  } else if (SendAll(client, response.body)) {
    sent_ += response.body.size();
  }
  ShutdownSend(client);
  // Let the client read everything before the socket goes away.
  while (!stop_ && Readable(client, 1000)) {
    if (recv(client, buffer, sizeof buffer, 0) <= 0) break;
  }
}

}  // namespace testsupport
