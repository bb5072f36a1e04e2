// The conditions window on native controls: the keys and clicks Windows
// sends, the dialog manager's Tab and Escape, an owner that takes no input.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../behaviour/filter_window.h"
#include "harness_win32.h"
#include "toolkit/win32/wide.h"

namespace {

using tk::win32::HandleOf;

class Win32Filter : public FilterWindow {
 protected:
  Win32Harness& Wh() { return static_cast<Win32Harness&>(H()); }
  HWND Dh(std::string_view name) { return HandleOf(D(name)); }
  // A key press as the message loop hands it out (dialog keys first).
  void Key(WPARAM vk) {
    for (UINT message : {WM_KEYDOWN, WM_KEYUP}) {
      MSG msg{};
      msg.hwnd = GetFocus();
      msg.message = message;
      msg.wParam = vk;
      msg.lParam = message == WM_KEYDOWN ? 0x00000001 : 0xC0000001;
      Wh().app.Dispatch(msg);
    }
  }
  std::string Focus() {
    for (tk::Control* c : W().Controls()) {
      if (HandleOf(*c) == GetFocus()) return std::string(c->Name());
    }
    return "?";
  }
  std::vector<std::string> TabChain() {
    std::vector<std::string> names{Focus()};
    for (int i = 0; i < 120; ++i) {
      Key(VK_TAB);
      if (Focus() == names.front()) break;
      names.push_back(Focus());
    }
    return names;
  }
};

TEST_F(Win32Filter, KeysAndClicksDriveTheModalWindow) {
  Click("btnAll");
  HWND main = Wh().Window();
  InWindow({[&] {
    HWND dialog = HandleOf(W().Window());
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), main);
    EXPECT_FALSE(IsWindowEnabled(main));
    const LONG style = GetWindowLongW(dialog, GWL_STYLE);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX), 0);
    EXPECT_NE(style & WS_SYSMENU, 0);
    RECT client{};
    GetClientRect(dialog, &client);
    EXPECT_EQ(Wh().app.Unscale(client.right), 912);
    EXPECT_EQ(Wh().app.Unscale(client.bottom), 448);
    RECT of{};
    RECT df{};
    GetWindowRect(main, &of);
    GetWindowRect(dialog, &df);
    EXPECT_NEAR((df.left + df.right) / 2, (of.left + of.right) / 2, 1);
    EXPECT_NEAR((df.top + df.bottom) / 2, (of.top + of.bottom) / 2, 1);
    EXPECT_EQ(W().Window().Text(), "条件过滤");

    EXPECT_EQ(Focus(), "chkSum");
    const std::vector<std::string> want = TableTabChain(W());
    EXPECT_EQ(std::vector<std::string>(want.end() - 2, want.end()),
              (std::vector<std::string>{"rdoKeep", "btnFilterCancel"}));
    EXPECT_EQ(TabChain(), want);

    ASSERT_EQ(Focus(), "chkSum");
    Key(VK_SPACE);
    EXPECT_TRUE(W().Get<tk::CheckBox>("chkSum").Checked());
    Key(VK_TAB);
    ASSERT_EQ(Focus(), "edtSum");
    User().Type(D("edtSum"), "13");
    EXPECT_EQ(W().lblFilterCount.Text(), "投注列表 1000 注，符合条件 75 注，将删除 925 注");
    // Arrows move within a group of options, and select.
    SetFocus(Dh("rdoDanAny"));
    Key(VK_DOWN);
    EXPECT_EQ(Focus(), "rdoDanAll");
    EXPECT_TRUE(W().Get<tk::CheckBox>("rdoDanAll").Checked());
    Key(VK_DOWN);
    EXPECT_EQ(Focus(), "rdoDanAny");
    EXPECT_TRUE(W().Get<tk::CheckBox>("rdoDanAny").Checked());
    EXPECT_TRUE(W().Get<tk::CheckBox>("rdoKeep").Checked());
    SendMessageW(Dh("rdoDrop"), BM_CLICK, 0, 0);
    EXPECT_TRUE(W().Get<tk::CheckBox>("rdoDrop").Checked());
    EXPECT_FALSE(W().Get<tk::CheckBox>("rdoKeep").Checked());
    EXPECT_EQ(W().lblFilterCount.Text(), "投注列表 1000 注，符合条件 75 注，将删除 75 注");
    // The label shows what the control holds.
    Wh().app.FlushViews();
    wchar_t shown[128] = {};
    GetWindowTextW(Dh("lblFilterCount"), shown, 128);
    EXPECT_EQ(tk::win32::Narrow(shown), W().lblFilterCount.Text());
    Key(VK_ESCAPE);
  }});
  EXPECT_TRUE(IsWindowEnabled(main));
  EXPECT_EQ(Lines("mmoList").size(), 1000u);

  InWindow({[&] {
    EXPECT_EQ(D("edtSum").Text(), "13");
    const std::vector<std::string> want = TableTabChain(W());
    EXPECT_EQ(std::vector<std::string>(want.end() - 4, want.end()),
              (std::vector<std::string>{"rdoDrop", "btnFilterDelete", "btnFilterToDel",
                                        "btnFilterCancel"}));
    EXPECT_EQ(TabChain(), want);
    // The close box.
    SendMessageW(HandleOf(W().Window()), WM_SYSCOMMAND, SC_CLOSE, 0);
  }});
  EXPECT_EQ(Lines("mmoList").size(), 1000u);
  InWindow({[&] { SendMessageW(Dh("btnFilterDelete"), BM_CLICK, 0, 0); }});
  EXPECT_EQ(Lines("mmoList").size(), 925u);
  EXPECT_EQ(Text("lblCount"), "925");
}

}  // namespace
