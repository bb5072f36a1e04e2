// The program's folder and HTTP on Windows (WinInet).
#include <windows.h>

#include <wininet.h>

#include <chrono>
#include <vector>

#include "toolkit/win32/wide.h"
#include "toolkit/win32/win32.h"

namespace tk::win32 {

namespace {

std::string ExecutableFolder() {
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return ".\\";
    if (n < path.size()) {
      std::wstring p(path.data(), n);
      return Narrow(p.substr(0, p.find_last_of(L"\\/") + 1));
    }
    path.resize(path.size() * 2);  // long path: try again with room
  }
}

void SetTimeout(HINTERNET h, DWORD option, long ms) {
  DWORD value = ms > 0 ? static_cast<DWORD>(ms) : 1;
  InternetSetOptionW(h, option, &value, sizeof value);
}

}  // namespace

Win32Platform::Win32Platform() : folder_(ExecutableFolder()) {}

std::string Win32Platform::HttpGet(const HttpRequest& request) {
  using Clock = std::chrono::steady_clock;
  const auto start = Clock::now();
  const auto remaining = [&] {
    return request.totalTimeoutMs -
           std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
  };
  HINTERNET session = InternetOpenW(Widen(request.userAgent).c_str(), INTERNET_OPEN_TYPE_PRECONFIG,
                                    nullptr, nullptr, 0);
  if (session == nullptr) return {};
  const auto cancelled = [&] { return request.cancel != nullptr && request.cancel->Requested(); };
  std::string body;
  HINTERNET url = nullptr;
  bool closedByCancel = false;
  {
    // Closing the session from the cancelling thread ends a blocked open or
    // read at once, and closes the page with it.
    const WakeOnCancel wake(request.cancel, [&closedByCancel, session] {
      InternetCloseHandle(session);
      closedByCancel = true;
    });
    SetTimeout(session, INTERNET_OPTION_CONNECT_TIMEOUT, request.connectTimeoutMs);
    SetTimeout(session, INTERNET_OPTION_SEND_TIMEOUT, request.totalTimeoutMs);
    SetTimeout(session, INTERNET_OPTION_RECEIVE_TIMEOUT, request.totalTimeoutMs);
    url = InternetOpenUrlW(session, Widen(request.url).c_str(), nullptr, 0,
                           INTERNET_FLAG_NO_CACHE_WRITE, 0);
    std::vector<char> chunk(request.readSize > 0 ? request.readSize : 4096);
    // The status is not looked at: an error page's body counts like any other.
    while (url != nullptr && body.size() < request.maxBytes && !cancelled()) {
      const long left = remaining();
      if (left <= 0) break;
      // No single read may outlast the whole transfer's time.
      SetTimeout(url, INTERNET_OPTION_RECEIVE_TIMEOUT, left);
      DWORD got = 0;
      if (!InternetReadFile(url, chunk.data(), static_cast<DWORD>(chunk.size()), &got) ||
          got == 0) {
        break;
      }
      const std::size_t room = request.maxBytes - body.size();
      body.append(chunk.data(), got < room ? got : room);
    }
  }
  // No wake can run from here on.
  if (!closedByCancel) {
    if (url != nullptr) InternetCloseHandle(url);
    InternetCloseHandle(session);
  }
  return body;
}

}  // namespace tk::win32
