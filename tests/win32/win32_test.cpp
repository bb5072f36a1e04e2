// What only the Windows program has: real message boxes, the clipboard, the
// list widgets' sync, UTF-16 at the edge, files by wide path, the program
// file's resources, the real timer, high-DPI layout and WinInet.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/draws_form.h"
#include "app/filter_form.h"
#include "app/main_table.h"
#include "conditions/conditions.h"
#include "core/text.h"
#include "draws/draw.h"
#include "harness_win32.h"
#include "lists/lists.h"
#include "toolkit/win32/wide.h"

namespace {

using tk::win32::HandleOf;
using tk::win32::Narrow;
using tk::win32::Widen;

class Win32 : public Behaviour {
 protected:
  Win32Harness& W() { return static_cast<Win32Harness&>(H()); }
  HWND Hwnd(std::string_view name) { return HandleOf(C(name)); }
};

// ---- message boxes ----

struct SeenBox {
  std::string caption;
  std::string text;
  bool icon = false;
};
std::vector<SeenBox>* g_boxes = nullptr;

// Reads the box as it appears and presses its OK button.
LRESULT CALLBACK CloseBoxes(int code, WPARAM w, LPARAM l) {
  if (code == HCBT_ACTIVATE && g_boxes != nullptr) {
    auto box = reinterpret_cast<HWND>(w);
    wchar_t cls[16] = {};
    GetClassNameW(box, cls, 16);
    if (std::wstring_view(cls) == L"#32770") {
      wchar_t text[256] = {};
      GetDlgItemTextW(box, 0xFFFF, text, 256);
      std::wstring shown = text;
      // Room for glyphs drawn wider than they measure, not a character.
      EXPECT_TRUE(shown.ends_with(tk::win32::kBoxPad));
      if (shown.ends_with(tk::win32::kBoxPad)) shown.pop_back();
      wchar_t caption[256] = {};
      GetWindowTextW(box, caption, 256);
      HWND icon = GetDlgItem(box, 0x0440);
      g_boxes->push_back({Narrow(caption), Narrow(shown),
                          icon != nullptr && SendMessageW(icon, STM_GETICON, 0, 0) != 0});
      PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
  }
  return CallNextHookEx(nullptr, code, w, l);
}

TEST_F(Win32, RealMessageBoxesShowTheTitleTheTextAndForErrorsAnIcon) {
  std::vector<SeenBox> boxes;
  g_boxes = &boxes;
  HHOOK hook = SetWindowsHookExW(WH_CBT, &CloseBoxes, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  Form().App().SetNoticeHook({});
  Form().App().SetErrorHook({});
  Click("btnGet");  // nothing ticked: refused with a notice
  C("btn1").OnClick = [](tk::Control&) { throw std::runtime_error("磁盘已满"); };
  Click("btn1");
  UnhookWindowsHookEx(hook);
  g_boxes = nullptr;
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].caption, "Qelmar3D彩票助手");
  EXPECT_EQ(boxes[0].text, numbers::kEmptyDigits);
  EXPECT_FALSE(boxes[0].icon);
  EXPECT_EQ(boxes[1].caption, "Qelmar3D彩票助手");
  EXPECT_EQ(boxes[1].text, "磁盘已满");
  EXPECT_TRUE(boxes[1].icon);
  // The window goes on.
  Generate(true, "1", "2", "3");
  EXPECT_EQ(Lines("mmoList"), std::vector<std::string>{"123"});
}

// ---- lists ----

class KeyHeld {
 public:
  explicit KeyHeld(int key) : key_(key) { Set(0x80); }
  ~KeyHeld() { Set(0); }

 private:
  void Set(BYTE state) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[key_] = state;
    SetKeyboardState(keys);
  }
  int key_;
};

