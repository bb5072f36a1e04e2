// The program's folder, the folder of its cache and data, and HTTP on
// Windows (WinInet).
#include <windows.h>
// The known folders' ids are defined here rather than taken from libuuid.
#include <initguid.h>
#include <knownfolders.h>
#include <shlobj.h>
#include <wininet.h>

#include <chrono>
#include <filesystem>
#include <system_error>
#include <vector>

#include "toolkit/data_folder.h"
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

// The path as it is stored, not in a launcher's short 8.3 form.
std::wstring LongPath(const std::wstring& path) {
  const DWORD n = GetLongPathNameW(path.c_str(), nullptr, 0);
  if (n == 0) return path;
  std::wstring full(n, L'\0');
  const DWORD m = GetLongPathNameW(path.c_str(), full.data(), n);
  if (m == 0 || m >= n) return path;
  full.resize(m);
  return full;
}

std::string KnownFolder(REFKNOWNFOLDERID id, DWORD flags = 0) {
  PWSTR path = nullptr;
  std::string folder;
  if (SUCCEEDED(SHGetKnownFolderPath(id, flags, nullptr, &path))) folder = Narrow(LongPath(path));
  CoTaskMemFree(path);
  return folder;
}

// Backslashes only, no \\?\ prefix, one '\' at the end.
std::wstring Normalised(const std::string& folder) {
  std::wstring w = Widen(folder);
  for (wchar_t& c : w) {
    if (c == L'/') c = L'\\';
  }
  if (w.rfind(L"\\\\?\\", 0) == 0) w.erase(0, 4);
  while (!w.empty() && w.back() == L'\\') w.pop_back();
  return w + L'\\';
}

// Whether `folder` is `base` or lies inside it, in any letter case as the
// file system compares names.
bool IsWithin(const std::wstring& folder, const std::wstring& base) {
  return base.size() > 1 && folder.size() >= base.size() &&
         CompareStringOrdinal(folder.data(), static_cast<int>(base.size()), base.data(),
                              static_cast<int>(base.size()), TRUE) == CSTR_EQUAL;
}

// Whether this user may make files in the folder: a file that vanishes when
// closed, so nothing is left even when the program is killed.
bool Writable(const std::string& folder) {
  const std::wstring probe =
      Widen(folder) + L"~qelmar3d-" + std::to_wstring(GetCurrentProcessId()) + L".tmp";
  HANDLE h = CreateFileW(
      probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
      FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  CloseHandle(h);
  return true;
}

// Makes the folder and its missing parents.
bool MakeFolders(const std::string& folder) {
  const std::filesystem::path path(Widen(folder));
  std::error_code error;
  std::filesystem::create_directories(path, error);
  return std::filesystem::is_directory(path, error);
}

// %APPDATA% from the shell, else from the environment.
std::string RoamingAppData() {
  std::string folder = KnownFolder(FOLDERID_RoamingAppData, KF_FLAG_CREATE);
  if (!folder.empty()) return folder;
  const DWORD n = GetEnvironmentVariableW(L"APPDATA", nullptr, 0);
  if (n == 0) return {};
  std::wstring value(n, L'\0');
  const DWORD m = GetEnvironmentVariableW(L"APPDATA", value.data(), n);
  if (m == 0 || m >= n) return {};
  value.resize(m);
  return Narrow(value);
}

bool Installed(const std::string& programFolder, const std::vector<std::string>& programFiles,
               bool marked) {
  const std::wstring program = Normalised(programFolder);
  for (const std::string& base : programFiles) {
    if (!base.empty() && IsWithin(program, Normalised(base))) return true;
  }
  return marked;
}

std::string OwnAppData(const std::string& appDataFolder) {
  if (appDataFolder.empty()) return {};
  return Narrow(Normalised(appDataFolder)) + "Qelmar3D\\";
}

FolderChoice ChooseForThisUser(const std::string& programFolder) {
  const std::vector<std::string> programFiles{KnownFolder(FOLDERID_ProgramFiles),
                                              KnownFolder(FOLDERID_ProgramFilesX86)};
  // The setup program's uninstaller marks an installed program wherever the
  // user chose to put it.
  const bool marked =
      GetFileAttributesW(Widen(programFolder + "Uninstall.exe").c_str()) != INVALID_FILE_ATTRIBUTES;
  return Win32Platform::ChooseFolder(programFolder, programFiles, marked, RoamingAppData());
}

void SetTimeout(HINTERNET h, DWORD option, long ms) {
  DWORD value = ms > 0 ? static_cast<DWORD>(ms) : 1;
  InternetSetOptionW(h, option, &value, sizeof value);
}

}  // namespace

