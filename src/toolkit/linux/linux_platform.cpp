#include "toolkit/linux/linux_platform.h"

#include <curl/curl.h>
#include <pwd.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <utility>

namespace tk {

namespace {

std::string ExecutableFolder() {
  std::array<char, 4096> path{};
  const ssize_t n = readlink("/proc/self/exe", path.data(), path.size() - 1);
  if (n <= 0) return "./";
  std::string p(path.data(), static_cast<std::size_t>(n));
  return p.substr(0, p.rfind('/') + 1);
}

struct Body {
  std::string bytes;
  std::size_t cap = 0;
};

std::size_t Collect(char* data, std::size_t size, std::size_t count, void* user) {
  auto* body = static_cast<Body*>(user);
  const std::size_t n = size * count;
  const std::size_t room = body->cap - body->bytes.size();
  try {
    body->bytes.append(data, n < room ? n : room);
  } catch (...) {
    // No error may cross libcurl; what was collected so far stands.
    return 0;
  }
  // Past the cap the transfer stops, as if it had broken off.
  return n <= room ? n : 0;
}

std::string HomeFolder() {
  const passwd* pw = getpwuid(getuid());
  return pw != nullptr && pw->pw_dir != nullptr ? pw->pw_dir : "";
}

}  // namespace

std::string LinuxPlatform::CacheFolder(const std::string& programFolder, const std::string& home) {
  if (access(programFolder.c_str(), W_OK) == 0 || home.empty()) return programFolder;
  const std::string own = home + "/.cache/qelmar3d/";
  std::error_code ec;
  std::filesystem::create_directories(own, ec);
  return access(own.c_str(), W_OK) == 0 ? own : programFolder;
}

LinuxPlatform::LinuxPlatform() : folder_(CacheFolder(ExecutableFolder(), HomeFolder())) {}

std::string LinuxPlatform::HttpGet(const HttpRequest& request) {
  static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  if (!initialised) return {};
  CURL* curl = curl_easy_init();
  if (curl == nullptr) return {};
  Body body;
  body.cap = request.maxBytes;
  curl_easy_setopt(curl, CURLOPT_URL, request.url.c_str());
  curl_easy_setopt(curl, CURLOPT_USERAGENT, request.userAgent.c_str());
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &Collect);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
  curl_easy_setopt(curl, CURLOPT_BUFFERSIZE, static_cast<long>(request.readSize));
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, request.connectTimeoutMs);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, request.totalTimeoutMs);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  // Redirects are followed, as the Windows Internet functions do by default.
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 10L);
  curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  // The status is not looked at: an error page's body counts like any other.
  // The multi interface, so that a cancellation wakes the wait at once.
  CURLM* multi = curl_multi_init();
  if (multi == nullptr) {
    curl_easy_perform(curl);
  } else if (curl_multi_add_handle(multi, curl) == CURLM_OK) {
    const auto cancelled = [&] { return request.cancel != nullptr && request.cancel->Requested(); };
    {
      const WakeOnCancel wake(request.cancel, [multi] { curl_multi_wakeup(multi); });
      int running = 1;
      while (running > 0 && !cancelled()) {
        if (curl_multi_perform(multi, &running) != CURLM_OK || running == 0) break;
        if (curl_multi_poll(multi, nullptr, 0, 1000, nullptr) != CURLM_OK) break;
      }
    }
    curl_multi_remove_handle(multi, curl);
  }
  if (multi != nullptr) curl_multi_cleanup(multi);
  curl_easy_cleanup(curl);
  return std::move(body.bytes);
}

}  // namespace tk
