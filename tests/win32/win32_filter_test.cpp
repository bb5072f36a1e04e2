// The conditions window on native controls: the keys and clicks Windows
// sends, the dialog manager's Tab and Escape, an owner that takes no input.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "../behaviour/filter_window.h"
#include "conditions/conditions.h"
#include "draws/draws.h"
#include "harness_win32.h"
#include "toolkit/ask_text.h"
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
  std::string Focus() { return FocusIn(W()); }
  static std::string FocusIn(const tk::Form& form) {
    for (tk::Control* c : form.Controls()) {
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
    EXPECT_EQ(Wh().app.Unscale(client.right), 894);
    EXPECT_EQ(Wh().app.Unscale(client.bottom), 446);
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

TEST_F(Win32Filter, TheNewControlsTakeKeysAndClicks) {
  Click("btnAll");
  auto ticked = [&](std::string_view name) { return W().Get<tk::CheckBox>(name).Checked(); };
  auto shown = [&] {
    Wh().app.FlushViews();
    wchar_t text[256] = {};
    GetWindowTextW(Dh("lblFilterCount"), text, 256);
    return tk::win32::Narrow(text);
  };
  auto space = [&](std::string_view name) {
    SetFocus(Dh(name));
    Key(VK_SPACE);
  };
  // The name dialog by keys: typed, Tab to 确定, Space.
  auto keyAnswer = [&](std::string_view name) {
    return [this, name] {
      tk::Form& ask = *tk::ShownTextDialog();
      HWND dialog = HandleOf(ask.Window());
      EXPECT_EQ(GetWindow(dialog, GW_OWNER), HandleOf(W().Window()));
      EXPECT_FALSE(IsWindowEnabled(HandleOf(W().Window())));
      EXPECT_EQ(ask.Window().Text(), "保存方案");
      ASSERT_EQ(FocusIn(ask), "edtAskText");
      User().Type(ask.Find(tk::kAskTextEdit), name);
      Key(VK_TAB);
      ASSERT_EQ(FocusIn(ask), "btnAskOk");
      Key(VK_SPACE);
    };
  };
  InWindow({[&] {
    // Typing ticks the condition; Tab walks the three 定位 edits.
    SetFocus(Dh("edtPosH"));
    User().Type(D("edtPosH"), "12");
    EXPECT_TRUE(ticked("chkPos"));
    Key(VK_TAB);
    Key(VK_TAB);
    ASSERT_EQ(Focus(), "edtPosU");
    User().Type(D("edtPosU"), "3");
    EXPECT_EQ(shown(), "投注列表 1000 注，符合条件 20 注，将删除 980 注");
    // A click on one of a condition's boxes ticks it.
    SendMessageW(Dh("chkRunFull"), BM_CLICK, 0, 0);
    EXPECT_TRUE(ticked("chkRun"));
    EXPECT_EQ(shown(), "投注列表 1000 注，符合条件 3 注，将删除 997 注");  // 123 213 243
    SetFocus(Dh("edtTolerance"));
    User().Type(D("edtTolerance"), "1");
    const std::string both = "投注列表 1000 注：全中 3 注，错一 62 注；将删除 935 注";
    EXPECT_EQ(shown(), both);

    // 保存方案… by keys, then another by the mouse; the list by keys.
    Answering({keyAnswer("顺子")}, [&] { space("btnSchemeSave"); });
    EXPECT_TRUE(IsWindowEnabled(HandleOf(W().Window())));
    EXPECT_EQ(W().cboScheme.Text(), "顺子");
    SendMessageW(Dh("chkPos"), BM_CLICK, 0, 0);
    SendMessageW(Dh("chkRun"), BM_CLICK, 0, 0);
    Answering({[&] { Answer(User(), "全部"); }},
              [&] { SendMessageW(Dh("btnSchemeSave"), BM_CLICK, 0, 0); });
    EXPECT_EQ(W().cboScheme.Items(), (std::vector<std::string>{"全部", "顺子"}));
    EXPECT_EQ(shown(), "投注列表 1000 注，符合条件 1000 注，将删除 0 注");
    SetFocus(Dh("cboScheme"));
    Key(VK_DOWN);
    EXPECT_EQ(W().cboScheme.Text(), "顺子");
    EXPECT_TRUE(ticked("chkPos"));
    EXPECT_EQ(D("edtPosU").Text(), "3");
    EXPECT_EQ(shown(), both);
    Key(VK_UP);
    EXPECT_FALSE(ticked("chkPos"));

    // 删除方案 by the mouse, asked first; the name dialog closed by Escape.
    Rec().answers = {true};
    SendMessageW(Dh("btnSchemeDelete"), BM_CLICK, 0, 0);
    EXPECT_EQ(Rec().questions, std::vector<std::string>{"要删除方案“全部”吗？"});
    EXPECT_EQ(W().cboScheme.Items(), std::vector<std::string>{"顺子"});
    Answering({[&] { Key(VK_ESCAPE); }}, [&] { space("btnSchemeSave"); });
    EXPECT_EQ(W().cboScheme.Items(), std::vector<std::string>{"顺子"});
    // A name typed and Enter: saved.
    Answering({[&] {
                User().Type(tk::ShownTextDialog()->Find(tk::kAskTextEdit), "每日");
                Key(VK_RETURN);
                if (!tk::ShownTextDialog()->Closed()) {
                  ADD_FAILURE() << "Enter left the name dialog open";
                  Cancel(User());
                }
              }},
              [&] { space("btnSchemeSave"); });
    EXPECT_EQ(W().cboScheme.Items(), (std::vector<std::string>{"每日", "顺子"}));
    EXPECT_TRUE(IsWindowEnabled(HandleOf(W().Window())));
    Key(VK_ESCAPE);
  }});
  EXPECT_EQ(Lines("mmoList").size(), 1000u);
  EXPECT_TRUE(Rec().notices.empty());
}

// Every text of the window and of the name dialog whole at 96 to 192 dpi: a
// box's indicator and caption, a button's caption, the list's items; labels
// (which widen to their text) clear of their neighbours.
void ExpectWhole(tk::Form& form, tk::win32::Win32Application& app) {
  for (tk::Control* c : form.Controls()) {
    HWND h = HandleOf(*c);
    if (h == nullptr) continue;
    const auto font = reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0));
    auto width = [&](const std::string& text) { return DrawnWidth(font, text); };
    RECT r{};
    GetClientRect(h, &r);
    SCOPED_TRACE(std::string(c->Name()) + " \"" + c->Text() + "\"");
    switch (c->GetKind()) {
      case tk::Kind::CheckBox:
      case tk::Kind::Radio:
        EXPECT_LE(width(c->Text()) + app.Scale(17), r.right);
        break;
      case tk::Kind::Button:
        EXPECT_LE(width(c->Text()) + app.Scale(8), r.right);
        break;
      case tk::Kind::GroupBox:
        EXPECT_LE(width(c->Text()) + app.Scale(16), r.right);
        break;
      case tk::Kind::ComboBox:
        for (const std::string& item : dynamic_cast<tk::ComboBox&>(*c).Items()) {
          EXPECT_LE(width(item) + app.Scale(24), r.right);
        }
        break;
      case tk::Kind::Label: {
        EXPECT_LE(width(c->Text()), r.right);
        RECT mine{};
        GetWindowRect(h, &mine);
        for (tk::Control* other : form.Controls()) {
          if (other == c || other->Def().parent != c->Def().parent || HandleOf(*other) == nullptr)
            continue;
          RECT theirs{};
          RECT both{};
          GetWindowRect(HandleOf(*other), &theirs);
          EXPECT_FALSE(IntersectRect(&both, &mine, &theirs)) << "and " << other->Name();
        }
        break;
      }
      default:
        break;
    }
  }
}