TEST_F(Win32, CtrlASelectsTheWholeListAndCtrlCCopiesIt) {
  Generate(true, "12", "3", "45");
  HWND list = Hwnd("mmoList");
  C("mmoList").GiveFocus();
  {
    KeyHeld ctrl(VK_CONTROL);
    SendMessageW(list, WM_KEYDOWN, 'A', 1);
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(list, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 20u);  // four lines of three digits and CR LF
    SendMessageW(list, WM_KEYDOWN, 'C', 1);
  }
  ASSERT_TRUE(OpenClipboard(W().Window()));
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  std::string copied;
  if (data != nullptr) {
    copied = Narrow(static_cast<const wchar_t*>(GlobalLock(data)));
    GlobalUnlock(data);
  }
  CloseClipboard();
  EXPECT_EQ(copied, "134\r\n135\r\n234\r\n235\r\n");
}

TEST_F(Win32, AWholeGenerationReachesTheWidgetInOneSync) {
  const std::size_t before = W().app.ListSyncs();
  Click("btnAll");
  EXPECT_EQ(W().app.ListSyncs() - before, 1u);
  const std::string shown = User().ShownListText(C("mmoList"));
  EXPECT_EQ(shown.size(), 4000u);
  EXPECT_EQ(shown.substr(0, 8), "000\n001\n");
  EXPECT_EQ(SendMessageW(Hwnd("mmoList"), EM_GETLINECOUNT, 0, 0), 1001);

  // A run that removes every line pumps messages a thousand times but
  // repaints the list at most once per frame.
  Paste("edtNum", "0123456789");
  const std::size_t runStart = W().app.ListSyncs();
  Click("btnDel");
  EXPECT_TRUE(Lines("mmoList").empty());
  EXPECT_EQ(User().ShownListText(C("mmoList")), "");
  EXPECT_LT(W().app.ListSyncs() - runStart, 100u);
}

TEST_F(Win32, TheCaretAndTheScrollPositionSurviveANewListText) {
  Click("btnAll");
  auto& list = List("mmoList");
  HWND h = Hwnd("mmoList");
  User().PlaceCaret(list, list.LineStart(500));
  SendMessageW(h, EM_LINESCROLL, 0, -100);  // the caret out of sight
  const LRESULT top = SendMessageW(h, EM_GETFIRSTVISIBLELINE, 0, 0);
  ASSERT_GT(top, 300);
  AddNumbers(true, {"abc"});
  EXPECT_EQ(list.LineCount(), 1001);
  EXPECT_EQ(list.CaretOffset(), list.LineStart(500));
  EXPECT_EQ(SendMessageW(h, EM_GETFIRSTVISIBLELINE, 0, 0), top);
  Click("btn1");
  EXPECT_EQ(list.LineAt(500), "501");
}

// ---- UTF-16 at the edge ----

TEST_F(Win32, CharactersBeyondSixteenBitsAreOneCharacter) {
  auto& edit = Form().edtNum;
  Type("edtNum", "a😀b");
  EXPECT_EQ(edit.Text(), "a😀b");
  EXPECT_EQ(edit.CaretOffset(), 3);
  User().PlaceCaret(edit, 2);
  EXPECT_EQ(edit.CaretOffset(), 2);
  Type("edtNum", "中");
  EXPECT_EQ(edit.Text(), "a😀中b");
  Type("edtNum", "\b\b");
  EXPECT_EQ(edit.Text(), "ab");
  // The key handlers see whole characters too: a digit edit drops them.
  Type("edt1", "😀");
  EXPECT_EQ(Text("edt1"), "");
}

TEST(Wide, ConversionsAndOffsets) {
  const std::wstring w = Widen("a😀中");
  EXPECT_EQ(w.size(), 4u);
  EXPECT_EQ(Narrow(w), "a😀中");
  EXPECT_EQ(tk::win32::UnitsOfCodePoints(w, 2), 3);
  EXPECT_EQ(tk::win32::UnitsOfCodePoints(w, 9), 4);
  EXPECT_EQ(tk::win32::CodePointsOfUnits(w, 3), 2);
  EXPECT_EQ(tk::win32::CodePointsOfUnits(w, 2), 2);  // inside the pair
  EXPECT_EQ(tk::win32::CodePointsOfUnits(w, -1), 0);
  EXPECT_EQ(Narrow(Widen("\xff")), "\xEF\xBF\xBD");
}

