// The plays window (投注方式) on every backend: opened from the bet list's
// menu, driven by clicks and keys arriving in its own loop.
#include <functional>
#include <string>
#include <vector>

#include "app/plays_form.h"
#include "app/plays_table.h"
#include "core/text.h"
#include "harness.h"

namespace {

using Numbers = std::vector<std::string>;
using Act = std::function<void()>;

class PlaysWindow : public Behaviour {
 protected:
  TFormPlays& W() { return *Form().FormPlays; }
  tk::Control& D(std::string_view name) { return W().Find(name); }
  void Tap(std::string_view name) { User().Click(D(name)); }
  std::string Shown() { return W().lblPlaysCount.Text(); }
  // Ticks boxes of the first row (号码 or 胆码, 0) or of 拖码 (1).
  void TickDigits(int row, std::string_view digits) {
    for (char d : digits) Tap(app::PlaysDigitBox(row, d - '0'));
  }
  void Retype(std::string_view text) {
    tk::Edit& e = W().edtPlaysValues;
    User().Select(e, 0, static_cast<int>(core::CharCount(e.Text())));
    if (!e.Text().empty()) User().TypeChar(e, tk::kBackspace);
    User().Type(e, text);
  }
  void ChoosePlay(plays::Play play) { User().Choose(W().cboPlay, static_cast<int>(play)); }
  bool On(std::string_view name) { return D(name).Enabled(); }