TEST_F(Win32Filter, EveryTextShowsWholeAtEveryDensity) {
  for (int dpi : {96, 120, 144, 192}) {
    SCOPED_TRACE(dpi);
    Restart([dpi] { return std::make_unique<Win32Harness>(dpi); });
    Data().Write(std::string(numbers::kDrawsFileName),
                 numbers::DrawsFileBytes({{2024001, 7, "", 357}}));
    std::filesystem::remove_all(Data().At(std::string(kSchemeFolderName)));
    Click("btnAll");
    InWindow({[&] {
      FillEveryCondition();  // the widest summary and count
      Answering({[&] { Answer(User(), "一个四十个字以内的名称足够长了吧"); }},
                [&] { Tap("btnSchemeSave"); });
      for (std::string_view text :
           {numbers::kSumInvalid, numbers::kRoadInvalid, numbers::kPosInvalid,
            numbers::kPairInvalid, numbers::kDzxInvalid, numbers::kRepeatNoDraw}) {
        W().lblFilterCount.SetText(text);
        Wh().app.FlushViews();
        ExpectWhole(W(), Wh().app);
      }
      Answering({[&] {
                  ExpectWhole(*tk::ShownTextDialog(), Wh().app);
                  Cancel(User());
                }},
                [&] { Tap("btnSchemeSave"); });
      Tap("btnFilterCancel");
    }});
  }
}
}  // namespace