// A group box's frame paints the whole box: every control in it stands
// above the frame, the topmost child at its own centre.
TEST_F(Win32, EveryControlInAGroupBoxStandsAboveTheFrame) {
  int seen = 0;
  for (tk::Control* c : Form().Controls()) {
    HWND h = HandleOf(*c);
    if (c->Def().parent.empty() || h == nullptr) continue;
    RECT r{};
    GetWindowRect(h, &r);
    POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ScreenToClient(GetParent(h), &centre);
    EXPECT_EQ(ChildWindowFromPointEx(GetParent(h), centre, CWP_SKIPINVISIBLE), h) << c->Name();
    ++seen;
  }
  EXPECT_GT(seen, 20);
}

// ---- files and the program ----

TEST(Win32Platform, FilesByChinesePath) {
  tk::win32::Win32Platform platform;
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::string folder = Narrow(temp) + "彩票助手测试\\";
  std::filesystem::remove_all(std::filesystem::path(Widen(folder)));
  std::filesystem::create_directories(std::filesystem::path(Widen(folder)));
  const std::string file = folder + "提示.dat";
  EXPECT_FALSE(platform.FilePresent(file));
  platform.WriteFileBytes(file, std::string("\xCC\xE1\xCA\xBE@#$a\r\nb\rc\n", 13));
  EXPECT_TRUE(platform.FilePresent(file));
  EXPECT_FALSE(platform.FilePresent(folder));
  EXPECT_EQ(platform.ReadTextLines(file),
            (std::vector<std::string>{"\xCC\xE1\xCA\xBE@#$a", "b", "c"}));
  platform.WriteFileBytes(file, "");
  EXPECT_TRUE(platform.ReadTextLines(file).empty());
  EXPECT_THROW(platform.WriteFileBytes(folder + "无\\x.dat", "x"), tk::Error);
  EXPECT_THROW(platform.ReadTextLines(folder + "无.dat"), tk::Error);
  std::filesystem::remove_all(std::filesystem::path(Widen(folder)));
}

TEST(Win32Platform, ProgramFolderHoldsTheRunningProgram) {
  tk::win32::Win32Platform platform;
  const std::string folder = platform.ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '\\');
  EXPECT_TRUE(platform.FilePresent(folder + "win32_tests.exe"));
  // A build folder keeps the cache and the data, and the probe of its
  // rights leaves nothing behind.
  EXPECT_EQ(platform.CacheFolder(), folder);
  EXPECT_EQ(platform.DataFolder(), folder);
  for (const auto& entry :
       std::filesystem::directory_iterator(std::filesystem::path(Widen(folder)))) {
    EXPECT_EQ(entry.path().filename().wstring().rfind(L"~qelmar3d-", 0), std::wstring::npos);
  }
}

TEST(Win32Platform, DataBesideAnUnpackedProgramElseInTheUsersAppData) {
  using tk::win32::Win32Platform;
  const std::vector<std::string> programFiles{"C:\\Program Files", "C:\\Program Files (x86)\\", ""};
  const std::string appData = "C:\\users\\u\\AppData\\Roaming";
  const std::string own = appData + "\\Qelmar3D\\";
  for (const std::string unpacked : {"D:\\Qelmar3D-1.5.0-win64\\", "C:\\Program Files2\\q\\",
                                     "C:\\Program Files (x86)2\\", "Z:\\tmp\\彩票\\"}) {
    EXPECT_EQ(Win32Platform::ChooseDataFolder(unpacked, programFiles, false, appData), unpacked);
  }
  for (const std::string installed : {"C:\\Program Files\\Qelmar3D\\", "c:/PROGRAM FILES (x86)/q/",
                                      "\\\\?\\C:\\Program Files\\彩票\\", "C:\\Program Files\\"}) {
    EXPECT_EQ(Win32Platform::ChooseDataFolder(installed, programFiles, false, appData), own)
        << installed;
    EXPECT_EQ(Win32Platform::ChooseDataFolder(installed, programFiles, false, appData + "\\"), own);
  }
  // Elsewhere, read-only or beside the uninstaller.
  EXPECT_EQ(Win32Platform::ChooseDataFolder("D:\\q\\", programFiles, true, appData), own);
  EXPECT_EQ(Win32Platform::ChooseDataFolder("D:\\q\\", {}, true, "C:\\用户\\"),
            "C:\\用户\\Qelmar3D\\");
  // No application-data folder: no cache and no data rather than files in Program Files.
  EXPECT_EQ(
      Win32Platform::ChooseDataFolder("C:\\Program Files\\Qelmar3D\\", programFiles, false, ""),
      "");
}

