// What the programs that pose windows for the screenshot scripts share.
#pragma once

#include <windows.h>

#include <chrono>
#include <string>

#include "toolkit/win32/win32.h"

namespace shot {

// Runs the message loop for `ms` milliseconds, views shown.
inline void PumpFor(tk::win32::Win32Application& app, int ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (std::chrono::steady_clock::now() < end) {
    app.PumpMessages();
    app.FlushViews();
    Sleep(20);
  }
}

// The environment variable's value, or empty.
inline std::wstring Env(const wchar_t* name) {
  wchar_t value[MAX_PATH] = {};
  const DWORD n = GetEnvironmentVariableW(name, value, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::wstring(value, n) : std::wstring();
}

// Tells the photographer that `window` is painted: the file that
// QELMAR3D_SHOT_READY names receives its rectangle on the screen, WxH+X+Y.
inline void SayReady(HWND window) {
  const std::wstring ready = Env(L"QELMAR3D_SHOT_READY");
  if (ready.empty()) return;
  RECT r{};
  GetWindowRect(window, &r);
  const std::string rect = std::to_string(r.right - r.left) + "x" +
                           std::to_string(r.bottom - r.top) + "+" + std::to_string(r.left) + "+" +
                           std::to_string(r.top) + "\n";
  HANDLE file = CreateFileW(ready.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, rect.data(), static_cast<DWORD>(rect.size()), &written, nullptr);
  CloseHandle(file);
}

}  // namespace shot