  // Opens the window (by the menu's item when `byMenu`) and runs the acts
  // as input that arrives in its loop; the last act must close it. A real
  // menu hands out posted input while it is open: the acts are posted once
  // the window is there.
  void InWindow(const std::vector<Act>& acts, bool byMenu = false) {
    TForm1& form = Form();
    bool done = false;
    int waits = 0;
    std::function<void()> start = [&] {
      if (form.FormPlays == nullptr) {
        if (++waits < 100000) {
          User().Post(start);
        } else {
          ADD_FAILURE() << "the plays window did not open";
          done = true;
        }
        return;
      }
      for (const Act& a : acts) {
        User().Post([&form, a] {
          if (form.FormPlays == nullptr) {
            ADD_FAILURE() << "the plays window is not open";
            return;
          }
          a();
        });
      }
      User().Post([&] {
        if (form.FormPlays != nullptr && !form.FormPlays->Closed()) {
          ADD_FAILURE() << "the plays window is still open";
          form.FormPlays->Close();
        }
        done = true;
      });
    };
    User().Post([&] {
      User().Post(start);
      if (byMenu) {
        User().UseContextMenu(form.mmoList, tk::UserDriver::MenuKey::RightClick, U'P');
      } else {
        form.mniPlaysClick(form.mmoList);
      }
    });
    for (int i = 0; i < 100 && !done; ++i) H().App().PumpMessages();
    EXPECT_TRUE(done);
    EXPECT_EQ(form.FormPlays, nullptr);
    EXPECT_TRUE(Rec().errors.empty()) << Rec().errors.front();
  }
  tk::History& History() { return Form().ListHistory(); }
};

using plays::Play;

TEST_F(PlaysWindow, TheCountFollowsEveryKeyAndBoxAndClosingChangesNothing) {
  Click("btnAll");
  InWindow({[&] {
             EXPECT_EQ(W().Window().Text(), "投注方式");
             EXPECT_EQ(W().cboPlay.Items().size(), 9u);
             EXPECT_EQ(W().cboPlay.Text(), "直选和值");
             // Only the edit is on for a sum.
             EXPECT_TRUE(W().edtPlaysValues.Enabled());
             EXPECT_FALSE(On(app::PlaysDigitBox(0, 0)));
             EXPECT_FALSE(On(app::PlaysDigitBox(1, 9)));
             EXPECT_EQ(Shown(), "和值应为 0–27 之间的数，如 13 或 10-14,18");
             User().Type(W().edtPlaysValues, "1");
             EXPECT_EQ(Shown(), "共 3 注，金额 6 元");
             User().Type(W().edtPlaysValues, "3");
             EXPECT_EQ(Shown(), "共 75 注，金额 150 元");
             User().Type(W().edtPlaysValues, "-");
             EXPECT_EQ(Shown(), "和值应为 0–27 之间的数，如 13 或 10-14,18");
             User().Type(W().edtPlaysValues, "14");
             EXPECT_EQ(Shown(), "共 150 注，金额 300 元");  // 75 + 75
             // 跨度 has values of its own; 和值 keeps its text.
             ChoosePlay(Play::kDirectSpan);
             EXPECT_EQ(D("lblPlaysValues").Text(), "跨度");
             EXPECT_EQ(W().edtPlaysValues.Text(), "");
             Retype("0");
             EXPECT_EQ(Shown(), "共 10 注，金额 20 元");
             ChoosePlay(Play::kDirectSum);
             EXPECT_EQ(W().edtPlaysValues.Text(), "13-14");
             // Digits: the edit goes off, the first row on.
             ChoosePlay(Play::kZu6);
             EXPECT_FALSE(W().edtPlaysValues.Enabled());
             EXPECT_TRUE(On(app::PlaysDigitBox(0, 0)));
             EXPECT_FALSE(On(app::PlaysDigitBox(1, 0)));
             EXPECT_EQ(D("lblPlaysFirst").Text(), "号码");
             EXPECT_EQ(Shown(), "组六复式至少选 3 个号码，如 12345");
             TickDigits(0, "12");
             EXPECT_EQ(Shown(), "组六复式至少选 3 个号码，如 12345");
             TickDigits(0, "345");
             EXPECT_EQ(Shown(), "共 10 注，金额 20 元");
             // 胆拖: the first row is 胆码, 拖码 comes on.
             ChoosePlay(Play::kZu6DanTuo);
             EXPECT_EQ(D("lblPlaysFirst").Text(), "胆码");
             EXPECT_TRUE(On(app::PlaysDigitBox(1, 0)));
             EXPECT_EQ(Shown(), "组六胆拖的胆码应选 1 或 2 个号码，如 胆码 1、拖码 2345");
             TickDigits(0, "345");
             EXPECT_EQ(Shown(), "组六胆拖选 2 个胆码时至少选 1 个拖码，如 胆码 12、拖码 345");
             TickDigits(1, "345");
             EXPECT_EQ(Shown(), "共 3 注，金额 6 元");
             TickDigits(1, "1");
             EXPECT_EQ(Shown(), "一个号码不能既是胆码又是拖码，如 胆码 1、拖码 2345");
             Tap("btnPlaysCancel");
           }},
           true);
  EXPECT_EQ(Lines("mmoList").size(), 1000u);
  EXPECT_EQ(History().UndoName(Form().mmoList), "生成所有号码");

  // Opened again it shows what it had; the close box (as Escape) changes nothing.
  InWindow({[&] {
    EXPECT_EQ(W().cboPlay.Text(), "组六胆拖");
    EXPECT_TRUE(W().Get<tk::CheckBox>(app::PlaysDigitBox(0, 2)).Checked());
    EXPECT_TRUE(W().Get<tk::CheckBox>(app::PlaysDigitBox(1, 1)).Checked());
    EXPECT_EQ(Shown(), "一个号码不能既是胆码又是拖码，如 胆码 1、拖码 2345");
    ChoosePlay(Play::kDirectSum);
    EXPECT_EQ(W().edtPlaysValues.Text(), "13-14");
    User().CloseWindow(W());
  }});
  EXPECT_EQ(Lines("mmoList").size(), 1000u);
  EXPECT_EQ(Form().PlaysChoice.play, Play::kDirectSum);
  EXPECT_TRUE(Rec().notices.empty());
}

TEST_F(PlaysWindow, ReplacingIsOneStepThatUndoBringsBack) {
  Click("btnAll");
  InWindow({[&] {
    Retype("13");
    Tap("btnPlaysReplace");
  }});
  const Numbers made = Lines("mmoList");
  ASSERT_EQ(made.size(), 75u);
  EXPECT_EQ(made.front(), "049");
  EXPECT_EQ(made.back(), "940");
  EXPECT_EQ(Text("lblCount"), "75");
  EXPECT_EQ(C("lblCount").Hint(), "共 75 注，金额 150 元");
  EXPECT_EQ(Form().BetListKind(), core::BetKind::kDirect);
  EXPECT_EQ(History().UndoName(Form().mmoList), "按玩法生成");
  Form().mniUndoClick(Form().mmoList);
  EXPECT_EQ(Lines("mmoList").size(), 1000u);
  Form().mniRedoClick(Form().mmoList);
  EXPECT_EQ(Lines("mmoList"), made);
  EXPECT_TRUE(Rec().notices.empty());
}

TEST_F(PlaysWindow, GroupPlaysMarkTheListAndTheKindsDoNotMix) {
  AddNumbers(true, {"123"});
  InWindow({[&] {
    ChoosePlay(Play::kZu3);
    TickDigits(0, "12");
    EXPECT_EQ(Shown(), "共 2 注，金额 4 元");
    // A 直选 list takes no 组选 lines by adding; the window stays.
    Tap("btnPlaysAdd");
    ASSERT_EQ(Rec().notices.size(), 1u);
    EXPECT_EQ(Rec().notices[0],
              "投注列表中是直选号码，不能添加组选号码；请用“替换投注列表”，或先清空列表。");
    EXPECT_FALSE(W().Closed());
    EXPECT_EQ(Lines("mmoList"), Numbers{"123"});
    Tap("btnPlaysReplace");
  }});
  EXPECT_EQ(Lines("mmoList"), (Numbers{"112", "122"}));
  EXPECT_EQ(Form().BetListKind(), core::BetKind::kGroup);
  EXPECT_EQ(C("lblCount").Hint(), "组选 共 2 注：组三 2 注，组六 0 注，已去掉豹子 0 个，金额 4 元");

  // 直选 lines are refused in turn; 组选 ones join, the listed ones skipped.
  Rec().Clear();
  InWindow({[&] {
    ChoosePlay(Play::kDirectCombo);
    TickDigits(0, "3");
    EXPECT_EQ(Shown(), "共 6 注，金额 12 元");
    Tap("btnPlaysAdd");
    ASSERT_EQ(Rec().notices.size(), 1u);
    EXPECT_EQ(Rec().notices[0],
              "投注列表中是组选号码，不能添加直选号码；请用“替换投注列表”，或先清空列表。");
    ChoosePlay(Play::kGroupPack);
    EXPECT_EQ(Shown(), "共 7 注，金额 14 元");
    Tap("btnPlaysAdd");
  }});
  EXPECT_EQ(Lines("mmoList"), (Numbers{"112", "122", "113", "123", "133", "223", "233"}));
  ASSERT_EQ(Rec().notices.size(), 2u);
  EXPECT_EQ(Rec().notices[1], "已跳过 2 注重复号码");
  EXPECT_EQ(Form().BetListKind(), core::BetKind::kGroup);

  // Each run is its own step.
  Form().mniUndoClick(Form().mmoList);
  EXPECT_EQ(Lines("mmoList"), (Numbers{"112", "122"}));
  Form().mniUndoClick(Form().mmoList);
  EXPECT_EQ(Lines("mmoList"), Numbers{"123"});
  EXPECT_EQ(Form().BetListKind(), core::BetKind::kDirect);
}

TEST_F(PlaysWindow, BadInputIsRefusedByNameBeforeAnythingChanges) {
  AddNumbers(true, {"555"});
  InWindow({[&] {
    Retype("28");
    const std::string why = Shown();
    EXPECT_EQ(why, "和值应为 0–27 之间的数，如 13 或 10-14,18");
    Tap("btnPlaysReplace");
    Tap("btnPlaysAdd");
    EXPECT_EQ(Rec().notices, (std::vector<std::string>{why, why}));
    ChoosePlay(Play::kZu3DanTuo);
    TickDigits(0, "1");
    TickDigits(1, "12");
    Tap("btnPlaysReplace");
    EXPECT_EQ(Rec().notices.back(), "一个号码不能既是胆码又是拖码，如 胆码 1、拖码 2345");
    EXPECT_FALSE(W().Closed());
    // Made right, the same window adds; nothing repeated, nothing said.
    TickDigits(1, "1");
    ChoosePlay(Play::kDirectSum);
    Retype("15");
    Tap("btnPlaysAdd");
  }});
  const Numbers lines = Lines("mmoList");
  ASSERT_EQ(lines.size(), 1u + 73u - 1u);  // 555 was listed
  EXPECT_EQ(lines.front(), "555");
  EXPECT_EQ(Rec().notices.size(), 4u);
  EXPECT_EQ(Rec().notices.back(), "已跳过 1 注重复号码");
}

}  // namespace