// Tried for real: beside the program only when a file can be made there.
TEST(Win32Platform, DataInAppDataWhenNoFileCanBeMadeBesideTheProgram) {
  using tk::win32::Win32Platform;
  testsupport::TempFolder root;
  root.Write("file", "x");
  const std::string unpacked = root.PathOf("unpacked") + "\\";
  std::filesystem::create_directory(root.At("unpacked"));
  const std::string appData = root.PathOf("AppData\\Roaming");  // missing: made
  const std::string own = appData + "\\Qelmar3D\\";
  tk::FolderChoice choice = Win32Platform::ChooseFolder(unpacked, {}, false, appData);
  EXPECT_EQ(choice.folder, unpacked);
  EXPECT_TRUE(std::filesystem::is_empty(root.At("unpacked")));
  EXPECT_FALSE(std::filesystem::exists(root.At("AppData")));

  // A folder under a file, and under Wine /proc, where no one makes files.
  std::vector<std::string> unwritable{root.PathOf("file") + "\\bin\\"};
  const DWORD proc = GetFileAttributesW(L"Z:\\proc\\self");
  if (proc != INVALID_FILE_ATTRIBUTES && (proc & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    unwritable.emplace_back("Z:\\proc\\");
  }
  for (const std::string& program : unwritable) {
    choice = Win32Platform::ChooseFolder(program, {}, false, appData);
    EXPECT_EQ(choice.folder, own) << program;
    EXPECT_EQ(choice.notice, "");
  }
  EXPECT_TRUE(std::filesystem::is_directory(root.At("AppData\\Roaming\\Qelmar3D")));

  // Neither: none, and the notice names both.
  choice = Win32Platform::ChooseFolder(unwritable[0], {}, false, root.PathOf("file"));
  EXPECT_EQ(choice.folder, "");
  EXPECT_EQ(choice.notice, "无法在程序所在的文件夹“" + unwritable[0] + "”或用户文件夹“" +
                               root.PathOf("file") +
                               "\\Qelmar3D\\”中写入文件：本次运行的开奖号码、奖金、方案和"
                               "关闭时的列表都不会保存。");
}

std::wstring VersionString(const std::vector<char>& info, const wchar_t* name) {
  void* value = nullptr;
  UINT size = 0;
  const std::wstring key = std::wstring(L"\\StringFileInfo\\080404B0\\") + name;
  if (!VerQueryValueW(info.data(), key.c_str(), &value, &size) || size == 0) return {};
  return static_cast<const wchar_t*>(value);
}

TEST(Win32Program, CarriesItsVersionRecordAndIcon) {
  tk::win32::Win32Platform platform;
  const std::wstring exe = Widen(platform.ProgramFolder() + "..\\Qelmar3D.exe");
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> info(size);
  ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, info.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT len = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &len));
  EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(5, 1));
  EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(2013, 415));
  EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(5, 1));
  EXPECT_EQ(fixed->dwProductVersionLS, 0u);
  EXPECT_EQ(Narrow(VersionString(info, L"FileDescription")), "Qelmar3D彩票助手");
  EXPECT_EQ(VersionString(info, L"FileVersion"), L"1.5.415.2013");
  EXPECT_EQ(VersionString(info, L"ProductVersion"), L"1.5.0.0");

  HMODULE module = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);
  EXPECT_NE(FindResourceW(module, L"MAINICON", MAKEINTRESOURCEW(14)), nullptr);  // RT_GROUP_ICON
  EXPECT_NE(FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)), nullptr);
  FreeLibrary(module);
}

