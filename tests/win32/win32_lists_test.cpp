// The lists' real menus and the real common file dialogs on Win32.
#include <windows.h>

#include <commdlg.h>
#include <shlobj.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "../support/temp_folder.h"
#include "harness_win32.h"
#include "toolkit/win32/wide.h"

namespace {

using Key = tk::UserDriver::MenuKey;
using Win32Lists = Behaviour;

constexpr int kNameEdit = 0x480;   // edt1
constexpr int kNameCombo = 0x47C;  // cmb13
constexpr int kTypeCombo = 0x470;  // cmb1

std::wstring TextOf(HWND h) {
  wchar_t buffer[512] = {};
  GetWindowTextW(h, buffer, 511);
  return buffer;
}

// Answers the next common dialog as a user does: the path typed into the
// name box, then OK.
struct DialogUser {
  static DialogUser* current;
  std::wstring path, title, suggested, type, folder;
  std::vector<std::wstring> types;  // every kind the dialog offers
  UINT_PTR timer = 0;

  explicit DialogUser(std::wstring p) : path(std::move(p)) {
    current = this;
    timer = SetTimer(nullptr, 0, 20, &Poll);
  }
  ~DialogUser() {
    KillTimer(nullptr, timer);
    current = nullptr;
  }
  DialogUser(const DialogUser&) = delete;
  DialogUser& operator=(const DialogUser&) = delete;

  static BOOL CALLBACK Find(HWND h, LPARAM out) {
    wchar_t cls[16] = {};
    GetClassNameW(h, cls, 16);
    if (std::wstring(cls) == L"#32770" && IsWindowVisible(h)) {
      *reinterpret_cast<HWND*>(out) = h;
      return FALSE;
    }
    return TRUE;
  }
  static void CALLBACK Poll(HWND, UINT, UINT_PTR, DWORD) {
    DialogUser* self = current;
    if (self == nullptr) return;
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &Find, reinterpret_cast<LPARAM>(&dialog));
    if (dialog == nullptr) return;
    KillTimer(nullptr, self->timer);
    self->title = TextOf(dialog);
    HWND name = GetDlgItem(dialog, kNameEdit);
    if (name == nullptr) name = GetDlgItem(dialog, kNameCombo);
    self->suggested = TextOf(name);
    if (HWND type = GetDlgItem(dialog, kTypeCombo)) {
      self->type = TextOf(type);
      const auto count = SendMessageW(type, CB_GETCOUNT, 0, 0);
      for (LRESULT i = 0; i < count; ++i) {
        wchar_t item[256] = {};
        if (SendMessageW(type, CB_GETLBTEXTLEN, i, 0) < 255) {
          SendMessageW(type, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
        }
        self->types.emplace_back(item);
      }
    }
    wchar_t folder[MAX_PATH] = {};
    SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder));
    self->folder = folder;
    SetWindowTextW(name, self->path.c_str());
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
  }
};
DialogUser* DialogUser::current = nullptr;

TEST_F(Win32Lists, RealMenuAndDialogsSaveAndLoadTheList) {
  H().App().SetDialogHook(nullptr);
  testsupport::TempFolder dir;
  const std::wstring path = (dir.Path() / L"投注号码.txt").wstring();
  Generate(true, "12", "3", "45");
  {
    DialogUser user(path);
    const auto shown = User().UseContextMenu(C("mmoList"), Key::RightClick, U'S');
    ASSERT_EQ(shown.size(), 23u);
    EXPECT_EQ(shown[6].text, "保存为文本文件(&S)…");
    EXPECT_EQ(user.title, L"保存为文本文件");
    EXPECT_EQ(user.suggested, L"投注号码.txt");
    EXPECT_EQ(user.type, L"文本文件 (*.txt)");
    EXPECT_EQ(user.types, (std::vector<std::wstring>{L"文本文件 (*.txt)", L"所有文件 (*.*)"}));
    wchar_t documents[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, 0, documents);
    EXPECT_EQ(user.folder, documents);
  }
  std::ifstream in(dir.Path() / L"投注号码.txt", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "134\r\n135\r\n234\r\n235\r\n");
  {
    DialogUser user(path);
    User().UseContextMenu(C("mmoDel"), Key::ShiftF10, U'O');
    EXPECT_EQ(user.title, L"从文本文件载入");
    // The folder used last.
    std::error_code ec;
    EXPECT_TRUE(std::filesystem::equivalent(user.folder, dir.Path(), ec))
        << tk::win32::Narrow(user.folder);
  }
  EXPECT_EQ(Lines("mmoDel"), Lines("mmoList"));
  EXPECT_EQ(Text("lblDelCnt"), "4");
  EXPECT_TRUE(Rec().errors.empty() && Rec().notices.empty());
}

// Ctrl+Z and Ctrl+Y as the keyboard sends them to the list that has the
// focus, handled by the message loop.
void PressCtrl(tk::win32::Win32Application& app, WORD key) {
  INPUT keys[4] = {};
  const WORD order[4] = {VK_CONTROL, key, key, VK_CONTROL};
  for (int i = 0; i < 4; ++i) {
    keys[i].type = INPUT_KEYBOARD;
    keys[i].ki.wVk = order[i];
    keys[i].ki.wScan = static_cast<WORD>(MapVirtualKeyW(order[i], MAPVK_VK_TO_VSC));
    if (i >= 2) keys[i].ki.dwFlags = KEYEVENTF_KEYUP;
  }
  ASSERT_EQ(SendInput(4, keys, sizeof(INPUT)), 4u);
  for (int i = 0; i < 200 && (i < 5 || HIWORD(GetQueueStatus(QS_INPUT)) != 0); ++i) {
    app.PumpMessages();
    Sleep(2);
  }
}

TEST_F(Win32Lists, CtrlZAndCtrlYOnAListUndoAndRedoItsSteps) {
  auto& app = static_cast<Win32Harness&>(H()).app;
  Click("btnAll");
  User().PlaceCaret(C("mmoList"), 0);
  Click("btn1");
  SetForegroundWindow(static_cast<Win32Harness&>(H()).Window());
  SetFocus(tk::win32::HandleOf(C("mmoList")));
  PressCtrl(app, 'Z');
  EXPECT_EQ(Lines("mmoList").size(), 1000u);
  EXPECT_EQ(Text("lblCount"), "1000");
  PressCtrl(app, 'Y');
  EXPECT_EQ(Lines("mmoList").size(), 999u);
  EXPECT_EQ(User().ShownListText(C("mmoList")).substr(0, 4), "001\n");
  // The real menu names the steps and takes their accelerators.
  auto shown = User().UseContextMenu(C("mmoList"), Key::RightClick, U'U');
  ASSERT_GE(shown.size(), 2u);
  EXPECT_EQ(shown[0].text, "撤销 删除一行(&U)");
  EXPECT_EQ(shown[0].shortcut, "Ctrl+Z");
  EXPECT_EQ(Lines("mmoList").size(), 1000u);
  shown = User().UseContextMenu(C("mmoList"), Key::ShiftF10, U'R');
  EXPECT_EQ(shown[1].text, "恢复 删除一行(&R)");
  EXPECT_EQ(Lines("mmoList").size(), 999u);
  // The deletion list has nothing to undo: its key changes nothing.
  SetFocus(tk::win32::HandleOf(C("mmoDel")));
  PressCtrl(app, 'Z');
  EXPECT_EQ(Lines("mmoList").size(), 999u);
  EXPECT_TRUE(Rec().errors.empty() && Rec().notices.empty());
}

}  // namespace
