#include <windows.h>

#include <commdlg.h>
#include <objbase.h>
#include <shlobj.h>

#include <vector>

#include "toolkit/win32/wide.h"
#include "toolkit/win32/win32_menu.h"

namespace tk::win32 {

namespace {

// FOLDERID_Documents, spelled out so that no GUID library is needed.
constexpr GUID kDocuments = {
    0xFDD39AD0, 0x238F, 0x46AF, {0xAD, 0xB4, 0x6C, 0x85, 0x48, 0x03, 0x69, 0xC7}};

std::wstring DocumentsFolder() {
  PWSTR path = nullptr;
  std::wstring folder;
  if (SUCCEEDED(SHGetKnownFolderPath(kDocuments, 0, nullptr, &path)) && path != nullptr) {
    folder = path;
  }
  CoTaskMemFree(path);
  return folder;
}

}  // namespace

std::string RunFileDialog(HWND owner, const FileRequest& request) {
  // Room for a long path; the suggested name comes first.
  std::vector<wchar_t> file(32768, L'\0');
  const std::wstring name = Widen(request.fileName);
  if (request.save && name.size() < file.size()) std::copy(name.begin(), name.end(), file.begin());
  // The folder used last, while it is there.
  std::wstring folder = Widen(request.folder);
  const DWORD attributes =
      folder.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    folder = DocumentsFolder();
  }
  const std::wstring title = Widen(request.title);
  const bool text = request.extension.empty();
  const std::wstring extension = text ? L"txt" : Widen(request.extension);
  // Each kind as its name and its pattern.
  std::wstring filter;
  for (const std::string& kind : request.filters) {
    filter += Widen(kind) + L'\0' + Widen(FilterPattern(kind)) + L'\0';
  }
  if (filter.empty()) filter = Widen(kTextFilesFilter) + L'\0' + L"*.txt" + L'\0';

  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();  // the string's own NUL ends the list
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  ofn.lpstrTitle = title.c_str();
  ofn.lpstrDefExt = extension.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
              (request.save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
  const BOOL ok = request.save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
  if (!ok) {
    if (CommDlgExtendedError() != 0) throw Error("无法显示文件对话框。");
    return {};
  }
  return Narrow(file.data());
}

}  // namespace tk::win32