// ---- the real timer and the message loop ----

TEST(Win32Loop, TheTimerTicksThroughTheMessageLoopUntilTheWindowCloses) {
  static const tk::ControlSpec controls[] = {[] {
    tk::ControlSpec t;
    t.name = "tmr";
    t.kind = tk::Kind::Timer;
    t.interval = 20;
    return t;
  }()};
  tk::FormSpec def;
  def.name = "Probe";
  def.caption = "定时器";
  def.clientWidth = 200;
  def.clientHeight = 100;
  def.fontFace = "宋体";
  def.fontHeight = 14;
  def.controls = controls;
  tk::win32::Win32Platform platform;
  tk::win32::Win32Application app(platform);
  tk::Form form(app, def);
  int ticks = 0;
  bool closed = false;
  form.OnClose = [&](tk::Control&, tk::CloseAction&) { closed = true; };
  form.Get<tk::Timer>("tmr").OnTimer = [&](tk::Control&) {
    if (++ticks == 3) PostMessageW(HandleOf(form.Window()), WM_CLOSE, 0, 0);
  };
  const auto start = std::chrono::steady_clock::now();
  app.Run(form);
  EXPECT_EQ(ticks, 3);
  EXPECT_TRUE(closed);
  EXPECT_TRUE(form.Closed());
  EXPECT_FALSE(IsWindowVisible(HandleOf(form.Window())));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

// ---- high DPI ----

TEST(Win32Dpi, TheLayoutScalesWithTheScreenDensity) {
  Win32Harness h(144);
  HWND button = HandleOf(h.form.btnDel);
  RECT r{};
  GetClientRect(button, &r);
  EXPECT_EQ(r.right, 170);  // 113 at 96 dpi
  EXPECT_EQ(r.bottom, 38);  // 25
  LOGFONTW lf{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(HandleOf(h.form.mmoList), WM_GETFONT, 0, 0)),
             sizeof lf, &lf);
  EXPECT_EQ(lf.lfHeight, -32);  // 21 pixels at 96 dpi, asked as character height
  RECT client{};
  GetClientRect(h.Window(), &client);
  EXPECT_EQ(client.right, 1176);
  const auto look = h.LookOf(h.form.btnDel);
  ASSERT_TRUE(look);
  EXPECT_EQ(look->rect.left, 336);
  EXPECT_EQ(look->rect.width, 113);
}

// ---- WinInet ----

TEST(Win32Http, AClosedPortGivesNothingAtOnce) {
  tk::win32::Win32Platform platform;
  tk::HttpRequest request;
  request.url = "http://127.0.0.1:1/tips.asp";
  request.userAgent = "URLCheck";
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(platform.HttpGet(request), "");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

// ---- every label whole at every density ----

// Pixels of a drawing that differ from its background.
int InkOf(HDC dc, int width, int height, COLORREF background) {
  int pixels = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) pixels += GetPixel(dc, x, y) != background ? 1 : 0;
  }
  return pixels;
}

struct LabelFit {
  std::string name;
  SIZE text{};    // the text on one line in the control's font
  int lines = 0;  // as the control breaks it at its width
  RECT client{};
  int pixels = 0;  // the character height its font asks for
  int shown = 0;   // ink the control paints
  int whole = 0;   // ink of the same text unclipped
  // Of as many equal columns of the label as its text has characters, those
  // where the control paints ink.
  int columns = 0;
  int inkedColumns = 0;
  // Ink of the last and the next-to-last character's share of the label.
  int lastShare = 0;
  int shareBefore = 0;
};

