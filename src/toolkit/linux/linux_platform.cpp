#include "toolkit/linux/linux_platform.h"

#include <curl/curl.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
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

// $HOME as the login shell set it, else the user's entry in the password file.
std::string HomeFolder() {
  const char* env = std::getenv("HOME");
  if (env != nullptr && *env != '\0') return env;
  const passwd* pw = getpwuid(getuid());
  return pw != nullptr && pw->pw_dir != nullptr ? pw->pw_dir : "";
}

std::string EnvValue(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

std::string Slashed(const std::string& folder) {
  std::string s = std::filesystem::path(folder).lexically_normal().string();
  if (s.empty() || s.back() != '/') s += '/';
  return s;
}

bool IsFolder(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Makes the folder and its missing parents, new ones open to this user only
// as the XDG base directory rules ask.
bool MakeFolder(const std::string& folder) {
  std::filesystem::path p;
  for (const auto& part : std::filesystem::path(folder)) {
    p /= part;
    if (mkdir(p.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  return IsFolder(folder);
}

// Whether this user can make files in the folder, tried for real: the
// permission bits do not tell (root, read-only mounts, ACLs).
bool Writable(const std::string& folder) {
  const std::string probe = Slashed(folder) + ".qelmar3d-probe-" + std::to_string(getpid());
  const int fd = open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  close(fd);
  return unlink(probe.c_str()) == 0;
}

// The user's folder for the program: `xdgHome`/qelmar3d/ or
// `home`/`homeSub`/qelmar3d/; empty when neither is usable.
std::string UserFolder(const std::string& xdgHome, const std::string& home, const char* homeSub) {
  // A relative XDG folder is invalid and ignored, as the rules say.
  if (!xdgHome.empty() && xdgHome.front() == '/') return Slashed(xdgHome) + "qelmar3d/";
  // A home that does not exist is not made.
  if (!home.empty() && home.front() == '/' && IsFolder(home)) {
    return Slashed(home) + homeSub + "qelmar3d/";
  }
  return {};
}

// Beside a build or unpacked program this user can write to; else, and
// always for one in a system folder, the user's folder.
FolderChoice ChooseUserFolder(const std::string& programFolder, const std::string& installBinFolder,
                              const std::string& xdgHome, const std::string& home,
                              const char* homeSub) {
  const std::string program = Slashed(programFolder);
  FolderCandidates candidates;
  candidates.program = programFolder;
  candidates.installed = (!installBinFolder.empty() && program == Slashed(installBinFolder)) ||
                         program.rfind("/usr/", 0) == 0;
  candidates.user = UserFolder(xdgHome, home, homeSub);
  return ChooseWritableFolder(candidates, {&Writable, &MakeFolder});
}

}  // namespace

std::string LinuxPlatform::ChooseCacheFolder(const std::string& programFolder,
                                             const std::string& installBinFolder,
                                             const std::string& xdgCacheHome,
                                             const std::string& home) {
  return ChooseUserFolder(programFolder, installBinFolder, xdgCacheHome, home, ".cache/").folder;
}

FolderChoice LinuxPlatform::ChooseDataFolder(const std::string& programFolder,
                                             const std::string& installBinFolder,
                                             const std::string& xdgDataHome,
                                             const std::string& home) {
  return ChooseUserFolder(programFolder, installBinFolder, xdgDataHome, home, ".local/share/");
}

LinuxPlatform::LinuxPlatform(const std::string& installBinFolder)
    : folder_(ExecutableFolder()),
      cache_(
          ChooseCacheFolder(folder_, installBinFolder, EnvValue("XDG_CACHE_HOME"), HomeFolder())) {
  FolderChoice data =
      ChooseDataFolder(folder_, installBinFolder, EnvValue("XDG_DATA_HOME"), HomeFolder());
  data_ = std::move(data.folder);
  dataNotice_ = std::move(data.notice);
}

HttpResponse LinuxPlatform::HttpFetch(const HttpRequest& request) {
  HttpResponse response;
  static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  if (!initialised) return response;
  CURL* curl = curl_easy_init();
  if (curl == nullptr) return response;
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
  // An error page's body is collected like any other; the status says what it is.
  CURLcode result = CURLE_FAILED_INIT;
  // The multi interface, so that a cancellation wakes the wait at once.
  CURLM* multi = curl_multi_init();
  if (multi == nullptr) {
    result = curl_easy_perform(curl);
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
    int left = 0;
    while (const CURLMsg* message = curl_multi_info_read(multi, &left)) {
      if (message->msg == CURLMSG_DONE && message->easy_handle == curl) {
        result = message->data.result;
      }
    }
    curl_multi_remove_handle(multi, curl);
  }
  long status = 0;
  if (curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status) == CURLE_OK) {
    response.status = static_cast<int>(status);
  }
  const char* type = nullptr;
  if (curl_easy_getinfo(curl, CURLINFO_CONTENT_TYPE, &type) == CURLE_OK && type != nullptr) {
    response.contentType = type;
  }
  if (multi != nullptr) curl_multi_cleanup(multi);
  curl_easy_cleanup(curl);
  response.complete = result == CURLE_OK && body.bytes.size() < request.maxBytes;
  response.body = std::move(body.bytes);
  return response;
}

}  // namespace tk
