// A small HTTP/1.1 server on 127.0.0.1 for tests: it listens on a free port
// in a background thread, records every request and answers each with the
// response the test scripted. Builds with POSIX sockets and with Winsock2.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace testsupport {

struct RecordedRequest {
  std::string method;
  std::string path;
  std::string userAgent;  // empty when the request had none
};

struct Response {
  enum class Kind {
    Complete,  // status line, Content-Length, the whole body
    CutOff,    // announces `declaredLength`, sends `body`, then closes
    Streamed,  // `streamedLength` bytes repeating `body`, never held whole
    Silent,    // reads the request and never answers
  };
  Kind kind = Kind::Complete;
  int status = 200;
  std::string body;
  std::size_t declaredLength = 0;
  std::uint64_t streamedLength = 0;
  std::string location;  // sent as Location when not empty
  std::string contentType = "text/plain";

  static Response Page(std::string body, int status = 200);
  // A page with its Content-Type, e.g. "text/html; charset=gbk".
  static Response Typed(std::string body, std::string contentType, int status = 200);
  static Response CutOff(std::string sent, std::size_t declaredLength);
  static Response Streamed(std::string pattern, std::uint64_t length);
  static Response Silent();
  static Response Redirect(std::string location);
};

class HttpServer {
 public:
  // Starts listening at once; every request gets `response` until Answer()
  // changes it.
  explicit HttpServer(Response response = Response::Page(""));
  ~HttpServer();
  HttpServer(const HttpServer&) = delete;
  HttpServer& operator=(const HttpServer&) = delete;

  void Answer(Response response);
  std::uint16_t Port() const { return port_; }
  // http://127.0.0.1:PORT followed by the path.
  std::string Url(std::string_view path = "/tips.asp") const;

  std::vector<RecordedRequest> Requests() const;
  // Waits up to `ms` for `count` requests to have come.
  bool AwaitRequests(std::size_t count, int ms = 10000) const;

  // From now on every answer is held back, after its request is recorded,
  // until Release() (or a minute has passed). A client that hangs up while
  // it waits is counted.
  void Hold() { held_ = true; }
  void Release() { held_ = false; }
  std::size_t HangUps() const { return hangUps_; }
  bool AwaitHangUps(std::size_t count, int ms = 10000) const;
  // Body bytes the server managed to hand to the network, over all answers.
  std::uint64_t BodyBytesSent() const { return sent_; }

  // A port on 127.0.0.1 where nothing listens.
  static std::uint16_t ClosedPort();

 private:
  void Serve();
  void Handle(std::intptr_t client);

  std::intptr_t listener_ = -1;
  std::uint16_t port_ = 0;
  std::atomic<bool> stop_{false};
  std::atomic<std::uint64_t> sent_{0};
  std::atomic<bool> held_{false};
  std::atomic<std::size_t> hangUps_{0};
  mutable std::mutex mutex_;
  Response response_;
  std::vector<RecordedRequest> requests_;
  std::thread thread_;
};

}  // namespace testsupport