LabelFit FitOf(tk::Control& label) {
  LabelFit fit;
  fit.name = label.Name();
  HWND h = HandleOf(label);
  GetClientRect(h, &fit.client);
  const std::wstring text = Widen(label.Text());
  HDC screen = GetDC(h);
  HDC dc = CreateCompatibleDC(screen);
  const int width = 2 * fit.client.right + 40;  // room for a text too wide
  const int height = fit.client.bottom + 40;
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(h, WM_GETFONT, 0, 0)));
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &fit.text);
  LOGFONTW lf{};
  GetObjectW(GetCurrentObject(dc, OBJ_FONT), sizeof lf, &lf);
  fit.pixels = -lf.lfHeight;
  RECT wrapped{0, 0, fit.client.right, 0};
  const int lineHeight = DrawTextW(dc, L"国", 1, &wrapped, DT_CALCRECT | DT_NOPREFIX);
  wrapped = {0, 0, fit.client.right, 0};
  fit.lines = DrawTextW(dc, text.c_str(), -1, &wrapped, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX) /
              std::max(lineHeight, 1);

  // The colours the label paints with, from its parent.
  auto brush = reinterpret_cast<HBRUSH>(SendMessageW(
      GetParent(h), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(h)));
  RECT all{0, 0, width, height};
  FillRect(dc, &all, brush);
  const COLORREF background = GetPixel(dc, 0, 0);
  RECT at{20, 20, width, height};
  DrawTextW(dc, text.c_str(), -1, &at, DT_SINGLELINE | DT_NOPREFIX);
  fit.whole = InkOf(dc, width, height, background);

  FillRect(dc, &all, brush);
  SendMessageW(h, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
  fit.shown = InkOf(dc, fit.client.right, fit.client.bottom, background);
  fit.columns = static_cast<int>(text.size());
  for (int i = 0; i < fit.columns; ++i) {
    const int from = fit.client.right * i / fit.columns;
    const int to = fit.client.right * (i + 1) / fit.columns;
    bool inked = false;
    for (int y = 0; y < fit.client.bottom && !inked; ++y) {
      for (int x = from; x < to && !inked; ++x) inked = GetPixel(dc, x, y) != background;
    }
    fit.inkedColumns += inked ? 1 : 0;
  }
  if (fit.columns >= 2) {
    auto inkBetween = [&](int from, int to) {
      int pixels = 0;
      for (int y = 0; y < fit.client.bottom; ++y) {
        for (int x = from; x < to; ++x) pixels += GetPixel(dc, x, y) != background ? 1 : 0;
      }
      return pixels;
    };
    const int n = fit.columns;
    fit.shareBefore = inkBetween(fit.client.right * (n - 2) / n, fit.client.right * (n - 1) / n);
    fit.lastShare = inkBetween(fit.client.right * (n - 1) / n, fit.client.right);
  }

  SelectObject(dc, oldFont);
  SelectObject(dc, oldBitmap);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(h, screen);
  return fit;
}