Win32Platform::Win32Platform() : folder_(Narrow(LongPath(Widen(ExecutableFolder())))) {
  FolderChoice choice = ChooseForThisUser(folder_);
  data_ = std::move(choice.folder);
  dataNotice_ = std::move(choice.notice);
}

std::string Win32Platform::ChooseDataFolder(const std::string& programFolder,
                                            const std::vector<std::string>& programFilesFolders,
                                            bool installed, const std::string& appDataFolder) {
  if (!Installed(programFolder, programFilesFolders, installed)) return programFolder;
  return OwnAppData(appDataFolder);
}

FolderChoice Win32Platform::ChooseFolder(const std::string& programFolder,
                                         const std::vector<std::string>& programFilesFolders,
                                         bool marked, const std::string& appDataFolder) {
  FolderCandidates candidates;
  candidates.program = programFolder;
  candidates.installed = Installed(programFolder, programFilesFolders, marked);
  candidates.user = OwnAppData(appDataFolder);
  FolderAccess access;
  access.probe = [](const std::string& folder) { return Writable(folder); };
  access.make = [](const std::string& folder) { return MakeFolders(folder); };
  return ChooseWritableFolder(candidates, access);
}

HttpResponse Win32Platform::HttpFetch(const HttpRequest& request) {
  using Clock = std::chrono::steady_clock;
  const auto start = Clock::now();
  const auto remaining = [&] {
    return request.totalTimeoutMs -
           std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
  };
  HttpResponse response;
  HINTERNET session = InternetOpenW(Widen(request.userAgent).c_str(), INTERNET_OPEN_TYPE_PRECONFIG,
                                    nullptr, nullptr, 0);
  if (session == nullptr) return response;
  const auto cancelled = [&] { return request.cancel != nullptr && request.cancel->Requested(); };
  std::string& body = response.body;
  HINTERNET url = nullptr;
  bool closedByCancel = false;
  bool ended = false;   // the server's end of the body was read
  DWORD announced = 0;  // Content-Length, when the answer gave one
  bool lengthKnown = false;
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
    if (url != nullptr && !cancelled()) {
      DWORD status = 0;
      DWORD size = sizeof status;
      if (HttpQueryInfoW(url, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                         nullptr)) {
        response.status = static_cast<int>(status);
      }
      std::vector<wchar_t> type(256);
      size = static_cast<DWORD>(type.size() * sizeof(wchar_t));
      if (HttpQueryInfoW(url, HTTP_QUERY_CONTENT_TYPE, type.data(), &size, nullptr)) {
        response.contentType = Narrow(std::wstring(type.data(), size / sizeof(wchar_t)));
      }
      // A connection closed early ends the reads as the body's end would.
      size = sizeof announced;
      lengthKnown = HttpQueryInfoW(url, HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER,
                                   &announced, &size, nullptr) != FALSE;
    }
    std::vector<char> chunk(request.readSize > 0 ? request.readSize : 4096);
    // An error page's body is collected like any other; the status says what it is.
    while (url != nullptr && body.size() < request.maxBytes && !cancelled()) {
      const long left = remaining();
      if (left <= 0) break;
      // No single read may outlast the whole transfer's time.
      SetTimeout(url, INTERNET_OPTION_RECEIVE_TIMEOUT, left);
      DWORD got = 0;
      if (!InternetReadFile(url, chunk.data(), static_cast<DWORD>(chunk.size()), &got)) break;
      if (got == 0) {
        ended = true;
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
  response.complete = ended && !closedByCancel && body.size() < request.maxBytes &&
                      (!lengthKnown || body.size() == announced);
  return response;
}

}  // namespace tk::win32