// Every label of the main window at the harness's density (0: the screen's).
void ExpectLabelsWhole(int asked) {
  {
    Win32Harness h(asked);
    const int dpi = h.app.Dpi();
    SCOPED_TRACE(dpi);
    // The widest texts the labels carry.
    h.form.lblTips.SetCaption("温馨提示：理性投注，量力而行 >>");
    // Counts up to the list limit: narrower than their faces, not under btn1.
    h.form.lblCount.SetCaption("100000");
    h.form.lblDelCnt.SetCaption("100999");
    h.app.FlushViews();
    for (tk::Control* c : h.form.Controls()) {
      if (c->GetKind() != tk::Kind::Label) continue;
      const LabelFit f = FitOf(*c);
      std::printf("%3d dpi %-9s %2d px, text %3ldx%2ld in %3ldx%2ld, ink %4d of %4d\n", dpi,
                  f.name.c_str(), f.pixels, f.text.cx, f.text.cy, f.client.right, f.client.bottom,
                  f.shown, f.whole);
      EXPECT_GT(f.whole, 0) << f.name;
      if (c->Def().autoSize && f.text.cx > f.client.right) {
        // Drawn narrower: every digit inks its share of the label.
        EXPECT_EQ(f.inkedColumns, f.columns) << f.name;
        // Digits share one advance: the last 9 of "100999" inks as much as
        // the one before it, not the "(" that a clipped glyph leaves.
        if (f.name == "lblDelCnt") {
          EXPECT_GE(f.lastShare * 4, f.shareBefore * 3) << f.name;
        }
        EXPECT_GE(f.shown * 2, f.whole) << f.name;
      } else {
        EXPECT_LE(f.text.cx, f.client.right) << f.name;
        EXPECT_EQ(f.lines, 1) << f.name;
        EXPECT_EQ(f.shown, f.whole) << f.name << ": glyphs or underline cut off";
      }
      // A label that grew for its text still keeps clear of its neighbours.
      RECT mine{};
      GetWindowRect(HandleOf(*c), &mine);
      for (tk::Control* other : h.form.Controls()) {
        if (other == c || other->Def().parent != c->Def().parent || HandleOf(*other) == nullptr) {
          continue;
        }
        RECT theirs{};
        RECT both{};
        GetWindowRect(HandleOf(*other), &theirs);
        EXPECT_FALSE(IntersectRect(&both, &mine, &theirs)) << f.name << " and " << other->Name();
      }
    }
  }
}

TEST(Win32Dpi, EveryLabelShowsItsWholeTextOnOneLineAtEveryDensity) {
  for (int dpi : {96, 120, 144, 192}) ExpectLabelsWhole(dpi);
}

// Run by ctest with Wine's LogPixels at 96, 120, 144 and 192 (at_dpi.cmake):
// the system's fonts and metrics at that density too.
TEST(Win32SystemDpi, EveryLabelShowsItsWholeText) {
  ExpectLabelsWhole(0);
}

// Tooltips and message boxes draw in the system's fonts, in a box as wide as
// the text they hold measures: every hint of the windows, and notices dense
// with digits and blanks, ink within that box at the system's density.
TEST(Win32SystemDpi, HintsAndNoticesDrawWithinTheirBoxes) {
  Win32Harness h;
  std::vector<std::string> hints;
  auto collect = [&](tk::Form& form) {
    for (tk::Control* c : form.Controls()) {
      if (!c->Hint().empty()) hints.push_back(c->Hint());
    }
  };
  h.form.lblTips.SetHint("温馨提示：理性投注，量力而行");
  collect(h.form);
  h.form.mniDrawsClick(h.form.mmoList);
  ASSERT_NE(h.form.FormDraws, nullptr);
  collect(*h.form.FormDraws);
  h.form.FormDraws->Close();
  h.driver.Click(h.form.btnAll);
  h.driver.Post([&] {
    collect(*h.form.FormFilter);
    h.form.FormFilter->Close();
  });
  h.form.mniFilterClick(h.form.mmoList);
  ASSERT_GT(hints.size(), 20u);

  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
  auto expectWithin = [](const LOGFONTW& face, const std::vector<std::string>& texts) {
    HFONT font = CreateFontIndirectW(&face);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    for (const std::string& text : texts) {
      const std::wstring held = tk::win32::BoxText(text);
      SIZE box{};
      GetTextExtentPoint32W(dc, held.c_str(), static_cast<int>(held.size()), &box);
      EXPECT_LE(DrawnWidth(font, text), box.cx) << text;
    }
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
  };
  expectWithin(metrics.lfStatusFont, hints);
  expectWithin(
      metrics.lfMessageFont,
      {"期号应为 " + numbers::IssueForm() + "，未添加。", numbers::ToleranceInvalidText(17),
       std::string(numbers::kPosInvalid), "质数 1 2 3 5 7，合数 0 4 6 8 9"});
}

TEST(Win32Dpi, TheWindowOpensWhollyOnTheWorkArea) {
  for (int dpi : {96, 120, 144, 192}) {
    SCOPED_TRACE(dpi);
    Win32Harness h(dpi);
    RECT outer{};
    GetWindowRect(h.Window(), &outer);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(h.Window(), MONITOR_DEFAULTTONEAREST), &info));
    const RECT work = info.rcWork;
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    std::printf("%3d dpi: window %dx%d at %ld,%ld on a work area %ldx%ld at %ld,%ld\n", dpi, width,
                height, outer.left, outer.top, work.right - work.left, work.bottom - work.top,
                work.left, work.top);
    // The designed place, moved up and left just as far as the screen needs.
    const int left = MulDiv(335, dpi, 96);
    const int top = MulDiv(130, dpi, 96);
    EXPECT_EQ(outer.left, std::max<int>(std::min<int>(left, work.right - width), work.left));
    EXPECT_EQ(outer.top, std::max<int>(std::min<int>(top, work.bottom - height), work.top));
    if (dpi == 96) {
      EXPECT_EQ(outer.left, 335);  // the screen has room
      EXPECT_EQ(outer.top, 130);
    }
  }
}

// ---- the focus and the keyboard ----

// A Space as the keyboard sends it, to whichever control has the focus,
// handled by the message loop.
void PressSpace(tk::win32::Win32Application& app) {
  INPUT keys[2] = {};
  for (INPUT& k : keys) {
    k.type = INPUT_KEYBOARD;
    k.ki.wVk = VK_SPACE;
    k.ki.wScan = static_cast<WORD>(MapVirtualKeyW(VK_SPACE, MAPVK_VK_TO_VSC));
  }
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ASSERT_EQ(SendInput(2, keys, sizeof(INPUT)), 2u);
  for (int i = 0; i < 200 && (i < 5 || HIWORD(GetQueueStatus(QS_INPUT)) != 0); ++i) {
    app.PumpMessages();
    Sleep(2);
  }
}

class Win32Keys : public Win32 {
 protected:
  // Records every button's runs, in order.
  void Watch() {
    for (tk::Control* c : Form().Controls()) {
      if (c->GetKind() != tk::Kind::Button) continue;
      auto original = c->OnClick;
      c->OnClick = [this, original](tk::Control& self) {
        ran.emplace_back(self.Name());
        if (original) original(self);
      };
    }
  }
  std::vector<std::string> ran;
};

TEST_F(Win32Keys, SpaceAfterAClickRepeatsThatButtonAndNoOther) {
  Tick(0, "12");
  Tick(1, "3");
  Tick(2, "45");
  Tick(3, "1");
  Tick(4, "3");
  Tick(5, "4");
  Paste("edtNum", "9");
  Watch();
  SetForegroundWindow(W().Window());
  for (const char* name : {"btnGet", "btnAll", "btnSel", "btnDelete", "btnDel"}) {
    SCOPED_TRACE(name);
    ran.clear();
    Click(name);
    EXPECT_EQ(GetFocus(), Hwnd(name));
    PressSpace(W().app);
    EXPECT_EQ(ran, (std::vector<std::string>{name, name}));
    EXPECT_EQ(GetFocus(), Hwnd(name));
  }
}

TEST_F(Win32Keys, SpaceDuringARunOfBtnDelDoesNothingElse) {
  Click("btnAll");
  Paste("edtNum", "0123456789");
  Watch();
  SetForegroundWindow(W().Window());
  bool pressed = false;
  User().Post([&] {
    EXPECT_FALSE(C("btnDel").Enabled());  // in the run
    PressSpace(W().app);
    pressed = true;
  });
  Click("btnDel");
  ASSERT_TRUE(pressed);
  EXPECT_EQ(ran, std::vector<std::string>{"btnDel"});
  EXPECT_TRUE(Lines("mmoList").empty());
  EXPECT_TRUE(C("btnDel").Enabled());
  EXPECT_EQ(GetFocus(), Hwnd("btnDel"));
}

}  // namespace
